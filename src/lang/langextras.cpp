#include "lang.h"

#include "form1.h"

namespace Lang
{

void langextrlow(Form1 &form, const QString &language)
{
    Q_UNUSED(form);
    Q_UNUSED(language);
}

void langabout(Form1 &form, const QString &language)
{
    Q_UNUSED(form);
    Q_UNUSED(language);
}

} // namespace Lang

#include "lang.h"

#include "../mainwindow/form1.h"

namespace Lang
{

void langmainform(Form1 &form, const QString &language)
{
    Q_UNUSED(form);
    Q_UNUSED(language);
}

} // namespace Lang

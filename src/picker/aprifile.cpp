#include "aprifile.h"

#include "form1.h"

ApriFile::ApriFile(Form1 &form) : QWidget(&form, Qt::Dialog), form(form)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

#include "about.h"

#include "form1.h"

About::About(Form1 &form) : QWidget(&form, Qt::Window), form(form)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

#include "extrlowl.h"

#include "form1.h"

ExtrlowL::ExtrlowL(Form1 &form) : QWidget(&form, Qt::Window), form(form)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

#include "../lang/lang.h"
#include "about.h"
#include "extrlowl.h"
#include "form1.h"
#include "keepinfront.h"

About &Form1::aboutWindow()
{
    return secondaryWindow(about);
}

ExtrlowL &Form1::extrlowlWindow()
{
    return secondaryWindow(extrlowL);
}

void Form1::extr1_Click()
{
    Lang::langextrlow(*this, lingua);
    KeepInFront::open(extrlowlWindow());
}

void Form1::help1_Click()
{
    Lang::langabout(*this, lingua);
    KeepInFront::open(aboutWindow());
}

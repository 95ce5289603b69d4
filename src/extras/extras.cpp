#include "extras/about.h"
#include "extras/extrlowl.h"
#include "lang/lang.h"
#include "mainwindow/form1.h"
#include "mainwindow/keepinfront.h"

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

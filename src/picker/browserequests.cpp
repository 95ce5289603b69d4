#include "aprifile.h"
#include "form1.h"

ApriFile &Form1::aprifileWindow()
{
    if (!apriFile)
        apriFile = new ApriFile(*this);
    return *apriFile;
}

void Form1::Command1_Click() {}
void Form1::Command3_Click() {}
void Form1::Command4_Click() {}
void Form1::Command5_Click() {}
void Form1::Command6_Click() {}
void Form1::Command7_Click() {}
void Form1::aperturafiles() {}

#include "form1.h"

void Form1::opz11_Click() {}
void Form1::opz12_Click() {}
void Form1::opz13_Click() {}

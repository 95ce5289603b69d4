#include "about.h"

About::About(Form1 &form) : SecondaryWindow(form, Qt::Window)
{
    ui.setupUi(this);
    connect(ui.OKButton, &QPushButton::clicked, this, &About::OKButton_Click);
}

void About::OKButton_Click()
{
    close();
}

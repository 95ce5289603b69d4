#include "extras/about.h"

#include "ui_about.h"

About::About(Form1 &form) : SecondaryWindow(form), ui(new Ui::About)
{
    ui->setupUi(this);
    connect(ui->OKButton, &QPushButton::clicked, this, &About::OKButton_Click);
}

About::~About() = default;

void About::OKButton_Click()
{
    close();
}

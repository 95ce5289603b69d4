#pragma once

#include "ui_about.h"

#include <QWidget>

class Form1;

// Names the program, its author and version, and stays in front of the
// program's other windows until it is closed.
class About : public QWidget
{
    Q_OBJECT

public:
    explicit About(Form1 &form);

    Ui::About ui;

    void OKButton_Click();
    void Form_Deactivate();

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Form1 &form;
};

#pragma once

#include <QWidget>

class Form1;

// Starts the header extraction tool with the name the user types.
class ExtrlowL : public QWidget
{
    Q_OBJECT

public:
    explicit ExtrlowL(Form1 &form);

private:
    Form1 &form;
};

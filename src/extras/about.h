#pragma once

#include <QWidget>

class Form1;

// Names the program, its author and version.
class About : public QWidget
{
    Q_OBJECT

public:
    explicit About(Form1 &form);

private:
    Form1 &form;
};

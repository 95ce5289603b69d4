#pragma once

#include <QWidget>

class Form1;

// The program's own window for choosing one file or one folder.
class ApriFile : public QWidget
{
    Q_OBJECT

public:
    explicit ApriFile(Form1 &form);

private:
    Form1 &form;
};

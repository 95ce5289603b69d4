#pragma once

#include "mainwindow/secondarywindow.h"
#include <memory>

namespace Ui
{
class About;
}

// Names the program, its author and version, and stays in front of the
// program's other windows until it is closed.
class About : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit About(Form1 &form);
    ~About() override;

    // The controls, as designed.
    const std::unique_ptr<Ui::About> ui;

    void OKButton_Click();
};

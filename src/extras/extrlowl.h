#pragma once

#include "mainwindow/commandline.h"
#include "mainwindow/launch.h"
#include "mainwindow/secondarywindow.h"
#include <memory>

namespace Ui
{
class ExtrlowL;
}

// Starts the header extraction tool with the name the user types, and
// stays in front of the program's other windows until it is closed.
class ExtrlowL : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit ExtrlowL(Form1 &form);
    ~ExtrlowL() override;

    // The controls, as designed.
    const std::unique_ptr<Ui::ExtrlowL> ui;

    // What a press starts for this header name: the name and ".sgh" are
    // one argument, whatever the name holds.
    static kivo::CommandLine extractionLine(const QString &name);

    // What a press of "Extract Header" would do now.
    Launch extractionDecision();

    void Command1_Click();
};

#pragma once

#include "mainwindow/form1.h"
#include "mainwindow/secondarywindow.h"
#include "picker/drives.h"
#include <memory>

namespace Ui
{
class ApriFile;
}

// Twips of the window's design in Qt's pixels: 15 to a pixel at 96 dpi.
// Qt's pixels are device independent, so the screen's device pixel ratio
// scales them on its own.
constexpr int twips(int value)
{
    return (value + 7) / 15;
}

// The program's own window for choosing one file or one folder. The Browse
// requests of the main window prepare it, show it and lay it out; on
// confirmation it hands the choice back and closes. It stays in front of
// the program's other windows while it is open.
class ApriFile : public SecondaryWindow
{
    Q_OBJECT

public:
    explicit ApriFile(Form1 &form);
    ~ApriFile() override;

    // The controls, as designed.
    const std::unique_ptr<Ui::ApriFile> ui;

    // The hand-over: the choice to the main window, for the pending request.
    void selezionafiles();

    void Drive1_Change();
    void Dir1_Change();
    void Combo1_Click();
    void OKButton_Click();
    void File1_DblClick();
    void File1_KeyDown(int keyCode);
    void CancelButton_Click();

protected:
    // Escape cancels, as the Cancel button does.
    void cancel() override;
    void showEvent(QShowEvent *event) override;

private:
    void saveLastPlace();

    PickerMemory &memory;
    kivo::Drives drives;
    bool placed = false;
};

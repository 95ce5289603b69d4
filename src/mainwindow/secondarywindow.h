#pragma once

#include <QWidget>

class Form1;

// What the picker, the launcher and the About window share: each is a
// dialog of the main window, with a title bar and a close button only, that
// exists once, is destroyed when it closes, stays in front of the program's
// other windows while it is open, and closes (or cancels) on Escape. As a
// dialog of the main window, window managers keep it above that window and
// place it over it.
class SecondaryWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SecondaryWindow(Form1 &form);

    // Takes the activation back when another window of the program takes it.
    void Form_Deactivate();

signals:
    // The window is gone for the program, though deleted only later: the
    // next opening makes a new one in its design state.
    void closed();

protected:
    // Escape: closes the window.
    virtual void cancel();

    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    Form1 &form;
};

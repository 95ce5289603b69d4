#pragma once

#include <functional>

class QWidget;

// The picker, the About window and the launcher stay in front of the
// program's other windows while they are open: when another window of the
// program is activated, they take the activation back.
//
// Of several such windows open at once, only the one shown last takes the
// activation back; the others let it go where it goes. So two of them never
// pass the activation to and fro. A modal box is left alone, and so are
// other programs' windows.
//
// A focus change is checked once, after the events that make it up (the
// window's deactivation, the application's new focus window) have all
// arrived: one request at most per change. A window that closes moves the
// focus too, so the one before it takes over.
namespace KeepInFront
{

// Call once for each such window, before it is first shown. From then on,
// every showing makes it the one that wins, and when it goes away while
// the program has the activation, the next one still open takes it.
void enrol(QWidget &window);

// Call from the window's deactivation handler.
void deactivated(QWidget &window);

// Shows the window, or brings it to the front when it is already shown,
// and makes it the one that wins.
void open(QWidget &window);

// The window that takes the activation back now, or none.
QWidget *winner();

// How a window asks to be raised and activated; tests put their own in to
// count the requests. Returns the one it replaces.
using Activation = std::function<void(QWidget &)>;
Activation setActivation(Activation activation);

} // namespace KeepInFront

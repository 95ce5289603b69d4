#pragma once

class QString;
class QWidget;

// Gives a control the plain text that tells more about it: its tool tip and
// its What's This (Shift+F1, for the keyboard) show it, and a screen reader
// reads it as the control's description. Names in it are never taken for
// markup, and its line breaks stay.
void describe(QWidget &control, const QString &text);

#pragma once

#include "mainwindow/listbox.h"
#include "picker/drives.h"

// The picker's drive list: one entry per volume, one of them current.
// Every change of the current drive, the user's or the program's, is a
// currentIndexChanged; setting the drive it already has is none. A screen
// reader meets it as every list of the program.
class DriveListBox : public ListBox
{
    Q_OBJECT

public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // Fills the list, with the drive where the picker starts current, and
    // without a change.
    void setDrives(const kivo::Drives &drives);

    // The current entry as the list shows it, beginning with its root.
    QString drive() const { return currentText(); }
    // Takes the volume whose root leads the text, so a whole path selects
    // the volume that holds it. PathNotFound when no root leads it.
    kivo::PathResult setDrive(const QString &text);

private:
    const kivo::Drives *drives = nullptr;
};

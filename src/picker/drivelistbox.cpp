#include "picker/drivelistbox.h"

#include <QSignalBlocker>
#include <QStyle>

DriveListBox::DriveListBox(QWidget *parent) : ListBox(parent) {}

void DriveListBox::setDrives(const kivo::Drives &newDrives)
{
    drives = &newDrives;
    const QSignalBlocker blocker(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (int volume = 0; volume < drives->count(); ++volume)
        addItem(icon, drives->entryText(volume));
    setCurrentIndex(drives->startVolume());
}

kivo::PathResult DriveListBox::setDrive(const QString &text)
{
    const int volume = drives ? drives->volumeOf(text) : -1;
    if (volume < 0)
        return kivo::PathResult::PathNotFound;
    setCurrentIndex(volume);
    return kivo::PathResult::Ok;
}

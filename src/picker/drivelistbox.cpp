#include "picker/drivelistbox.h"

#include <QDir>
#include <QSignalBlocker>
#include <QStyle>

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent) {}

void DriveListBox::setDrives(const kivo::Drives &newDrives)
{
    drives = &newDrives;
    const QSignalBlocker blocker(this);
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    for (int volume = 0; volume < drives->count(); ++volume)
        addItem(icon, drives->entryText(volume));
    setCurrentIndex(std::max(0, drives->volumeOf(QDir::currentPath())));
}

kivo::PathResult DriveListBox::setDrive(const QString &text)
{
    const int volume = drives ? drives->volumeOf(text) : -1;
    if (volume < 0)
        return kivo::PathResult::PathNotFound;
    setCurrentIndex(volume);
    return kivo::PathResult::Ok;
}

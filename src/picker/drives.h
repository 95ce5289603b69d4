#pragma once

#include "mainwindow/platform.h"

#include <QHash>
#include <QList>
#include <QString>

namespace kivo
{

// What moving the folder or file list to a place can meet.
enum class PathResult {
    Ok,
    // The folder does not exist or is not a folder.
    PathNotFound,
    // The volume's root cannot be listed: no medium, not ready, unreadable.
    DeviceUnavailable,
};

// The picker's drives: the mounted volumes, each with the folder that is
// current on it for the rest of the run, as Windows keeps one per drive.
class Drives
{
public:
    // currentFolders outlives the picker window; it is keyed by root. The
    // program's own folder is where the picker starts when nothing else says.
    Drives(const QList<Volume> &volumes, QHash<QString, QString> &currentFolders,
           const QString &ownFolder);

    int count() const { return static_cast<int>(roots.size()); }
    QString root(int volume) const { return roots.at(volume); }
    // The drive list's text: the root, then the name in brackets.
    QString entryText(int volume) const;

    // The volume whose root is the longest leading part of the text, or -1.
    int volumeOf(const QString &text) const;
    // The volume that the text designates as a drive, a bare root or a
    // whole drive list entry, or -1 when the text is a folder path.
    int designated(const QString &text) const;

    // The volume that holds the program's own folder, or the first.
    int startVolume() const;
    // At first the root, or the program's own folder on the volume that
    // holds it; afterwards the folder last shown on the volume. On Linux the
    // working folder says nothing about the program: it is "/" when started
    // from a menu.
    QString currentFolder(int volume) const;
    void setCurrentFolder(int volume, const QString &folder);

    // Whether the volume's root can be listed now.
    bool available(int volume) const;

private:
    QStringList roots;
    QStringList labels;
    QHash<QString, QString> &folders;
    QString own;
};

// An absolute path without "." and ".." parts, doubled or trailing
// separators; empty for a relative one.
QString cleanFolderPath(const QString &path);
// Whether a folder (or a link to one) is at the path.
bool isFolder(const QString &path);

} // namespace kivo

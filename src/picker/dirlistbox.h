#pragma once

#include "picker/drives.h"

#include <QTreeWidget>

// The picker's folder list: the folders from the volume's root down to the
// current folder, then the current folder's subfolders, indented like a
// tree. The user opens a folder by double-click or Enter. Every change of
// the path, the user's or the program's, emits pathChanged() before the
// change returns; setting the path it already has emits nothing.
class DirListBox : public QTreeWidget
{
    Q_OBJECT

public:
    explicit DirListBox(QWidget *parent = nullptr);

    void setDrives(kivo::Drives &drives);

    QString path() const { return current; }
    // A folder path, or a drive (its root or its drive list entry), which
    // moves to that volume's current folder.
    kivo::PathResult setPath(const QString &text);
    // Lists the current folder again.
    void refresh();

signals:
    void pathChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    kivo::PathResult go(const QString &folder);
    void enter(const QString &folder, int volume);
    void open(QTreeWidgetItem *item);
    void fill();

    kivo::Drives *drives = nullptr;
    QString current;
    int currentVolume = -1;
    bool unfilled = false;
};

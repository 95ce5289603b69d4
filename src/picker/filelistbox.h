#pragma once

#include "picker/drives.h"

#include <QFutureWatcher>
#include <QListView>

class QStringListModel;

// The picker's file list: the files of its folder that match its pattern,
// sorted as a person expects; "*.*" matches every file. fileName() is the
// selected file's bare name, empty when none is selected.
class FileListBox : public QListView
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString path() const { return folder; }
    kivo::PathResult setPath(const QString &path);
    void setPattern(const QString &pattern);
    QString fileName() const;
    void refresh();

signals:
    // A key going down, with its Windows key code: 13 for Enter.
    void keyDown(int keyCode);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showNames(QStringList names);

    QStringListModel *files;
    QString folder;
    QString filePattern = QStringLiteral("*.*");
    // The sort of a large folder running aside, whose names are to be shown.
    QFutureWatcher<QStringList> *sorting = nullptr;
};

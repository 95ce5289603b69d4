#pragma once

// Real folders with awkward names, and the user's gestures on the picker.

#include "fakeplatform.h"
#include "picker/aprifile.h"
#include "ui_aprifile.h"

#include <QDir>
#include <QFile>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QtTest>

namespace pickertest
{

// Blanks, quotes, a command substitution, a semicolon, a backslash and
// letters beyond ASCII: none of it may be run or altered on the way.
inline const QString oddHeader =
    QStringLiteral("my \"game\" 'jp' $(touch pwned); rm -rf x \\ é.sgh");
inline const QString oddBios = QStringLiteral("Saturn BIOS $HOME;`id` \\v1 ü.bin");
inline const QString oddBackup = QStringLiteral("back up 'ï' ; $(x).bin");

inline bool makeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("KIVO test data\n") > 0;
}

// An SSE folder in a temporary folder whose own name has a blank and an accent.
struct SseFolder {
    QTemporaryDir temp;
    QString path;

    SseFolder()
    {
        path = temp.path() + QStringLiteral("/SSE folder é");
        QDir().mkpath(path + QStringLiteral("/headers"));
        QDir().mkpath(path + QStringLiteral("/bios"));
        for (const QString &name :
             {oddHeader, QStringLiteral("disc2.sgh"), QStringLiteral("Disc10.sgh"),
              QStringLiteral("apple.sgh"), QStringLiteral(".hidden.sgh"), QStringLiteral("README")})
            makeFile(path + QStringLiteral("/headers/") + name);
        QDir().mkpath(path + QStringLiteral("/headers/a subfolder"));
        makeFile(path + QStringLiteral("/bios/") + oddBios);
        makeFile(path + QStringLiteral("/bios/stv bios.bin"));
        makeFile(path + QStringLiteral("/") + oddBackup);
        makeFile(path + QStringLiteral("/cart.bin"));
        makeFile(path + QStringLiteral("/sse.exe"));
    }
    QString operator/(const QString &name) const { return path + QLatin1Char('/') + name; }
};

// A main window on recording seams whose own folder is the SSE folder.
struct PickerHarness : Harness {
    explicit PickerHarness(const QString &sseFolder) { ownFolder.folder = sseFolder; }
    Form1 &startShown()
    {
        Form1 &form = start();
        form.show();
        return form;
    }
    ApriFile *picker() const { return form->apriFile.data(); }
};

inline QStringList listedFiles(FileListBox *list)
{
    return static_cast<QStringListModel *>(list->model())->stringList();
}

inline QModelIndex fileIndex(FileListBox *list, const QString &name)
{
    const int row = static_cast<int>(listedFiles(list).indexOf(name));
    return row < 0 ? QModelIndex() : list->model()->index(row, 0);
}

inline void clickFile(FileListBox *list, const QString &name)
{
    const QModelIndex index = fileIndex(list, name);
    QVERIFY2(index.isValid(), qPrintable(name));
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

inline void doubleClickFile(FileListBox *list, const QString &name)
{
    const QModelIndex index = fileIndex(list, name);
    QVERIFY2(index.isValid(), qPrintable(name));
    list->scrollTo(index);
    const QPoint at = list->visualRect(index).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The folder list's entries, top to bottom, as text indented by depth.
inline QStringList shownFolders(DirListBox *list)
{
    QStringList shown;
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
        int depth = 0;
        for (QTreeWidgetItem *up = (*it)->parent(); up; up = up->parent())
            ++depth;
        shown.append(QString(depth, QLatin1Char(' ')) + (*it)->text(0));
    }
    return shown;
}

inline QTreeWidgetItem *folderItem(DirListBox *list, const QString &text)
{
    const QList<QTreeWidgetItem *> found =
        list->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

// Opens a listed folder as a user does, by double-clicking it.
inline void openFolder(DirListBox *list, const QString &text)
{
    QTreeWidgetItem *item = folderItem(list, text);
    QVERIFY2(item, qPrintable(text));
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace pickertest

#include "picker/filelistbox.h"

#include "picker/folderlisting.h"

#include <QKeyEvent>
#include <QPromise>
#include <QRegularExpression>
#include <QStringListModel>
#include <QThreadPool>

#include <memory>

namespace
{

// Windows' key codes, which key handlers of the program compare with.
int keyCode(const QKeyEvent &event)
{
    const int key = event.key();
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        break;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    // Blank, digits and letters are their upper-case characters, as Qt's are.
    if (key == Qt::Key_Space || (key >= Qt::Key_0 && key <= Qt::Key_9) ||
        (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    return 0;
}

// The ";"-separated patterns as expressions; none, with everyFile set, when
// one of them takes every file.
QList<QRegularExpression> compiled(const QString &pattern, bool &everyFile)
{
    QList<QRegularExpression> expressions;
    everyFile = false;
    for (const QString &part : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString glob = part.trimmed();
        // As on Windows: "*.*" means every file, with or without a dot.
        if (glob == u"*.*" || glob == u"*") {
            everyFile = true;
            return {};
        }
        expressions.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(glob),
                                              QRegularExpression::CaseInsensitiveOption));
    }
    return expressions;
}

} // namespace

FileListBox::FileListBox(QWidget *parent) : QListView(parent), files(new QStringListModel(this))
{
    setModel(files);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

kivo::PathResult FileListBox::setPath(const QString &path)
{
    const QString cleaned = kivo::cleanFolderPath(path);
    if (cleaned.isEmpty() || !kivo::isFolder(cleaned))
        return kivo::PathResult::PathNotFound;
    if (cleaned != folder) {
        folder = cleaned;
        refresh();
    }
    return kivo::PathResult::Ok;
}

void FileListBox::setPattern(const QString &pattern)
{
    if (pattern == filePattern)
        return;
    filePattern = pattern;
    refresh();
}

QString FileListBox::fileName() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : selected.first().data().toString();
}

void FileListBox::refresh()
{
    if (folder.isEmpty())
        return;
    QStringList names = kivo::listFolder(folder, kivo::EntryKind::Files);
    bool everyFile = false;
    const QList<QRegularExpression> patterns = compiled(filePattern, everyFile);
    if (!everyFile) {
        names.removeIf([&](const QString &name) {
            return std::none_of(
                patterns.cbegin(), patterns.cend(),
                [&](const QRegularExpression &re) { return re.match(name).hasMatch(); });
        });
    }
    showNames(std::move(names));
}

void FileListBox::showNames(QStringList names)
{
    // A sort still running aside is for a list that is no more.
    sorting = nullptr;
    // Sorting a large folder takes long enough to freeze the window: it runs
    // aside, and until it is done the list is empty, so that no file of the
    // list before can be chosen.
    constexpr qsizetype sortAside = 5000;
    if (names.size() < sortAside) {
        kivo::sortNames(names);
        files->setStringList(names);
        return;
    }
    files->setStringList({});
    auto promise = std::make_shared<QPromise<QStringList>>();
    auto *watcher = new QFutureWatcher<QStringList>(this);
    sorting = watcher;
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (watcher == sorting) {
            sorting = nullptr;
            files->setStringList(watcher->result());
        }
        watcher->deleteLater();
    });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, names = std::move(names)]() mutable {
        kivo::sortNames(names);
        promise->addResult(std::move(names));
        promise->finish();
    });
}

void FileListBox::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(keyCode(*event));
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    // With nothing selected yet, the first arrow selects where the cursor is
    // instead of stepping past it.
    if ((event->key() == Qt::Key_Down || event->key() == Qt::Key_Up) &&
        !selectionModel()->hasSelection() && files->rowCount() > 0) {
        const QModelIndex at = currentIndex().isValid() ? currentIndex() : files->index(0);
        // Made current afresh, so that a screen reader hears the file now selected.
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        setCurrentIndex(at);
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

#include "picker/dirlistbox.h"

#include "picker/folderlisting.h"

#include <QKeyEvent>
#include <QStyle>

using kivo::PathResult;

namespace
{

constexpr int pathRole = Qt::UserRole;

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

} // namespace

DirListBox::DirListBox(QWidget *parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setUniformRowHeights(true);
    setIndentation(12);
    connect(this, &QTreeWidget::itemDoubleClicked, this, &DirListBox::open);
}

void DirListBox::setDrives(kivo::Drives &newDrives)
{
    drives = &newDrives;
}

PathResult DirListBox::setPath(const QString &text)
{
    if (!drives)
        return PathResult::PathNotFound;
    const int volume = drives->designated(text);
    if (volume < 0)
        return go(kivo::cleanFolderPath(text));
    if (!drives->available(volume))
        return PathResult::DeviceUnavailable;
    QString folder = drives->currentFolder(volume);
    // Its current folder went away meanwhile: the root is still there.
    if (!kivo::isFolder(folder))
        folder = drives->root(volume);
    enter(folder, volume);
    return PathResult::Ok;
}

PathResult DirListBox::go(const QString &folder)
{
    const int volume = folder.isEmpty() ? -1 : drives->volumeOf(folder);
    if (volume < 0)
        return PathResult::PathNotFound;
    if (!drives->available(volume))
        return PathResult::DeviceUnavailable;
    if (!kivo::isFolder(folder))
        return PathResult::PathNotFound;
    enter(folder, volume);
    return PathResult::Ok;
}

void DirListBox::enter(const QString &folder, int volume)
{
    if (folder == current)
        return;
    current = folder;
    currentVolume = volume;
    drives->setCurrentFolder(volume, folder);
    fill();
    emit pathChanged();
}

void DirListBox::refresh()
{
    if (!current.isEmpty())
        fill();
}

void DirListBox::open(QTreeWidgetItem *item)
{
    if (!item || !drives)
        return;
    // A folder that went away since it was listed leaves the list as it now is.
    if (go(item->data(0, pathRole).toString()) != PathResult::Ok)
        refresh();
}

void DirListBox::fill()
{
    clear();
    // Hidden on purpose, as the file requests hide it, the list is filled
    // when it shows: listing a large folder for nobody would keep the user waiting.
    unfilled = isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide);
    if (unfilled)
        return;
    const QIcon openFolder = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedFolder = style()->standardIcon(QStyle::SP_DirClosedIcon);

    const QString root = drives->root(currentVolume);
    auto *item = new QTreeWidgetItem(this, {root});
    item->setIcon(0, openFolder);
    item->setData(0, pathRole, root);
    QString folder = root;
    const QStringList parts = current.mid(root.size()).split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        folder = joined(folder, part);
        item = new QTreeWidgetItem(item, {part});
        item->setIcon(0, openFolder);
        item->setData(0, pathRole, folder);
    }
    QTreeWidgetItem *const currentItem = item;

    QStringList names = kivo::listFolder(current, kivo::EntryKind::Folders);
    kivo::sortNames(names);
    QList<QTreeWidgetItem *> children;
    children.reserve(names.size());
    for (const QString &name : std::as_const(names)) {
        auto *child = new QTreeWidgetItem({name});
        child->setIcon(0, closedFolder);
        child->setData(0, pathRole, joined(current, name));
        children.append(child);
    }
    currentItem->addChildren(children);
    expandAll();
    setCurrentItem(currentItem);
    scrollToItem(currentItem);
}

void DirListBox::showEvent(QShowEvent *event)
{
    if (unfilled)
        fill();
    QTreeWidget::showEvent(event);
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

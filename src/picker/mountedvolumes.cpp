#include "picker/mountedvolumes.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace kivo
{

namespace
{

bool under(const QString &path, QStringView folder)
{
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == u'/');
}

bool holdsUserFiles(const QStorageInfo &storage)
{
    const QString root = storage.rootPath();
    if (!storage.isValid() || !storage.isReady() || !QFileInfo(root).isDir())
        return false;
    static const QStringView systemOnly[] = {u"/proc", u"/sys", u"/dev", u"/run"};
    for (const QStringView folder : systemOnly) {
        if (under(root, folder) && !under(root, u"/run/media"))
            return false;
    }
    static const QByteArrayView pseudo[] = {
        "autofs", "binfmt_misc", "bpf",        "cgroup",     "cgroup2",   "configfs", "debugfs",
        "devpts", "devtmpfs",    "efivarfs",   "fusectl",    "hugetlbfs", "mqueue",   "nsfs",
        "proc",   "pstore",      "rpc_pipefs", "securityfs", "selinuxfs", "sysfs",    "tracefs"};
    const QByteArray type = storage.fileSystemType();
    if (std::find(std::begin(pseudo), std::end(pseudo), type) != std::end(pseudo))
        return false;
    if (!storage.isReadOnly())
        return true;
    // Read-only: a disc or a write-protected stick holds user files; images
    // of the system and memory file systems do not.
    static const QByteArrayView systemImages[] = {"squashfs", "erofs",   "tmpfs",
                                                  "ramfs",    "overlay", "cramfs"};
    if (std::find(std::begin(systemImages), std::end(systemImages), type) != std::end(systemImages))
        return false;
    static const QStringView systemFolders[] = {u"/boot", u"/etc", u"/lib",
                                                u"/snap", u"/usr", u"/var"};
    return std::none_of(std::begin(systemFolders), std::end(systemFolders),
                        [&](QStringView folder) { return under(root, folder); });
}

// A name that helps a person: the label, or else the device.
QString nameOf(const QStorageInfo &storage)
{
    const QString label = storage.name();
    return label.isEmpty() ? QString::fromLocal8Bit(storage.device()) : label;
}

} // namespace

QList<Volume> MountedVolumes::mounted() const
{
    QList<Volume> volumes{{QStringLiteral("/"), nameOf(QStorageInfo::root())}};
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (storage.rootPath() != u"/" && holdsUserFiles(storage))
            volumes.append({storage.rootPath(), nameOf(storage)});
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume &a, const Volume &b) { return a.root < b.root; });
    return volumes;
}

} // namespace kivo

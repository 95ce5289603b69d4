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

bool holdsUserFiles(const Mount &mount)
{
    if (!mount.ready)
        return false;
    static const QStringView systemOnly[] = {u"/proc", u"/sys", u"/dev", u"/run"};
    for (const QStringView folder : systemOnly) {
        if (under(mount.root, folder) && !under(mount.root, u"/run/media"))
            return false;
    }
    static const QByteArrayView pseudo[] = {
        "autofs", "binfmt_misc", "bpf",        "cgroup",     "cgroup2",   "configfs", "debugfs",
        "devpts", "devtmpfs",    "efivarfs",   "fusectl",    "hugetlbfs", "mqueue",   "nsfs",
        "proc",   "pstore",      "rpc_pipefs", "securityfs", "selinuxfs", "sysfs",    "tracefs"};
    if (std::find(std::begin(pseudo), std::end(pseudo), mount.type) != std::end(pseudo))
        return false;
    if (!mount.readOnly)
        return true;
    // Read-only: a disc or a write-protected stick holds user files; images
    // of the system and memory file systems do not.
    static const QByteArrayView systemImages[] = {"squashfs", "erofs",   "tmpfs",
                                                  "ramfs",    "overlay", "cramfs"};
    if (std::find(std::begin(systemImages), std::end(systemImages), mount.type) !=
        std::end(systemImages))
        return false;
    static const QStringView systemFolders[] = {u"/boot", u"/etc", u"/lib",
                                                u"/snap", u"/usr", u"/var"};
    return std::none_of(std::begin(systemFolders), std::end(systemFolders),
                        [&](QStringView folder) { return under(mount.root, folder); });
}

Mount mountOf(const QStorageInfo &storage)
{
    // A name that helps a person: the label, or else the device.
    const QString label = storage.name();
    return {storage.rootPath(), storage.fileSystemType(),
            label.isEmpty() ? QString::fromLocal8Bit(storage.device()) : label,
            storage.isReadOnly(),
            storage.isValid() && storage.isReady() && QFileInfo(storage.rootPath()).isDir()};
}

} // namespace

QList<Volume> userVolumes(const QList<Mount> &mounts)
{
    QList<Volume> volumes;
    for (const Mount &mount : mounts) {
        if (mount.root != u"/" && holdsUserFiles(mount))
            volumes.append({mount.root, mount.name});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Volume &a, const Volume &b) { return a.root < b.root; });
    const auto root = std::find_if(mounts.cbegin(), mounts.cend(),
                                   [](const Mount &mount) { return mount.root == u"/"; });
    volumes.prepend({QStringLiteral("/"), root == mounts.cend() ? QString() : root->name});
    return volumes;
}

QList<Volume> MountedVolumes::mounted() const
{
    QList<Mount> mounts{mountOf(QStorageInfo::root())};
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes())
        mounts.append(mountOf(storage));
    return userVolumes(mounts);
}

} // namespace kivo

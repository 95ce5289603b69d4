#include "mountedvolumes.h"

#include <QStorageInfo>

namespace kivo
{

QList<Volume> MountedVolumes::mounted() const
{
    QList<Volume> volumes{{QStringLiteral("/"), QString()}};
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!storage.isValid() || storage.rootPath() == u"/")
            continue;
        volumes.append({storage.rootPath(), storage.displayName()});
    }
    return volumes;
}

} // namespace kivo

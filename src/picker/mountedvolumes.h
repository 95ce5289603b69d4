#pragma once

#include "mainwindow/platform.h"

#include <QByteArray>

namespace kivo
{

// A mounted file system as the system lists it.
struct Mount {
    QString root;
    QByteArray type;
    QString name; // its label, or else its device
    bool readOnly = false;
    bool ready = true;
};

// Those of the mounts a user would browse, "/" always among them and first,
// the others by root: no pseudo file systems, nothing under /proc, /sys,
// /dev or /run (but /run/media, where removable media go), and no read-only
// system mounts such as snap images or a read-only tmpfs.
QList<Volume> userVolumes(const QList<Mount> &mounts);

// The user's volumes among the file systems mounted now.
class MountedVolumes : public Volumes
{
public:
    QList<Volume> mounted() const override;
};

} // namespace kivo

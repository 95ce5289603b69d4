#pragma once

#include "mainwindow/platform.h"

namespace kivo
{

// The mounted file systems a user would browse, "/" always among them and
// first: no pseudo file systems, nothing under /proc, /sys, /dev or /run
// (but /run/media, where removable media go), and no read-only system
// mounts such as snap images or a read-only tmpfs.
class MountedVolumes : public Volumes
{
public:
    QList<Volume> mounted() const override;
};

} // namespace kivo

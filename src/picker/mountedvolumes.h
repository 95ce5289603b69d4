#pragma once

#include "platform.h"

namespace kivo
{

// The mounted file systems a user would browse, "/" always among them.
class MountedVolumes : public Volumes
{
public:
    QList<Volume> mounted() const override;
};

} // namespace kivo

#pragma once

#include "mainwindow/platform.h"
#include "mainwindow/wine.h"

namespace kivo
{

// Starts program files of a folder without a shell: Windows programs
// through wine from the PATH, minimised by Wine's own start; native ones
// directly in either state, as a native program opens its windows itself.
class DetachedProcessStarter : public ProcessStarter
{
public:
    explicit DetachedProcessStarter(const WineSupport &wine);
    StartOutcome start(const QString &folder, const QStringList &arguments,
                       WindowState window) override;

private:
    const WineSupport &wine;
};

class ExecutableFolder : public OwnFolder
{
public:
    QString path() const override;
};

} // namespace kivo

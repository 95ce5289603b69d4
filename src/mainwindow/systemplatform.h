#pragma once

#include "platform.h"
#include "wine.h"

namespace kivo
{

// Starts program files of a folder without a shell: Windows programs
// through wine from the PATH, native ones directly.
class DetachedProcessStarter : public ProcessStarter
{
public:
    explicit DetachedProcessStarter(const WineSupport &wine);
    StartOutcome start(const QString &folder, const QStringList &arguments) override;

private:
    const WineSupport &wine;
};

class QtMessageBoxes : public MessageBoxes
{
public:
    void show(QWidget &owner, const QString &text, BoxIcon icon, const QString &title) override;
};

class ExecutableFolder : public OwnFolder
{
public:
    QString path() const override;
};

// A message keeps its lone carriage returns; only the box shows them as breaks.
QString displayedText(const QString &text);

} // namespace kivo

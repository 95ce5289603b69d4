#include "mainwindow/processstart.h"

#include "picker/folderlisting.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace kivo
{

DetachedProcessStarter::DetachedProcessStarter(const WineSupport &wine) : wine(wine) {}

StartOutcome DetachedProcessStarter::start(const QString &folder, const QStringList &arguments,
                                           WindowState window)
{
    if (arguments.isEmpty())
        return {StartResult::Failed, QString()};
    // Found as Windows finds it: SSE.EXE is sse.exe, and a folder is none.
    const QString name = entryIgnoringCase(folder, arguments.first(), EntryKind::Files);
    if (name.isEmpty())
        return {StartResult::NotFound, QString()};
    const QString file = QDir(folder).filePath(name);
    const QFileInfo info(file);

    QProcess process;
    process.setWorkingDirectory(folder);
    const ProgramKind kind = programKind(file);
    if (kind == ProgramKind::Native) {
        if (!info.isExecutable())
            return {StartResult::NotExecutable, QString()};
        process.setProgram(file);
        process.setArguments(arguments.mid(1));
    } else {
        const QString wineProgram = wine.program();
        if (wineProgram.isEmpty())
            return {StartResult::NoWine, QString()};
        // Wine would start, fail at once and tell only its standard error.
        if (kind == ProgramKind::Windows32 && !wine.runs32Bit(wineProgram))
            return {StartResult::NoWine32, QString()};
        process.setProgram(wineProgram);
        // Wine's start.exe asks the program to show minimised and finds it by
        // its Unix path. It quotes each argument it passes on the way the
        // program splits its command line, so every name arrives whole, as
        // test_wine sees with the real Wine.
        const QStringList minimised{QStringLiteral("start"), QStringLiteral("/min"),
                                    QStringLiteral("/unix")};
        process.setArguments((window == WindowState::Minimised ? minimised : QStringList()) +
                             QStringList{file} + arguments.mid(1));
        process.setProcessEnvironment(wineEnvironment(QProcessEnvironment::systemEnvironment()));
    }
    if (!process.startDetached())
        return {StartResult::Failed, process.errorString()};
    return {StartResult::Started, QString()};
}

QString ExecutableFolder::path() const
{
    return QCoreApplication::applicationDirPath();
}

} // namespace kivo

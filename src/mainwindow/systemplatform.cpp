#include "systemplatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace kivo
{

namespace
{

void reportFailure(const QString &what)
{
    std::fprintf(stderr, "kivo: %s\n", what.toLocal8Bit().constData());
}

bool isWindowsProgram(const QString &file)
{
    QFile program(file);
    return program.open(QIODevice::ReadOnly) && program.read(2) == "MZ";
}

} // namespace

StartResult DetachedProcessStarter::start(const QString &folder, const QStringList &arguments)
{
    if (arguments.isEmpty())
        return StartResult::Failed;
    const QString file = QDir(folder).filePath(arguments.first());
    const QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return StartResult::NotFound;

    QString program = file;
    QStringList programArguments = arguments.mid(1);
    if (isWindowsProgram(file)) {
        program = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (program.isEmpty()) {
            reportFailure(QStringLiteral("cannot start %1: it is a Windows program and no "
                                         "wine was found on the PATH")
                              .arg(file));
            return StartResult::Failed;
        }
        programArguments.prepend(file);
    }
    QProcess process;
    process.setProgram(program);
    process.setArguments(programArguments);
    process.setWorkingDirectory(folder);
    if (!process.startDetached()) {
        reportFailure(QStringLiteral("cannot start %1: %2").arg(program, process.errorString()));
        return StartResult::Failed;
    }
    return StartResult::Started;
}

QString displayedText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtMessageBoxes::show(const QString &text, BoxIcon icon, const QString &title)
{
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    if (icon == BoxIcon::Information)
        shownIcon = QMessageBox::Information;
    else if (icon == BoxIcon::Critical)
        shownIcon = QMessageBox::Critical;
    QMessageBox box(shownIcon, title, displayedText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString ExecutableFolder::path() const
{
    return QCoreApplication::applicationDirPath();
}

} // namespace kivo

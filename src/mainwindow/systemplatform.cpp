#include "systemplatform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>

namespace kivo
{

DetachedProcessStarter::DetachedProcessStarter(const WineSupport &wine) : wine(wine) {}

StartOutcome DetachedProcessStarter::start(const QString &folder, const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {StartResult::Failed, QString()};
    const QString file = QDir(folder).filePath(arguments.first());
    const QFileInfo info(file);
    if (!info.exists() || info.isDir())
        return {StartResult::NotFound, QString()};

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
        process.setArguments(QStringList{file} + arguments.mid(1));
        process.setProcessEnvironment(wineEnvironment(QProcessEnvironment::systemEnvironment()));
    }
    if (!process.startDetached())
        return {StartResult::Failed, process.errorString()};
    return {StartResult::Started, QString()};
}

QString displayedText(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

void QtMessageBoxes::show(QWidget &owner, const QString &text, BoxIcon icon, const QString &title)
{
    QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
    if (icon == BoxIcon::Information)
        shownIcon = QMessageBox::Information;
    else if (icon == BoxIcon::Critical)
        shownIcon = QMessageBox::Critical;
    QMessageBox box(shownIcon, title, displayedText(text), QMessageBox::Ok, &owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString ExecutableFolder::path() const
{
    return QCoreApplication::applicationDirPath();
}

} // namespace kivo

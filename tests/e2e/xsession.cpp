#include "xsession.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>

namespace
{

const QString xvfbName = QStringLiteral("Xvfb");
const QString xdotoolName = QStringLiteral("xdotool");

} // namespace

XSession::~XSession()
{
    stop();
}

// The first line a program writes, waiting up to timeoutMs; empty when none.
QByteArray XSession::firstLine(QProcess *process, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QByteArray written;
    while (!written.contains('\n')) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || process->state() != QProcess::Running)
            return {};
        if (process->waitForReadyRead(int(qMin<qint64>(left, 200))))
            written += process->readAllStandardOutput();
    }
    return written.left(written.indexOf('\n')).trimmed();
}

QProcess *XSession::startHelper(const QString &name, const QString &package,
                                const QStringList &arguments, int timeoutMs, QByteArray *line)
{
    const QString program = QStandardPaths::findExecutable(name);
    if (program.isEmpty()) {
        lastError =
            QStringLiteral("%1 not found on the PATH (Debian package %2)").arg(name, package);
        return nullptr;
    }
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->start();
    *line = process->waitForStarted(timeoutMs) ? firstLine(process, timeoutMs) : QByteArray();
    if (line->isEmpty()) {
        lastError = QStringLiteral("%1 did not start: %2")
                        .arg(name, QString::fromLocal8Bit(process->readAllStandardError()));
        kill(process);
        return nullptr;
    }
    return process;
}

bool XSession::start(int timeoutMs)
{
    if (server) {
        lastError = QStringLiteral("the X server is already running on %1").arg(displayName);
        return false;
    }
    // Both are needed by every end-to-end test: a missing one is a failure.
    if (QStandardPaths::findExecutable(xdotoolName).isEmpty()) {
        lastError = QStringLiteral("xdotool not found on the PATH (Debian package xdotool)");
        return false;
    }
    // -displayfd 1: the server picks a free display and writes its number to stdout.
    // -noreset: when its last client leaves, as a killed program may, the
    // server would reset and turn away the next one for a moment.
    QByteArray number;
    server = startHelper(xvfbName, QStringLiteral("xvfb"),
                         {QStringLiteral("-displayfd"), QStringLiteral("1"),
                          QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                          QStringLiteral("tcp"), QStringLiteral("-noreset")},
                         timeoutMs, &number);
    if (!server)
        return false;
    displayName = u':' + QString::fromLatin1(number);
    // A session bus of its own, for what screen readers see of the programs.
    QByteArray address;
    bus = startHelper(QStringLiteral("dbus-daemon"), QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")},
                      timeoutMs, &address);
    if (!bus) {
        stop();
        return false;
    }
    busAddress = QString::fromLatin1(address);
    return true;
}

void XSession::stop()
{
    // The programs first: they would notice the server going away anyway.
    for (QProcess *program : std::as_const(programs))
        kill(program);
    programs.clear();
    for (QProcess *helper : {bus, server}) {
        if (helper)
            kill(helper);
    }
    bus = nullptr;
    server = nullptr;
    displayName.clear();
    busAddress.clear();
}

void XSession::kill(QProcess *process)
{
    if (process->state() != QProcess::NotRunning) {
        process->terminate();
        if (!process->waitForFinished(2000)) {
            process->kill();
            process->waitForFinished(2000);
        }
    }
    delete process;
}

QProcessEnvironment XSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), displayName);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    // Nothing may reach another display, or keep Qt off this one.
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XAUTHORITY"));
    return environment;
}

QProcess *XSession::launch(const QString &program, const QStringList &arguments,
                           const QString &workingFolder, const QProcessEnvironment &environment)
{
    if (!server) {
        lastError = QStringLiteral("no X server: start() first");
        return nullptr;
    }
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setWorkingDirectory(workingFolder);
    process->setProcessEnvironment(environment);
    // What the program says shows up in the test's own output.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted(5000)) {
        lastError = QStringLiteral("cannot start %1: %2").arg(program, process->errorString());
        kill(process);
        return nullptr;
    }
    programs.append(process);
    return process;
}

XSession::Result XSession::xdotool(const QStringList &arguments, int timeoutMs)
{
    Result result;
    QProcess process;
    process.setProgram(QStandardPaths::findExecutable(xdotoolName));
    process.setArguments(arguments);
    process.setProcessEnvironment(environment());
    process.start();
    if (!process.waitForStarted(timeoutMs)) {
        result.errors = process.errorString();
        return result;
    }
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        result.errors = QStringLiteral("timed out after %1 ms").arg(timeoutMs);
        return result;
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.errors = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

QString XSession::describe(const QString &what, const Result &result) const
{
    return QStringLiteral("%1 failed (exit %2): %3")
        .arg(what)
        .arg(result.exitCode)
        .arg(result.errors.trimmed());
}

QStringList XSession::waitForWindows(const QString &nameRegex, int timeoutMs)
{
    // Polled here: xdotool's own --sync waits half a second between looks.
    QElapsedTimer clock;
    clock.start();
    Result result;
    do {
        result = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                          QStringLiteral("--name"), nameRegex},
                         timeoutMs);
        const QStringList found = result.output.split(u'\n', Qt::SkipEmptyParts);
        if (result.finished && !found.isEmpty())
            return found;
        // search exits 1, silently, when it finds nothing; anything else is an error.
        if (!result.finished || !result.errors.trimmed().isEmpty())
            break;
        QThread::msleep(50);
    } while (clock.elapsed() < timeoutMs);
    lastError = describe(QStringLiteral("waiting for a window named %1").arg(nameRegex), result);
    return {};
}

bool XSession::waitUntilGone(const QString &nameRegex, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        const Result result = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                       QStringLiteral("--name"), nameRegex},
                                      timeoutMs);
        // search exits 1, silently, when it finds nothing.
        if (result.finished && result.output.trimmed().isEmpty() &&
            result.errors.trimmed().isEmpty())
            return true;
        QThread::msleep(100);
    }
    lastError = QStringLiteral("a window named %1 is still there after %2 ms")
                    .arg(nameRegex)
                    .arg(timeoutMs);
    return false;
}

bool XSession::focus(const QString &window, int timeoutMs)
{
    const Result result =
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, timeoutMs);
    if (!result.ok()) {
        lastError = describe(QStringLiteral("focusing window %1").arg(window), result);
        return false;
    }
    return true;
}

bool XSession::key(const QStringList &keys, int timeoutMs)
{
    const Result result = xdotool(
        QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("50")} + keys,
        timeoutMs);
    if (!result.ok()) {
        lastError = describe(QStringLiteral("typing %1").arg(keys.join(u' ')), result);
        return false;
    }
    return true;
}

bool XSession::focusAndKey(const QString &window, const QStringList &keys, int timeoutMs)
{
    return focus(window, timeoutMs) && key(keys, timeoutMs);
}

#include "desktop.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

namespace
{

const QString mainWindowName = u"^KIVO - "_qs;

// The first line a helper writes: Xvfb its display, dbus-daemon its address.
QString firstLine(QProcess *process)
{
    QByteArray written;
    (void)QTest::qWaitFor(
        [&] {
            written += process->readAllStandardOutput();
            return written.contains('\n') || process->state() != QProcess::Running;
        },
        patience);
    return QString::fromLocal8Bit(written.left(written.indexOf('\n')).trimmed());
}

} // namespace

Desktop::~Desktop()
{
    for (QProcess *process : std::as_const(helpers)) {
        process->kill();
        process->waitForFinished();
        delete process;
    }
}

QProcess *Desktop::launch(const QString &program, const QStringList &arguments,
                          const QProcessEnvironment &environment, const QString &in)
{
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessEnvironment(environment);
    process->setWorkingDirectory(in);
    // Helpers say where they are on stdout; what anything says on stderr shows.
    process->setProcessChannelMode(in.isEmpty() ? QProcess::ForwardedErrorChannel
                                                : QProcess::ForwardedChannels);
    process->start();
    helpers.prepend(process); // the helpers started first end last
    if (!process->waitForStarted())
        lastError = program + u": "_qs + process->errorString();
    return process;
}

bool Desktop::start()
{
    // -displayfd: a free display, written to stdout; -noreset: the next
    // client is not turned away when a killed one was the last.
    display = u':' + firstLine(launch(u"Xvfb"_qs,
                                      words("-displayfd 1 -nolisten tcp -noreset -screen 0 "
                                            "1280x1024x24"),
                                      environment()));
    bus = firstLine(
        launch(u"dbus-daemon"_qs, words("--session --nofork --print-address=1"), environment()));
    QDBusConnection session = QDBusConnection::connectToBus(bus, u"session"_qs);
    const QDBusReply<QString> reply =
        QDBusInterface(u"org.a11y.Bus"_qs, u"/org/a11y/bus"_qs, u"org.a11y.Bus"_qs, session)
            .call(u"GetAddress"_qs);
    accessibility = reply.value();
    if (display.size() < 2 || accessibility.isEmpty())
        lastError += QStringLiteral(" no display, session bus or accessibility bus (Debian "
                                    "packages xvfb, dbus-daemon, at-spi2-core)");
    return display.size() > 1 && !accessibility.isEmpty();
}

QProcessEnvironment Desktop::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_qs, display);
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, bus);
    environment.insert(u"XDG_CONFIG_HOME"_qs, config.path());
    environment.insert(u"SSE_STANDIN_NO_WINDOW"_qs, u"1"_qs);
    environment.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_qs, u"1"_qs);
    environment.remove(u"WAYLAND_DISPLAY"_qs); // nothing may reach another display
    environment.remove(u"QT_QPA_PLATFORM"_qs);
    return environment;
}

bool Desktop::prepare(const QString &name, const QString &sseName)
{
    folder = std::make_unique<QTemporaryDir>();
    sse = QDir(folder->path()).canonicalPath() + u'/' + name;
    QFile(QDir(config.path()).filePath(u"KIVO/KIVO.ini"_qs)).remove();
    const auto copy = [&](const char *from, const QString &to) {
        return QFile::copy(QString::fromUtf8(from), sse + u'/' + to) &&
               QFile::setPermissions(sse + u'/' + to, QFile::ReadOwner | QFile::ExeOwner);
    };
    return QDir().mkpath(sse) && copy(KIVO_BINARY, u"kivo"_qs) && copy(SSE_STANDIN_BINARY, sseName);
}

bool Desktop::add(const QString &relativePath)
{
    const QString path = sse + u'/' + relativePath;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("KIVO test data, not a real file\n") > 0;
}

bool Desktop::writeSettings(const QList<QPair<QString, QVariant>> &values) const
{
    QSettings ini(config.filePath(u"KIVO/KIVO.ini"_qs), QSettings::IniFormat);
    for (const auto &[key, value] : values)
        ini.setValue(key, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString Desktop::setting(const QString &key) const
{
    return QSettings(config.filePath(u"KIVO/KIVO.ini"_qs), QSettings::IniFormat)
        .value(key)
        .toString();
}

QList<QJsonObject> Desktop::log(const QString &name) const
{
    QList<QJsonObject> entries;
    QFile file(sse + u'/' + name);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                entries.append(QJsonDocument::fromJson(line).object());
    }
    return entries;
}

QString Desktop::xdotool(const QStringList &arguments, bool *ok)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(u"xdotool"_qs, arguments);
    const bool done = process.waitForFinished() && process.exitCode() == 0;
    if (ok)
        *ok = done;
    if (!done)
        lastError = u"xdotool "_qs + arguments.join(u' ') + u": "_qs +
                    QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QStringList Desktop::windows(const QString &nameRegex)
{
    QStringList found;
    // xdotool's own --sync waits half a second between looks.
    (void)QTest::qWaitFor(
        [&] {
            found = xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, nameRegex})
                        .split(u'\n', Qt::SkipEmptyParts);
            return !found.isEmpty();
        },
        patience);
    return found;
}

bool Desktop::gone(const QString &nameRegex, int timeoutMs)
{
    return QTest::qWaitFor(
        [&] {
            bool found = false;
            xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, nameRegex}, &found);
            return !found;
        },
        timeoutMs);
}

bool Desktop::startKivo(const QProcessEnvironment &changes, const QString &workingFolder)
{
    if (kivo) {
        kivo->kill();
        kivo->waitForFinished();
        if (!gone(mainWindowName))
            return false;
    }
    QProcessEnvironment environment = this->environment();
    for (const QString &name : changes.keys())
        environment.insert(name, changes.value(name));
    kivo =
        launch(sse + u"/kivo"_qs, {}, environment, workingFolder.isEmpty() ? sse : workingFolder);
    const QStringList found = windows(mainWindowName);
    mainWindow = found.value(0);
    return found.size() == 1;
}

bool Desktop::type(const QStringList &keys, const QString &window)
{
    bool ok = false;
    xdotool({u"windowfocus"_qs, u"--sync"_qs, window.isEmpty() ? mainWindow : window}, &ok);
    if (ok)
        xdotool(QStringList{u"key"_qs, u"--delay"_qs, u"20"_qs} + keys, &ok);
    return ok;
}

bool Desktop::inPicker(const QStringList &keys, const QString &replacing)
{
    // A picker that replaces another is a new window, once the old one is gone.
    QString picker;
    return QTest::qWaitFor([&] { return (picker = windows(pickerName).value(0)) != replacing; },
                           patience) &&
           !picker.isEmpty() && type(keys, picker) && gone(pickerName);
}

bool Desktop::confirm(const QString &nameRegex)
{
    const QStringList box = windows(nameRegex);
    return box.size() == 1 && type({u"Return"_qs}, box.first()) && gone(nameRegex);
}

QStringList Desktop::run()
{
    const qsizetype before = log().size();
    if (!type({u"space"_qs}) || !QTest::qWaitFor([&] { return log().size() > before; }, patience))
        return {u"nothing started: "_qs + lastError};
    return argumentsOf(log().constLast());
}

bool Desktop::press(const QString &frame, const QString &button, int nth)
{
    // An accessible object is a bus name and a path.
    using Node = QPair<QString, QString>;
    const QDBusConnection a11y = QDBusConnection::connectToBus(accessibility, u"a11y"_qs);
    const auto call = [&](const Node &node, const QString &interface, const QString &method,
                          const QList<QVariant> &arguments = {}) {
        return QDBusInterface(node.first, node.second, u"org.a11y.atspi."_qs + interface, a11y)
            .callWithArgumentList(QDBus::Block, method, arguments);
    };
    const auto is = [&](const Node &node, const char *role, const QString &name) {
        const QDBusReply<QString> roleName = call(node, u"Accessible"_qs, u"GetRoleName"_qs);
        return roleName.value() == QLatin1String(role) &&
               QDBusInterface(node.first, node.second, u"org.a11y.atspi.Accessible"_qs, a11y)
                       .property("Name")
                       .toString() == name;
    };
    // Depth first through every program on the bus: the frame, then its buttons.
    QList<Node> found;
    std::function<void(const Node &, bool)> search = [&](const Node &node, bool inFrame) {
        const QDBusArgument children = call(node, u"Accessible"_qs, u"GetChildren"_qs)
                                           .arguments()
                                           .value(0)
                                           .value<QDBusArgument>();
        QList<Node> nodes;
        children.beginArray();
        while (!children.atEnd()) {
            Node child;
            QDBusObjectPath path;
            children.beginStructure();
            children >> child.first >> path;
            children.endStructure();
            child.second = path.path();
            nodes.append(child);
        }
        children.endArray();
        for (const Node &child : nodes) {
            if (inFrame && is(child, "push button", button))
                found.append(child);
            search(child, inFrame || is(child, "panel", frame));
        }
    };
    search({u"org.a11y.atspi.Registry"_qs, u"/org/a11y/atspi/accessible/root"_qs}, false);
    const QDBusReply<bool> pressed = nth < found.size()
                                         ? call(found.at(nth), u"Action"_qs, u"DoAction"_qs, {0})
                                         : QDBusMessage();
    if (!pressed.value())
        lastError = QStringLiteral("no button %1 in %2 to press").arg(button, frame);
    return pressed.value();
}

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(u' ');
}

QStringList argumentsOf(const QJsonObject &entry)
{
    QStringList arguments;
    for (const QJsonValue &argument : entry.value(u"arguments").toArray())
        arguments.append(argument.toString());
    return arguments;
}

QStringList saturnArguments(const QString &header, const QString &bios, const QStringList &rest)
{
    return QStringList{header, u"-d"_qs, u"F:"_qs, u"-b"_qs, bios} + rest;
}

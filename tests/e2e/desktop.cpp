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

const QString mainWindowName = QStringLiteral("^KIVO - ");

// AT-SPI's reference to an accessible object: (so).
struct Node {
    QString service;
    QDBusObjectPath path;
};
QDBusArgument &operator<<(QDBusArgument &argument, const Node &node)
{
    argument.beginStructure();
    argument << node.service << node.path;
    argument.endStructure();
    return argument;
}
const QDBusArgument &operator>>(const QDBusArgument &argument, Node &node)
{
    argument.beginStructure();
    argument >> node.service >> node.path;
    argument.endStructure();
    return argument;
}

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

Q_DECLARE_METATYPE(Node)

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
        lastError = program + QStringLiteral(": ") + process->errorString();
    return process;
}

bool Desktop::start()
{
    // -displayfd: a free display, written to stdout; -noreset: the next
    // client is not turned away when a killed one was the last.
    display = u':' + firstLine(launch(QStringLiteral("Xvfb"),
                                      words("-displayfd 1 -nolisten tcp -noreset -screen 0 "
                                            "1280x1024x24"),
                                      environment()));
    bus = firstLine(launch(QStringLiteral("dbus-daemon"),
                           words("--session --nofork --print-address=1"), environment()));
    QDBusConnection session = QDBusConnection::connectToBus(bus, QStringLiteral("session"));
    const QDBusReply<QString> reply =
        QDBusInterface(QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                       QStringLiteral("org.a11y.Bus"), session)
            .call(QStringLiteral("GetAddress"));
    accessibility = reply.value();
    qDBusRegisterMetaType<Node>();
    qDBusRegisterMetaType<QList<Node>>();
    if (display.size() < 2 || accessibility.isEmpty())
        lastError += QStringLiteral(" no display, session bus or accessibility bus (Debian "
                                    "packages xvfb, dbus-daemon, at-spi2-core)");
    return display.size() > 1 && !accessibility.isEmpty();
}

QProcessEnvironment Desktop::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    environment.insert(QStringLiteral("SSE_STANDIN_NO_WINDOW"), QStringLiteral("1"));
    environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    for (const char *name : {"WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

bool Desktop::prepare(const QString &name, const QString &sseName)
{
    folder = std::make_unique<QTemporaryDir>();
    sse = QDir(folder->path()).canonicalPath() + u'/' + name;
    QFile(QDir(config.path()).filePath(QStringLiteral("KIVO/KIVO.ini"))).remove();
    const auto copy = [&](const char *from, const QString &to) {
        return QFile::copy(QString::fromUtf8(from), sse + u'/' + to) &&
               QFile::setPermissions(sse + u'/' + to, QFile::ReadOwner | QFile::ExeOwner);
    };
    return QDir().mkpath(sse) && copy(KIVO_BINARY, QStringLiteral("kivo")) &&
           copy(SSE_STANDIN_BINARY, sseName);
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
    QSettings ini(config.filePath(QStringLiteral("KIVO/KIVO.ini")), QSettings::IniFormat);
    for (const auto &[key, value] : values)
        ini.setValue(key, value);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString Desktop::setting(const QString &key) const
{
    return QSettings(config.filePath(QStringLiteral("KIVO/KIVO.ini")), QSettings::IniFormat)
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
    process.start(QStringLiteral("xdotool"), arguments);
    const bool done = process.waitForFinished() && process.exitCode() == 0;
    if (ok)
        *ok = done;
    if (!done)
        lastError = QStringLiteral("xdotool ") + arguments.join(u' ') + QStringLiteral(": ") +
                    QString::fromLocal8Bit(process.readAllStandardError());
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QStringList Desktop::windows(const QString &nameRegex)
{
    QStringList found;
    // xdotool's own --sync waits half a second between looks.
    (void)QTest::qWaitFor(
        [&] {
            found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                             QStringLiteral("--name"), nameRegex})
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
            xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"), nameRegex},
                    &found);
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
    kivo = launch(sse + QStringLiteral("/kivo"), {}, environment,
                  workingFolder.isEmpty() ? sse : workingFolder);
    const QStringList found = windows(mainWindowName);
    mainWindow = found.value(0);
    return found.size() == 1;
}

bool Desktop::type(const QStringList &keys, const QString &window)
{
    bool ok = false;
    xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
             window.isEmpty() ? mainWindow : window},
            &ok);
    if (ok)
        xdotool(
            QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("20")} +
                keys,
            &ok);
    return ok;
}

bool Desktop::inPicker(const QStringList &keys)
{
    const QStringList picker = windows(pickerName);
    // A picker that replaces another shows up a moment later.
    QTest::qWait(300);
    return picker.size() == 1 && type(keys, windows(pickerName).value(0)) && gone(pickerName);
}

bool Desktop::confirm(const QString &nameRegex)
{
    const QStringList box = windows(nameRegex);
    return box.size() == 1 && type({QStringLiteral("Return")}, box.first()) && gone(nameRegex);
}

QStringList Desktop::run()
{
    const qsizetype before = log().size();
    if (!type({QStringLiteral("space")}) ||
        !QTest::qWaitFor([&] { return log().size() > before; }, patience))
        return {QStringLiteral("nothing started: ") + lastError};
    return argumentsOf(log().constLast());
}

bool Desktop::press(const QString &frame, const QString &button, int nth)
{
    const QDBusConnection a11y =
        QDBusConnection::connectToBus(accessibility, QStringLiteral("a11y"));
    const auto call = [&](const Node &node, const QString &interface, const QString &method,
                          const QList<QVariant> &arguments = {}) {
        return QDBusInterface(node.service, node.path.path(), interface, a11y)
            .callWithArgumentList(QDBus::Block, method, arguments);
    };
    const QString accessible = QStringLiteral("org.a11y.atspi.Accessible");
    const auto is = [&](const Node &node, const char *role, const QString &name) {
        const QDBusReply<QString> roleName = call(node, accessible, QStringLiteral("GetRoleName"));
        const QDBusReply<QDBusVariant> nameProperty =
            call(node, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {accessible, QStringLiteral("Name")});
        return roleName.value() == QLatin1String(role) &&
               nameProperty.value().variant().toString() == name;
    };
    // Depth first through every program on the bus: the frame, then its buttons.
    QList<Node> found;
    std::function<void(const Node &, bool)> search = [&](const Node &node, bool inFrame) {
        const QDBusReply<QList<Node>> children =
            call(node, accessible, QStringLiteral("GetChildren"));
        for (const Node &child : children.value()) {
            if (inFrame && is(child, "push button", button))
                found.append(child);
            search(child, inFrame || is(child, "panel", frame));
        }
    };
    search({QStringLiteral("org.a11y.atspi.Registry"),
            QDBusObjectPath(QStringLiteral("/org/a11y/atspi/accessible/root"))},
           false);
    const QDBusReply<bool> pressed =
        nth < found.size() ? call(found.at(nth), QStringLiteral("org.a11y.atspi.Action"),
                                  QStringLiteral("DoAction"), {0})
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
    return QStringList{header, QStringLiteral("-d"), QStringLiteral("F:"), QStringLiteral("-b"),
                       bios} +
           rest;
}

#include "desktop.h"

#include <QDBusArgument>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
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
    // A window manager, as every desktop has: it keeps dialogs above their windows.
    launch(u"openbox"_qs, words("--sm-disable"), environment());
    QDBusConnection session = QDBusConnection::connectToBus(bus, u"session"_qs);
    const QDBusReply<QString> reply =
        QDBusInterface(u"org.a11y.Bus"_qs, u"/org/a11y/bus"_qs, u"org.a11y.Bus"_qs, session)
            .call(u"GetAddress"_qs);
    accessibility = reply.value();
    if (display.size() < 2 || accessibility.isEmpty())
        lastError += QStringLiteral(" no display, session bus or accessibility bus (Debian "
                                    "packages xvfb, dbus-daemon, at-spi2-core, openbox)");
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

QStringList Desktop::stacking()
{
    QProcess xprop;
    xprop.setProcessEnvironment(environment());
    xprop.start(u"xprop"_qs, words("-root _NET_CLIENT_LIST_STACKING"));
    xprop.waitForFinished();
    QStringList names;
    static const QRegularExpression id(u"0x[0-9a-f]+"_qs);
    for (const QRegularExpressionMatch &match :
         id.globalMatch(QString::fromLatin1(xprop.readAllStandardOutput())))
        names << xdotool(
                     {u"getwindowname"_qs, QString::number(match.captured().toUInt(nullptr, 16))})
                     .trimmed();
    return names;
}

bool Desktop::activate(const QString &window)
{
    bool ok = false;
    xdotool({u"windowactivate"_qs, u"--sync"_qs, window}, &ok);
    return ok;
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

QStringList Desktop::run(const QString &key)
{
    const qsizetype before = log().size();
    if (!type({key}) || !QTest::qWaitFor([&] { return log().size() > before; }, patience))
        return {u"nothing started: "_qs + lastError};
    return argumentsOf(log().constLast());
}

QDBusMessage Desktop::call(const QString &bus, const QString &path, const QString &interface,
                           const QString &method, const QList<QVariant> &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(bus, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::connectToBus(accessibility, u"a11y"_qs).call(message);
}

QList<Desktop::Accessible> Desktop::accessibles()
{
    const auto first = [](const QDBusMessage &reply) { return reply.arguments().value(0); };
    const auto property = [&](const QString &bus, const QString &path, const char *name) {
        return first(call(bus, path, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs,
                          {u"org.a11y.atspi.Accessible"_qs, QString::fromLatin1(name)}))
            .value<QDBusVariant>()
            .variant()
            .toString();
    };
    // An accessible object is a bus name and a path.
    const auto objects = [](const QDBusArgument &argument) {
        QList<QPair<QString, QString>> found;
        argument.beginArray();
        while (!argument.atEnd()) {
            QString bus;
            QDBusObjectPath path;
            argument.beginStructure();
            argument >> bus >> path;
            argument.endStructure();
            found.append({bus, path.path()});
        }
        argument.endArray();
        return found;
    };
    QList<Accessible> all;
    std::function<void(const QString &, const QString &, const QStringList &)> visit =
        [&](const QString &bus, const QString &path, const QStringList &within) {
            const QString accessible = u"org.a11y.atspi.Accessible"_qs;
            Accessible object{first(call(bus, path, accessible, u"GetRoleName"_qs)).toString(),
                              property(bus, path, "Name"),
                              property(bus, path, "Description"),
                              0,
                              {},
                              within,
                              bus,
                              path};
            const QList<uint> states = qdbus_cast<QList<uint>>(
                first(call(bus, path, accessible, u"GetState"_qs)).value<QDBusArgument>());
            for (int word = 0; word < states.size() && word < 2; ++word)
                object.states |= quint64(states.at(word)) << (32 * word);
            const QDBusArgument relations =
                first(call(bus, path, accessible, u"GetRelationSet"_qs)).value<QDBusArgument>();
            relations.beginArray();
            while (!relations.atEnd()) {
                uint type = 0;
                relations.beginStructure();
                relations >> type;
                for (const auto &[labelBus, labelPath] : objects(relations)) {
                    if (type == 2) // labelled by
                        object.labelledBy.append(property(labelBus, labelPath, "Name"));
                }
                relations.endStructure();
            }
            relations.endArray();
            all.append(object);
            // The entries of a list that is not open say nothing more.
            if (object.role == u"list" && !object.is(25))
                return;
            const QStringList inside = QStringList{object.name} + within;
            for (const auto &[childBus, childPath] : objects(
                     first(call(bus, path, accessible, u"GetChildren"_qs)).value<QDBusArgument>()))
                visit(childBus, childPath, inside);
        };
    visit(u"org.a11y.atspi.Registry"_qs, u"/org/a11y/atspi/accessible/root"_qs, {});
    return all;
}

Desktop::Accessible Desktop::find(const QString &role, const QString &name, const QString &within)
{
    for (const Accessible &object : accessibles()) {
        if (object.role == role && object.name == name &&
            (within.isEmpty() || object.within.contains(within)))
            return object;
    }
    lastError = QStringLiteral("no %1 %2 in %3").arg(role, name, within);
    return {};
}

bool Desktop::act(const Accessible &object)
{
    return !object.path.isEmpty() &&
           call(object.bus, object.path, u"org.a11y.atspi.Action"_qs, u"DoAction"_qs, {0})
               .arguments()
               .value(0)
               .toBool();
}

bool Desktop::press(const QString &frame, const QString &button, int nth)
{
    QList<Accessible> found;
    for (const Accessible &object : accessibles()) {
        if (object.role == u"push button" && object.name == button && object.within.contains(frame))
            found.append(object);
    }
    if (nth < found.size() && act(found.at(nth)))
        return true;
    lastError = QStringLiteral("no button %1 in %2 to press").arg(button, frame);
    return false;
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

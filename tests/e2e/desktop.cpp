#include "desktop.h"

#include <QtDBus>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

// The first line a helper writes: Xvfb its display, dbus-daemon its address.
static QString firstLine(QProcess *process)
{
    while (!process->canReadLine() && process->waitForReadyRead(patience)) {
    }
    return QString::fromLocal8Bit(process->readLine().trimmed());
}

Desktop::~Desktop()
{
    for (QProcess *process : std::as_const(helpers)) {
        process->kill();
        process->waitForFinished();
        delete process;
    }
    orcaLog.reset();
    if (terminal >= 0)
        close(terminal);
}

QProcess *Desktop::launch(const QStringList &command, const QStringList &changes, const QString &in)
{
    auto *process = new QProcess;
    process->setProcessEnvironment(environment(changes));
    process->setWorkingDirectory(in);
    // Helpers say where they are on stdout; what anything says on stderr shows.
    process->setProcessChannelMode(in.isEmpty() ? QProcess::ForwardedErrorChannel
                                                : QProcess::ForwardedChannels);
    process->start(command.first(), command.mid(1));
    helpers.prepend(process); // the helpers started first end last
    if (!process->waitForStarted())
        lastError = command.first() + u": "_qs + process->errorString();
    return process;
}

bool Desktop::tool(const QStringList &command, QString *output)
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(command.first(), command.mid(1));
    const bool done = process.waitForFinished() && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (!done)
        lastError =
            command.join(u' ') + u": "_qs + QString::fromLocal8Bit(process.readAllStandardError());
    return done;
}

bool Desktop::start()
{
    // -displayfd: a free display, written to stdout; -noreset: the next
    // client is not turned away when a killed one was the last.
    display = u':' + firstLine(launch(words("Xvfb -displayfd 1 -nolisten tcp -noreset -screen 0 "
                                            "1280x1024x24")));
    // The bus's socket in a folder of the test's own: a killed bus leaves it behind.
    bus = firstLine(launch(words("dbus-daemon --session --nofork --print-address=1")
                           << u"--address=unix:dir="_qs + config.path()));
    // A window manager, as every desktop has: it keeps dialogs above their windows.
    launch(words("openbox --sm-disable"));
    atspi = QDBusReply<QString>(QDBusInterface(u"org.a11y.Bus"_qs, u"/org/a11y/bus"_qs,
                                               u"org.a11y.Bus"_qs,
                                               QDBusConnection::connectToBus(bus, u"session"_qs))
                                    .call(u"GetAddress"_qs));
    // Read only when something is missing.
    lastError += QStringLiteral(" no display, session bus or accessibility bus? (Debian packages "
                                "xvfb, dbus-daemon, at-spi2-core, openbox)");
    return display.size() > 1 && !atspi.isEmpty();
}

QProcessEnvironment Desktop::environment(const QStringList &changes) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(u"WAYLAND_DISPLAY"_qs); // nothing may reach another display
    environment.remove(u"QT_QPA_PLATFORM"_qs);
    const QStringList ours{u"DISPLAY="_qs + display, u"DBUS_SESSION_BUS_ADDRESS="_qs + bus,
                           u"XDG_CONFIG_HOME="_qs + config.path(), u"SSE_STANDIN_NO_WINDOW=1"_qs,
                           u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"_qs};
    for (const QString &change : ours + changes)
        environment.insert(change.section(u'=', 0, 0), change.section(u'=', 1));
    return environment;
}

bool Desktop::prepare(const QString &name, const QStringList &files, const QString &sseName)
{
    folder = std::make_unique<QTemporaryDir>();
    sse = QDir(folder->path()).canonicalPath() + u'/' + name;
    QFile::remove(ini());
    bool added = QDir().mkpath(sse);
    for (const auto &[from, to] :
         {std::pair{KIVO_BINARY, u"kivo"_qs}, {SSE_STANDIN_BINARY, sseName}})
        added = added && QFile::copy(QString::fromUtf8(from), sse + u'/' + to) &&
                QFile::setPermissions(sse + u'/' + to, QFile::ReadOwner | QFile::ExeOwner);
    for (const QString &relativePath : files) {
        QFile file(sse + u'/' + relativePath);
        added = added && QDir().mkpath(QFileInfo(file).path()) && file.open(QIODevice::WriteOnly) &&
                file.write("KIVO test data, not a real file\n") > 0;
    }
    return added;
}

bool Desktop::writeSettings(const QList<std::pair<QString, QString>> &values) const
{
    QSettings settings(ini(), QSettings::IniFormat);
    for (const auto &[key, value] : values) {
        const QString name = key.startsWith(u"text") ? u"Last Folders/"_qs + key : key;
        settings.setValue(name, value);
        if (name != key)
            settings.setValue(name + u"tag"_qs, value);
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

QString Desktop::setting(const QString &key) const
{
    return QSettings(ini(), QSettings::IniFormat).value(key).toString();
}

QList<QVariantMap> Desktop::log(const QString &name) const
{
    QList<QVariantMap> entries;
    QFile file(sse + u'/' + name);
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                entries.append(QJsonDocument::fromJson(line).toVariant().toMap());
    return entries;
}

QStringList Desktop::windows(const QString &nameRegex, bool shown, int timeoutMs)
{
    QString found;
    // xdotool's own --sync waits half a second between looks.
    (void)QTest::qWaitFor(
        [&] {
            tool(words("xdotool search --onlyvisible --name") << nameRegex, &found);
            return found.trimmed().isEmpty() != shown;
        },
        timeoutMs);
    return found.split(u'\n', Qt::SkipEmptyParts);
}

QStringList Desktop::stacking()
{
    QString ids, name;
    tool(words("xprop -root _NET_CLIENT_LIST_STACKING"), &ids);
    QStringList names;
    static const QRegularExpression id(u"0x[0-9a-f]+"_qs);
    for (const QRegularExpressionMatch &match : id.globalMatch(ids)) {
        tool(words("xdotool getwindowname") << match.captured(), &name);
        names << name.trimmed();
    }
    return names;
}

bool Desktop::startKivo(const QStringList &changes, const QString &workingFolder)
{
    if (kivo) {
        kivo->kill();
        kivo->waitForFinished();
        if (!gone(u"^KIVO - "_qs))
            return false;
    }
    // A desktop session's runtime folder, as every desktop has: Qt's stand-in
    // for it would sit in the temporary folder.
    const QStringList own{u"TMPDIR="_qs + temporary.path(),
                          u"XDG_RUNTIME_DIR="_qs + runtime.path()};
    kivo =
        launch({sse + u"/kivo"_qs}, own + changes, workingFolder.isEmpty() ? sse : workingFolder);
    const QStringList found = windows(u"^KIVO - "_qs);
    mainWindow = found.value(0);
    return found.size() == 1;
}

bool Desktop::type(const QStringList &keys, const QString &window)
{
    return tool(words("xdotool windowfocus --sync") << (window.isEmpty() ? mainWindow : window)) &&
           tool(words("xdotool key --delay 20") + keys);
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
    return log().constLast().value(u"arguments"_qs).toStringList();
}

QVariant Desktop::call(const QString &bus, const QString &path, const QString &interface,
                       const QString &method, const QList<QVariant> &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(bus, path, interface, method);
    message.setArguments(arguments);
    return QDBusConnection::connectToBus(atspi, u"a11y"_qs).call(message).arguments().value(0);
}

QList<Desktop::Accessible> Desktop::accessibles()
{
    const QString accessible = u"org.a11y.atspi.Accessible"_qs;
    const auto property = [&](const QString &bus, const QString &path, const char *name) {
        const QVariant value = call(bus, path, u"org.freedesktop.DBus.Properties"_qs, u"Get"_qs,
                                    {accessible, QString::fromLatin1(name)});
        return value.value<QDBusVariant>().variant().toString();
    };
    // An accessible object is a bus name and a path.
    using Objects = QList<std::pair<QString, QDBusObjectPath>>;
    // Of the programs on the desktop, kivo alone: a screen reader may be busy.
    const auto ours = [&](const QString &bus) {
        return kivo && call(u"org.freedesktop.DBus"_qs, u"/org/freedesktop/DBus"_qs,
                            u"org.freedesktop.DBus"_qs, u"GetConnectionUnixProcessID"_qs, {bus})
                               .toLongLong() == kivo->processId();
    };
    QList<Accessible> all;
    std::function<void(const QString &, const QString &, const QStringList &, int)> visit;
    visit = [&](const QString &bus, const QString &path, const QStringList &within, int position) {
        const auto ask = [&](const QString &name) { return call(bus, path, accessible, name); };
        const auto get = [&](const char *name) { return property(bus, path, name); };
        Accessible object{
            ask(u"GetRoleName"_qs).toString(), get("Name"), get("Description"), within, bus, path};
        object.text = call(bus, path, u"org.a11y.atspi.Text"_qs, u"GetText"_qs, {0, -1}).toString();
        const auto states = qdbus_cast<QList<uint>>(ask(u"GetState"_qs));
        object.states = states.value(0) | quint64(states.value(1)) << 32;
        object.position = position;
        for (const auto &[type, targets] :
             qdbus_cast<QList<std::pair<uint, Objects>>>(ask(u"GetRelationSet"_qs)))
            for (const auto &[labelBus, labelPath] : targets)
                if (type == 2) // labelled by
                    object.labelledBy.append(property(labelBus, labelPath.path(), "Name"));
        all.append(object);
        const Objects children = qdbus_cast<Objects>(ask(u"GetChildren"_qs));
        for (int child = 0; child < children.size(); ++child)
            if (!within.isEmpty() || ours(children[child].first))
                visit(children[child].first, children[child].second.path(),
                      QStringList{object.name} + within, child);
    };
    visit(u"org.a11y.atspi.Registry"_qs, u"/org/a11y/atspi/accessible/root"_qs, {}, -1);
    return all;
}

Desktop::Accessible Desktop::find(const QString &role, const QString &name, const QString &within)
{
    for (const Accessible &object : accessibles())
        if (object.role == role && object.name == name &&
            (within.isEmpty() || object.within.contains(within)))
            return object;
    lastError = QStringLiteral("no %1 %2 in %3").arg(role, name, within);
    return {};
}

bool Desktop::act(const Accessible &object)
{
    return !object.path.isEmpty() &&
           call(object.bus, object.path, u"org.a11y.atspi.Action"_qs, u"DoAction"_qs, {0}).toBool();
}

bool Desktop::stillThere(const Accessible &object)
{
    const QDBusMessage ask = QDBusMessage::createMethodCall(
        object.bus, object.path, u"org.a11y.atspi.Accessible"_qs, u"GetRoleName"_qs);
    return QDBusConnection::connectToBus(atspi, u"a11y"_qs).call(ask).type() ==
           QDBusMessage::ReplyMessage;
}

int Desktop::indexInParent(const Accessible &object)
{
    return call(object.bus, object.path, u"org.a11y.atspi.Accessible"_qs, u"GetIndexInParent"_qs)
        .toInt();
}

// Receives the events that programs send screen readers.
class Announcements : public QObject
{
    Q_OBJECT
public:
    explicit Announcements(QStringList &names) : names(names) {}
    QStringList &names;
public slots:
    void changed(const QDBusMessage &event)
    {
        const QString kind = event.arguments().value(0).toString();
        if (kind == u"accessible-name" || kind == u"insert")
            names << event.arguments().value(3).value<QDBusVariant>().variant().toString();
    }
};

bool Desktop::listen()
{
    // A program sends the events a listener on the bus has asked for.
    call(u"org.a11y.atspi.Registry"_qs, u"/org/a11y/atspi/registry"_qs,
         u"org.a11y.atspi.Registry"_qs, u"RegisterEvent"_qs, {u"object:"_qs});
    QDBusConnection connection = QDBusConnection::connectToBus(atspi, u"a11y"_qs);
    auto *announcements = new Announcements(announced);
    bool listening = true;
    for (const QString &event : {u"PropertyChange"_qs, u"TextChanged"_qs})
        listening =
            listening && connection.connect({}, {}, u"org.a11y.atspi.Event.Object"_qs, event,
                                            announcements, SLOT(changed(QDBusMessage)));
    return listening;
}

#include "desktop.moc"

bool Desktop::startOrca()
{
    const QString socket = config.filePath(u"speechd.sock"_qs);
    launch(words("speech-dispatcher -s -t 0 -c unix_socket -S")
           << socket << u"-C"_qs << QStringLiteral(SPEECHD_CONFIG) << u"-L"_qs << config.path()
           << u"-P"_qs << config.filePath(u"speechd.pid"_qs));
    // Python writes Orca's log line by line only to a terminal.
    termios raw;
    terminal = posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0 || grantpt(terminal) || unlockpt(terminal) || tcgetattr(terminal, &raw))
        return false;
    cfmakeraw(&raw);
    tcsetattr(terminal, TCSANOW, &raw);
    orcaLog = std::make_unique<QSocketNotifier>(terminal, QSocketNotifier::Read);
    QObject::connect(orcaLog.get(), &QSocketNotifier::activated, [this] { hearOrca(); });
    QProcess *orca = launch(
        words("orca -d braille,key-echo -u") << config.filePath(u"orca"_qs) << u"--debug-file"_qs
                                             << QString::fromLocal8Bit(ptsname(terminal)),
        {u"GSETTINGS_BACKEND=memory"_qs, u"SPEECHD_ADDRESS=unix_socket:"_qs + socket});
    // Its first words say it is on.
    lastError = u"Orca said nothing; it refuses to start beside another Orca of this user"_qs;
    return QTest::qWaitFor([&] { return !spoken.isEmpty(); }, patience) &&
           orca->state() == QProcess::Running;
}

void Desktop::hearOrca()
{
    char chunk[65536];
    const ssize_t got = read(terminal, chunk, sizeof chunk);
    if (got <= 0)
        return orcaLog->setEnabled(false);
    unheard += fromUtf8(QByteArrayView(chunk, got));
    // Orca's lines: an utterance, quoted, its voice after it, over several
    // lines where it breaks lines; its answer on each key event, and the end
    // of each event it handles.
    for (qsizetype end; (end = unheard.indexOf(u'\n')) >= 0;) {
        const QString line = unheard.left(end);
        unheard.remove(0, end + 1);
        const qsizetype start = line.indexOf(u"SPEECH OUTPUT: '");
        if (start >= 0)
            utterance = line.mid(start + 16);
        else if (!utterance.isNull())
            utterance += u'\n' + line;
        else if (line.contains(u"^^^^^ PROCESS"))
            presenting = false;
        else if (line.contains(u" - CONSUME: "))
            ++answers;
        const qsizetype voice =
            std::max(utterance.lastIndexOf(u"'{"), utterance.lastIndexOf(u"'[{"));
        if (!utterance.isNull() && voice >= 0 && (line.endsWith(u'}') || line.endsWith(u']'))) {
            spoken << utterance.left(voice).simplified();
            utterance = QString();
            presenting = true;
        }
    }
}

bool Desktop::press(const QStringList &keys, const QString &window)
{
    for (const QString &key : keys) {
        QCoreApplication::processEvents(); // what Orca said before the key
        const qsizetype before = answers;
        since = spoken.size();
        if (!tool(words("xdotool windowfocus --sync")
                  << (window.isEmpty() ? mainWindow : window)) ||
            !tool(words("xdotool keydown") << key) ||
            !QTest::qWaitFor([&] { return answers > before; }, patience) ||
            !tool(words("xdotool keyup") << key) || !says(QString()))
            return false;
    }
    return true;
}

bool Desktop::says(const QString &text)
{
    return QTest::qWaitFor([&] { return !presenting && heard(text) > 0; }, patience);
}

qsizetype Desktop::heard(const QString &text) const
{
    return QStringList(spoken.mid(since)).filter(text.simplified()).size();
}

const char *Desktop::said()
{
    return (shown = (spoken.isEmpty() ? lastError : spoken.mid(since).join(u'|')).toUtf8())
        .constData();
}

Desktop::Accessible Desktop::focused()
{
    Accessible found;
    (void)QTest::qWaitFor(
        [&] {
            for (const Accessible &object : accessibles())
                if (object.is(12) && !(found = object).name.isEmpty())
                    return true;
            return false;
        },
        patience);
    return found;
}

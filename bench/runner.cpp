// kivo_bench: measures KIVO against a yardstick side by side, round after
// round in alternating order, and prints the medians and their ratios.
// Started by bench/run; see docs/performance.md.
//
//   kivo_bench [--rounds N] [--files N] [--only FIGURE] [--keep]
//
// --only runs one figure (1 and 2 go together), e.g. under callgrind;
// --keep leaves the temporary folder, with its full store, to look into.

#include "mainwindow/form1.h"
#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/settingsstore.h"
#include "picker/aprifile.h"
#include "picker/mountedvolumes.h"
#include "ui_aprifile.h"
#include "ui_form1.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

long long now()
{
    timespec at{};
    ::clock_gettime(CLOCK_MONOTONIC, &at);
    return static_cast<long long>(at.tv_sec) * 1000000000LL + at.tv_nsec;
}

double milliseconds(long long nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The fixture's folder, removed on failure too: it holds 100,000 files.
QTemporaryDir *fixtureFolder = nullptr;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "kivo_bench: %s\n", qPrintable(why));
    if (fixtureFolder && fixtureFolder->autoRemove())
        fixtureFolder->remove();
    std::exit(1);
}

// ---- Child processes -----------------------------------------------------

struct Child {
    long long elapsed = 0; // from just before the spawn to its exit, ns
    long long idleAt = 0;  // the idle probe's moment, CLOCK_MONOTONIC ns; 0 if none
    long long startedAt = 0;
    QSize windowSize; // the largest window the idle probe saw
    long maxRssKiB = 0;
    int exitStatus = -1;
};

enum class Output { Read, Discarded };

// Runs a program with an argument list, no shell, and waits for it. Its
// standard output is read for the idle probe's line, or discarded; its
// errors go to errorFile (or nowhere).
Child runChild(const QStringList &arguments, const QProcessEnvironment &environment,
               const QString &folder, const QString &errorFile = QString(),
               Output output = Output::Read)
{
    std::vector<QByteArray> argumentBytes, environmentBytes;
    for (const QString &argument : arguments)
        argumentBytes.push_back(QFile::encodeName(argument));
    for (const QString &variable : environment.toStringList())
        environmentBytes.push_back(variable.toLocal8Bit());
    std::vector<char *> argv, envp;
    for (QByteArray &bytes : argumentBytes)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    for (QByteArray &bytes : environmentBytes)
        envp.push_back(bytes.data());
    envp.push_back(nullptr);

    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0)
        fail(QStringLiteral("pipe failed"));
    const QByteArray folderBytes = QFile::encodeName(folder);
    const QByteArray errorBytes =
        errorFile.isEmpty() ? QByteArray("/dev/null") : QFile::encodeName(errorFile);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (output == Output::Read)
        posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorBytes.constData(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addchdir_np(&actions, folderBytes.constData());

    Child child;
    pid_t pid = 0;
    child.startedAt = now();
    const int spawned =
        ::posix_spawn(&pid, argv.front(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe[1]);
    if (spawned != 0)
        fail(QStringLiteral("cannot start %1").arg(arguments.first()));

    QByteArray printed;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipe[0], buffer, sizeof buffer);
        if (got > 0)
            printed.append(buffer, got);
        else if (got == 0 || errno != EINTR)
            break;
    }
    ::close(pipe[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    child.elapsed = now() - child.startedAt;
    child.maxRssKiB = usage.ru_maxrss;
    child.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const qsizetype at = printed.indexOf("idle ");
    if (at >= 0) {
        const QList<QByteArray> words = printed.mid(at).split('\n').first().split(' ');
        child.idleAt = words.value(1).toLongLong();
        child.windowSize = QSize(words.value(2).toInt(), words.value(3).toInt());
    }
    return child;
}

// ---- In-process measuring --------------------------------------------------

// Remembers which widgets were painted since the last reset, of the paints
// that count.
class PaintWatch : public QObject
{
public:
    PaintWatch() { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && (!counts || counts(watched)))
            painted.insert(watched);
        return false;
    }
    std::function<bool(const QObject *)> counts;
    bool wasPainted(const QObject *object) const { return painted.contains(object); }
    void reset() { painted.clear(); }

private:
    QSet<const QObject *> painted;
};

// Runs the event loop until it is about to wait with ready() true; returns
// that moment, or 0 after timeoutMs.
long long waitForIdle(const std::function<bool()> &ready, int timeoutMs = 60000)
{
    QEventLoop loop;
    long long at = 0;
    const auto idle = [&] {
        if (at == 0 && ready()) {
            at = now();
            loop.quit();
        }
    };
    const auto connection = QObject::connect(QAbstractEventDispatcher::instance(),
                                             &QAbstractEventDispatcher::aboutToBlock, &loop, idle);
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(connection);
    return at;
}

bool shownAndPainted(QWidget *window, const PaintWatch &paints)
{
    return window && window->isVisible() && window->windowHandle() &&
           window->windowHandle()->isExposed() && paints.wasPainted(window);
}

// The longest time between two ticks of a 10 ms timer: how long the event
// loop, and so the window, did not answer.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        timer.setTimerType(Qt::PreciseTimer);
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [this] { tick(); });
    }
    void start()
    {
        longest = 0;
        last = now();
        timer.start();
    }
    long long stop()
    {
        tick();
        timer.stop();
        return longest;
    }

private:
    void tick()
    {
        const long long at = now();
        longest = std::max(longest, at - last);
        last = at;
    }
    QTimer timer;
    long long last = 0;
    long long longest = 0;
};

// ---- The platform for in-process runs --------------------------------------

class FolderOf : public kivo::OwnFolder
{
public:
    explicit FolderOf(const QString &folder) : folder(folder) {}
    QString path() const override { return folder; }

private:
    QString folder;
};

// A box during a benchmark means the set-up is wrong: say so and go on.
class CountingBoxes : public kivo::MessageBoxes
{
public:
    void show(QWidget &, const QString &text, kivo::BoxIcon, const QString &) override
    {
        ++shown;
        std::fprintf(stderr, "kivo_bench: unexpected message box: %s\n", qPrintable(text));
    }
    int shown = 0;
};

// ---- The fixture -------------------------------------------------------------

bool makeFile(const QString &path, const QByteArray &contents = QByteArray("KIVO bench data\n"))
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// Names like those of a real headers folder: words, numbers, two cases.
QString headerName(int index)
{
    static const char *const first[] = {"Astal",    "Burning",  "Clockwork", "Dragon", "Enemy",
                                        "Fighters", "Guardian", "Hyper",     "Iron",   "Jewel",
                                        "Knights",  "Last",     "Magic",     "Night",  "Outrun",
                                        "Panzer",   "Quest",    "Radiant",   "Sonic",  "Thunder",
                                        "Ultra",    "Virtua",   "World",     "X-Men",  "Zero"};
    static const char *const second[] = {"Arena",  "battle", "Cop",     "Deluxe", "Edition",
                                         "Force",  "Galaxy", "heroes",  "Island", "Junction",
                                         "Legend", "Mania",  "Network", "Odyssey"};
    const int words = index % 25;
    const int more = (index / 25) % 14;
    const QString extension = index % 20 == 0 ? QStringLiteral("SGH") : QStringLiteral("sgh");
    return QStringLiteral("%1 %2 (Disc %3).%4")
        .arg(QLatin1String(first[words]), QLatin1String(second[more]))
        .arg(index)
        .arg(extension);
}

struct Fixture {
    QTemporaryDir temp;
    QString sse;              // the SSE folder: kivo, sse.exe, headers, bios, backups
    QString config;           // XDG_CONFIG_HOME
    QString store;            // config/KIVO/KIVO.ini
    QString pristine;         // the full store as written, copied back before each run
    QString kivo, bare, text; // the start-up programs, beside sse.exe as after an install
    int headers = 0;
};

void writeFullStore(const QString &file, const QString &sse)
{
    // Every key that the main window restores, in both sections, holding
    // what start-up would show and save again: so start-up changes nothing.
    kivo::IniSettingsStore store(file);
    store.hold();
    const QString general = kivo::sectionGeneral;
    const QString last = kivo::sectionLastFolders;
    store.save(general, QStringLiteral("language"), QStringLiteral("Italiano"));
    store.save(general, QStringLiteral("firstrun"), QStringLiteral("no"));
    store.save(general, QStringLiteral("system-sat"), QStringLiteral("True"));
    store.save(general, QStringLiteral("system-stv"), QStringLiteral("False"));
    store.save(general, QStringLiteral("stvrom"), QStringLiteral("10"));
    store.save(general, QStringLiteral("res"), QStringLiteral("1"));
    store.save(general, QStringLiteral("stretch"), QStringLiteral("2"));
    store.save(general, QStringLiteral("drive"), QStringLiteral("4"));
    for (int box = 1; box <= 6; ++box)
        store.save(general, QStringLiteral("opz%1").arg(box), QStringLiteral("1"));
    const QList<QPair<int, QString>> files{{1, headerName(21)},
                                           {3, QStringLiteral("saturn.bin")},
                                           {4, QStringLiteral("stv.bin")},
                                           {5, QStringLiteral("intback.bin")},
                                           {6, QStringLiteral("cart.bin")}};
    for (const auto &[number, name] : files) {
        store.save(last, QStringLiteral("text%1").arg(number), name);
        store.save(last, QStringLiteral("text%1tag").arg(number), name);
    }
    store.save(last, QStringLiteral("text7"), sse);
    store.save(last, QStringLiteral("text7tag"), QDir(sse).canonicalPath());
    store.save(last, QStringLiteral("load-lastdrive1"), QStringLiteral("/"));
    store.save(last, QStringLiteral("load-lastdir1"), sse);
    store.release();
}

void makeFixture(Fixture &fixture, const QStringList &programs, int headerCount)
{
    if (!fixture.temp.isValid())
        fail(QStringLiteral("no temporary folder"));
    const QString root = fixture.temp.path();
    fixture.sse = root + QStringLiteral("/SSE");
    fixture.config = root + QStringLiteral("/config");
    QDir().mkpath(fixture.sse + QStringLiteral("/headers"));
    QDir().mkpath(fixture.sse + QStringLiteral("/bios"));
    QDir().mkpath(fixture.config + QStringLiteral("/KIVO"));
    QDir().mkpath(root + QStringLiteral("/runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    fixture.kivo = fixture.sse + QStringLiteral("/kivo");
    fixture.bare = fixture.sse + QStringLiteral("/bare");
    fixture.text = fixture.sse + QStringLiteral("/bare-text");
    const QStringList copies{fixture.kivo, fixture.bare, fixture.text,
                             fixture.sse + QStringLiteral("/sse.exe")};
    for (int index = 0; index < copies.size(); ++index) {
        if (!QFile::copy(programs.at(index), copies.at(index)))
            fail(QStringLiteral("cannot copy %1").arg(programs.at(index)));
    }
    for (const QString &name : {QStringLiteral("bios/saturn.bin"), QStringLiteral("bios/stv.bin"),
                                QStringLiteral("intback.bin"), QStringLiteral("cart.bin")})
        makeFile(fixture.sse + QLatin1Char('/') + name);
    makeFile(fixture.sse + QStringLiteral("/sse.cfg"), "; KIVO bench data\n");

    // Plain system calls: a QFile for each of 100,000 files costs seconds.
    for (int index = 0; index < headerCount; ++index) {
        const QByteArray name =
            QFile::encodeName(fixture.sse + QStringLiteral("/headers/") + headerName(index));
        const int file = ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        if (file < 0)
            fail(QStringLiteral("cannot make the headers"));
        ::close(file);
    }
    fixture.headers = headerCount;

    fixture.store = fixture.config + QStringLiteral("/KIVO/KIVO.ini");
    fixture.pristine = root + QStringLiteral("/full-store.ini");
    writeFullStore(fixture.pristine, fixture.sse);
}

void restoreStore(const Fixture &fixture)
{
    QFile::remove(fixture.store);
    if (!QFile::copy(fixture.pristine, fixture.store))
        fail(QStringLiteral("cannot copy the store"));
}

// KIVO's own platform on a fresh copy of the full store, counting boxes only.
struct RealPlatform {
    explicit RealPlatform(const Fixture &fixture)
        : restored((restoreStore(fixture), true)), ownFolder(fixture.sse)
    {
        if (settings.fileName() != fixture.store)
            fail(QStringLiteral("the store is %1, not the fixture's").arg(settings.fileName()));
    }
    bool restored; // first: the store is copied before it is opened
    kivo::IniSettingsStore settings;
    kivo::InstalledWine wine;
    kivo::DetachedProcessStarter processes{wine};
    CountingBoxes boxes;
    FolderOf ownFolder;
    kivo::MountedVolumes volumes;
    kivo::Platform platform{settings, processes, boxes, ownFolder, volumes};
};

QProcessEnvironment childEnvironment(const Fixture &fixture)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), fixture.config);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                       fixture.temp.path() + QStringLiteral("/runtime"));
    environment.insert(QStringLiteral("KIVO_BENCH_IDLE"), QStringLiteral("1"));
    environment.insert(QStringLiteral("SSE_STANDIN_NO_WINDOW"), QStringLiteral("1"));
    environment.remove(QStringLiteral("KIVO_BENCH_CLICK"));
    return environment;
}

// ---- Printing ------------------------------------------------------------

// One line of the table: what, KIVO's figure, the yardstick's, the ratio,
// the target and whether it is met.
void printRow(const QString &what, const QString &kivo, const QString &yardstick,
              const QString &ratio, const QString &target, const char *verdict)
{
    std::printf("%-46s %11s %14s %7s  %-9s %s\n", qPrintable(what), qPrintable(kivo),
                qPrintable(yardstick), qPrintable(ratio), qPrintable(target), verdict);
    std::fflush(stdout);
}

QString times(double ratio)
{
    return QString::number(ratio, 'f', 2) + QLatin1Char('x');
}

struct Figure {
    QString what;
    QString kivo;
    QString yardstick;
    double ratio = 0;
    double target = 0;
};

void printFigure(const Figure &figure)
{
    printRow(figure.what, figure.kivo, figure.yardstick, times(figure.ratio),
             QStringLiteral("<= ") + times(figure.target),
             figure.ratio <= figure.target ? "met" : "MISSED");
}

// A second yardstick, printed for what it tells, with no target.
void printReference(const QString &what, const QString &yardstick, double ratio)
{
    printRow(what, QString(), yardstick, times(ratio), QString(), "");
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1) + QStringLiteral(" ms");
}

QString mib(double kib)
{
    return QString::number(kib / 1024, 'f', 1) + QStringLiteral(" MiB");
}

// ---- 1 and 2: start-up time and peak memory --------------------------------

void startup(const Fixture &fixture, int rounds)
{
    const QProcessEnvironment environment = childEnvironment(fixture);
    const QString errors = fixture.temp.path() + QStringLiteral("/startup-errors.log");
    const auto run = [&](const QStringList &arguments) {
        restoreStore(fixture);
        const Child child = runChild(arguments, environment, fixture.sse, errors);
        if (child.idleAt == 0 || child.exitStatus != 0)
            fail(QStringLiteral("a start-up program did not reach idle; see %1").arg(errors));
        return child;
    };

    // KIVO's window size, for the reference of the same size; this first
    // run also warms the caches.
    const QSize size = run({fixture.kivo}).windowSize;
    // KIVO, the bare window, and for reference the bare window with one line
    // of text, at its own size and at KIVO's.
    const QList<QStringList> programs{
        {fixture.kivo},
        {fixture.bare},
        {fixture.text},
        {fixture.text, QString::number(size.width()), QString::number(size.height())}};
    const int count = static_cast<int>(programs.size());
    std::vector<std::vector<double>> elapsed(count), memory(count), timeRatios(count),
        memoryRatios(count);
    for (const QStringList &program : programs)
        run(program);
    for (int round = 0; round < rounds; ++round) {
        std::vector<Child> runs(count);
        for (int turn = 0; turn < count; ++turn) {
            // Each program takes each place in the order in turn.
            const int program = (turn + round) % count;
            runs[program] = run(programs.at(program));
        }
        for (int program = 0; program < count; ++program) {
            elapsed[program].push_back(
                milliseconds(runs[program].idleAt - runs[program].startedAt));
            memory[program].push_back(double(runs[program].maxRssKiB));
        }
        for (int program = 0; program < count; ++program) {
            timeRatios[program].push_back(elapsed[0].back() / elapsed[program].back());
            memoryRatios[program].push_back(memory[0].back() / memory[program].back());
        }
    }
    const QString sized = QStringLiteral("   reference: the same at KIVO's size %1x%2")
                              .arg(size.width())
                              .arg(size.height());
    printFigure({QStringLiteral("1. Start-up to window shown and idle"), ms(median(elapsed[0])),
                 ms(median(elapsed[1])), median(timeRatios[1]), 1.25});
    printReference(QStringLiteral("   reference: a window with one line of text"),
                   ms(median(elapsed[2])), median(timeRatios[2]));
    printReference(sized, ms(median(elapsed[3])), median(timeRatios[3]));
    printFigure({QStringLiteral("2. Peak memory (max RSS) of that start-up"),
                 mib(median(memory[0])), mib(median(memory[1])), median(memoryRatios[1]), 1.15});
    printReference(QStringLiteral("   reference: a window with one line of text"),
                   mib(median(memory[2])), median(memoryRatios[2]));
    printReference(sized, mib(median(memory[3])), median(memoryRatios[3]));
}

// ---- 3: store writes -------------------------------------------------------

struct Writes {
    int replaced = 0; // a new file renamed or linked onto KIVO.ini
    int direct = 0;   // KIVO.ini opened to write into it in place
    int synced = 0;   // data syncs of the new file (the lock file aside)
    int total() const { return replaced + direct; }
};

// QSettings writes a new file beside the old one (O_TMPFILE, or a named
// temporary), syncs it, and puts it in place with rename or link: one such
// placing is one write of the file.
Writes countWrites(const QString &straceLog, const QString &storeFolder)
{
    QFile log(straceLog);
    if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
        fail(QStringLiteral("no strace log"));
    static const QRegularExpression placed(
        QString::fromUtf8(R"re((rename|link)\w*\(.*"([^"]*)"[^"]*\)\s*=\s*0)re"));
    static const QRegularExpression opened(
        QString::fromUtf8(R"re(open\w*\(.*"([^"]*)",\s*([A-Z_|]+).*\)\s*=\s*\d+)re"));
    static const QRegularExpression synced(
        QString::fromUtf8(R"re(f(data)?sync\(\d+<([^>]*)>.*\)\s*=\s*0)re"));
    const QString store = storeFolder + QStringLiteral("/KIVO.ini");
    Writes writes;
    while (!log.atEnd()) {
        const QString line = QString::fromLocal8Bit(log.readLine());
        if (const auto match = placed.match(line); match.hasMatch() && match.captured(2) == store)
            ++writes.replaced;
        if (const auto match = opened.match(line);
            match.hasMatch() && match.captured(1) == store &&
            (match.captured(2).contains(u"O_TRUNC") || match.captured(2).contains(u"O_WRONLY") ||
             match.captured(2).contains(u"O_APPEND")))
            ++writes.direct;
        if (const auto match = synced.match(line);
            match.hasMatch() && match.captured(2).startsWith(storeFolder + QLatin1Char('/')) &&
            !match.captured(2).endsWith(u".lock"))
            ++writes.synced;
    }
    return writes;
}

Writes tracedStartup(const Fixture &fixture, const QString &strace, const QString &click)
{
    QProcessEnvironment environment = childEnvironment(fixture);
    if (!click.isEmpty())
        environment.insert(QStringLiteral("KIVO_BENCH_CLICK"), click);
    const QString log = fixture.temp.path() + QStringLiteral("/strace.log");
    QFile::remove(log);
    restoreStore(fixture);
    const Child run =
        runChild({strace, QStringLiteral("-f"), QStringLiteral("-qq"), QStringLiteral("-y"),
                  QStringLiteral("-o"), log, QStringLiteral("-e"),
                  QStringLiteral("trace=rename,renameat,renameat2,link,linkat,"
                                 "open,openat,creat,fsync,fdatasync"),
                  QStringLiteral("--"), fixture.kivo},
                 environment, fixture.sse);
    if (run.idleAt == 0 || run.exitStatus != 0)
        fail(QStringLiteral("the traced start-up did not finish"));
    return countWrites(log, QFileInfo(fixture.store).path());
}

void storeWrites(const Fixture &fixture)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty()) {
        std::printf("3. KIVO.ini writes: strace not found (bench/run installs it)\n");
        return;
    }
    const auto print = [](const char *what, const Writes &writes, int target) {
        printRow(QString::fromUtf8(what), QString::number(writes.total()),
                 QStringLiteral("%1 fsync").arg(writes.synced), QString(),
                 QStringLiteral("= %1").arg(target), writes.total() == target ? "met" : "MISSED");
    };
    print("3. KIVO.ini writes: start-up, store unchanged", tracedStartup(fixture, strace, {}), 0);
    // Ticking "No DSP" is one choice a person makes.
    print("   KIVO.ini writes: start-up, one choice",
          tracedStartup(fixture, strace, QStringLiteral("Check4")), 1);
    std::fflush(stdout);
}

// ---- 4: Run SSE ----------------------------------------------------------

int logLines(const QString &file)
{
    QFile log(file);
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return static_cast<int>(log.readAll().count('\n'));
}

// Waits until the stand-in has written its line: the next start gets the machine to itself.
void waitForStandIn(const QString &log, int lines)
{
    const long long until = now() + 10'000'000'000LL;
    while (logLines(log) < lines) {
        if (now() > until)
            fail(QStringLiteral("the stand-in sse.exe did not run"));
        ::usleep(2000);
    }
}

void runSse(const Fixture &fixture, int rounds)
{
    RealPlatform real(fixture);
    kivo::Platform &platform = real.platform;
    const CountingBoxes &boxes = real.boxes;
    PaintWatch paints;
    Form1 form(platform);
    form.show();
    if (!waitForIdle([&] { return shownAndPainted(&form, paints); }))
        fail(QStringLiteral("the main window did not show"));

    const QStringList line = form.launchDecision().line.arguments();
    if (line.isEmpty())
        fail(QStringLiteral("Run SSE would start nothing"));
    const QString program = QDir(fixture.sse).filePath(line.first());
    const QStringList arguments = line.mid(1);
    const QString log = fixture.sse + QStringLiteral("/sse-standin.log");
    int lines = logLines(log);

    // Five pairs of starts per round, each pair compared on its own: a start
    // takes milliseconds, and the machine's noise is of that size too.
    const int pairsPerRound = 5;
    std::vector<double> kivoMs, plainMs, ratios;
    for (int pair = -pairsPerRound; pair < rounds * pairsPerRound; ++pair) {
        long long kivoTime = 0, plainTime = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool kivoNow = (turn == 0) == (pair % 2 == 0);
            const long long start = now();
            if (kivoNow) {
                form.ui->Command8->click();
                kivoTime = now() - start;
            } else {
                if (!QProcess::startDetached(program, arguments, fixture.sse))
                    fail(QStringLiteral("cannot start the stand-in"));
                plainTime = now() - start;
            }
            waitForStandIn(log, ++lines);
            // Let the stand-in end before the next start.
            ::usleep(20000);
        }
        if (pair < 0)
            continue;
        kivoMs.push_back(milliseconds(kivoTime));
        plainMs.push_back(milliseconds(plainTime));
        ratios.push_back(double(kivoTime) / double(plainTime));
    }
    if (boxes.shown > 0)
        fail(QStringLiteral("Run SSE showed a message instead of starting the emulator"));
    QFile standInLog(log);
    if (standInLog.open(QIODevice::ReadOnly) && standInLog.readAll().contains("\"accepted\":false"))
        fail(QStringLiteral("the stand-in refused a launch; see %1").arg(log));
    printFigure({QStringLiteral("4. Run SSE pressed to emulator started"), ms(median(kivoMs)),
                 ms(median(plainMs)), median(ratios), 1.2});
}

// ---- 5: the picker on a large folder ---------------------------------------

void picker(const Fixture &fixture, int rounds)
{
    RealPlatform real(fixture);
    kivo::Platform &platform = real.platform;
    const CountingBoxes &boxes = real.boxes;
    PaintWatch paints;
    StallMeter stalls;
    const QString headers = fixture.sse + QStringLiteral("/headers");
    const QString ls = QStandardPaths::findExecutable(QStringLiteral("ls"));
    if (ls.isEmpty())
        fail(QStringLiteral("ls not found"));
    const QProcessEnvironment environment = childEnvironment(fixture);

    std::vector<double> pickerMs, lsMs, ratios, stallMs;
    for (int round = -1; round < rounds; ++round) {
        double pickerTime = 0, lsTime = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool pickerNow = (turn == 0) == (round % 2 == 0);
            if (!pickerNow) {
                const Child listing = runChild({ls, QStringLiteral("-f"), headers}, environment,
                                               fixture.sse, QString(), Output::Discarded);
                lsTime = milliseconds(listing.elapsed);
                continue;
            }
            auto form = std::make_unique<Form1>(platform);
            form->show();
            if (!waitForIdle([&] { return shownAndPainted(form.get(), paints); }))
                fail(QStringLiteral("the main window did not show"));

            stalls.start();
            long long start = 0;
            QTimer::singleShot(0, form.get(), [&] {
                start = now();
                form->ui->Command1->click();
                // Whatever was painted so far showed an older list.
                paints.reset();
            });
            // The list counts as shown once painted with every file in it.
            const auto fileList = [&]() -> FileListBox * {
                return form->apriFile ? form->apriFile->ui->File1 : nullptr;
            };
            paints.counts = [&](const QObject *object) {
                FileListBox *list = fileList();
                return !list || object != list->viewport() ||
                       list->model()->rowCount() == fixture.headers;
            };
            const auto listShown = [&] {
                FileListBox *list = fileList();
                return list && shownAndPainted(form->apriFile, paints) &&
                       paints.wasPainted(list->viewport());
            };
            const long long shown = waitForIdle(listShown);
            const long long stall = stalls.stop();
            paints.counts = nullptr;
            if (shown == 0)
                fail(QStringLiteral("the picker did not show the %1 headers").arg(fixture.headers));
            pickerTime = milliseconds(shown - start);
            if (round >= 0)
                stallMs.push_back(milliseconds(stall));
            form->apriFile->close();
            form.reset();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (round < 0)
            continue;
        pickerMs.push_back(pickerTime);
        lsMs.push_back(lsTime);
        ratios.push_back(pickerTime / lsTime);
    }
    if (boxes.shown > 0)
        fail(QStringLiteral("the picker showed a message"));
    printFigure({QStringLiteral("5. Picker, %1 files: request to list shown").arg(fixture.headers),
                 ms(median(pickerMs)), QStringLiteral("ls -f ") + ms(median(lsMs)), median(ratios),
                 3.0});
    const double longest = *std::max_element(stallMs.begin(), stallMs.end());
    printRow(QStringLiteral("   longest event-loop stall meanwhile"), ms(longest),
             QStringLiteral("(median %1)").arg(ms(median(stallMs))), QString(),
             QStringLiteral("<= 200 ms"), longest <= 200 ? "met" : "MISSED");
}

QtMessageHandler standardHandler = nullptr;

// The offscreen platform's notices of what it cannot do, and the missing
// runtime folder, say nothing about KIVO: only they are left out.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(u"This plugin does not support") ||
        message.startsWith(u"QStandardPaths: XDG_RUNTIME_DIR not set"))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readLine().split(' ').mid(0, 3).join(' ')
                                          : QByteArray("?");
}

} // namespace

int main(int argc, char *argv[])
{
    // Both sides offscreen, as the start-up programs are.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    standardHandler = qInstallMessageHandler(quietHandler);
    qputenv("SSE_STANDIN_NO_WINDOW", "1");
    QApplication application(argc, argv);
    application.setApplicationName(kivo::applicationTitle);

    QStringList arguments = QCoreApplication::arguments().mid(1);
    int rounds = 11;
    int files = 100000;
    int only = 0;
    const bool keep = arguments.removeAll(QStringLiteral("--keep")) > 0;
    for (int index = 0; index + 1 < arguments.size(); ++index) {
        const QString &option = arguments.at(index);
        if (option == u"--rounds" || option == u"--files" || option == u"--only") {
            const int value = std::max(1, arguments.at(index + 1).toInt());
            (option == u"--rounds" ? rounds : option == u"--files" ? files : only) = value;
            arguments.remove(index, 2);
            --index;
        }
    }
    if (!arguments.isEmpty())
        fail(QStringLiteral("usage: kivo_bench [--rounds N] [--files N] [--only FIGURE] [--keep]"));

    Fixture fixture;
    fixtureFolder = &fixture.temp;
    makeFixture(fixture,
                {QStringLiteral(BENCH_KIVO_BINARY), QStringLiteral(BENCH_BARE_BINARY),
                 QStringLiteral(BENCH_BARE_TEXT_BINARY), QStringLiteral(SSE_STANDIN_BINARY)},
                files);
    if (keep) {
        fixture.temp.setAutoRemove(false);
        std::printf("Kept: %s (SSE/, config/, and the full store full-store.ini)\n",
                    qPrintable(fixture.temp.path()));
    }
    // The in-process runs read the same store through the real default path.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(fixture.config));
    QDir::setCurrent(fixture.sse);

    std::printf("KIVO benchmarks: %d rounds, KIVO and yardstick taking turns; medians, and for\n"
                "the ratio the median of each round's ratio. %u cores, load average %s.\n",
                rounds, std::thread::hardware_concurrency(), loadAverage().constData());
    printRow(QString(), QStringLiteral("KIVO"), QStringLiteral("yardstick"),
             QStringLiteral("ratio"), QStringLiteral("target"), "");
    if (only == 0 || only == 1 || only == 2)
        startup(fixture, rounds);
    if (only == 0 || only == 3)
        storeWrites(fixture);
    if (only == 0 || only == 4)
        runSse(fixture, rounds);
    if (only == 0 || only == 5)
        picker(fixture, rounds);
    std::printf("Load average at the end: %s.\n", loadAverage().constData());
    return 0;
}

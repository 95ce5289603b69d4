// The shared parts of kivo_bench; see bench.h.

#include "bench.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace bench
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

QTemporaryDir *fixtureFolder = nullptr;

[[noreturn]] void fail(const QString &why)
{
    std::fprintf(stderr, "kivo_bench: %s\n", qPrintable(why));
    if (fixtureFolder && fixtureFolder->autoRemove())
        fixtureFolder->remove();
    std::exit(1);
}

// ---- Child processes -----------------------------------------------------

Child runChild(const QStringList &arguments, const QProcessEnvironment &environment,
               const QString &folder, const QString &errorFile, Output output)
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

long long waitForIdle(const std::function<bool()> &ready, int timeoutMs)
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

// ---- The fixture -------------------------------------------------------------

namespace
{

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

} // namespace

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

void printRow(const QString &what, const QString &kivo, const QString &yardstick,
              const QString &ratio, const QString &target, const char *verdict)
{
    std::printf("%-46s %11s %14s %7s  %-9s %s\n", qPrintable(what), qPrintable(kivo),
                qPrintable(yardstick), qPrintable(ratio), qPrintable(target), verdict);
    std::fflush(stdout);
}

namespace
{

QString times(double ratio)
{
    return QString::number(ratio, 'f', 2) + QLatin1Char('x');
}

} // namespace

void printFigure(const Figure &figure)
{
    printRow(figure.what, figure.kivo, figure.yardstick, times(figure.ratio),
             QStringLiteral("<= ") + times(figure.target),
             figure.ratio <= figure.target ? "met" : "MISSED");
}

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

} // namespace bench

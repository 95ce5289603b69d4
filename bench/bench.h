// What the figures of kivo_bench share: the clock, the child processes, the
// in-process measuring, the platform for in-process runs, the fixture and the
// table. Each figure has a file of its own and one function that main calls.

#pragma once

#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/settingsstore.h"
#include "picker/mountedvolumes.h"

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QProcessEnvironment>
#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <vector>

namespace bench
{

// CLOCK_MONOTONIC in ns: the clock the idle probe prints, so both sides compare.
long long now();
double milliseconds(long long nanoseconds);
double median(std::vector<double> values);

// The fixture's folder, removed on failure too: it holds 100,000 files.
extern QTemporaryDir *fixtureFolder;

// Prints why and exits, removing the fixture's folder first.
[[noreturn]] void fail(const QString &why);

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
               Output output = Output::Read);

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
long long waitForIdle(const std::function<bool()> &ready, int timeoutMs = 60000);

// A window counts as shown once exposed and painted at least once.
bool shownAndPainted(QWidget *window, const PaintWatch &paints);

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

struct Fixture {
    QTemporaryDir temp;
    QString sse;              // the SSE folder: kivo, sse.exe, headers, bios, backups
    QString config;           // XDG_CONFIG_HOME
    QString store;            // config/KIVO/KIVO.ini
    QString pristine;         // the full store as written, copied back before each run
    QString kivo, bare, text; // the start-up programs, beside sse.exe as after an install
    int headers = 0;
};

// Makes the SSE folder, its headers and the full store in fixture.temp;
// programs are KIVO, the bare window, the one with text and the stand-in.
void makeFixture(Fixture &fixture, const QStringList &programs, int headerCount);

// Puts the full store back, so that each run starts from the same one.
void restoreStore(const Fixture &fixture);

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

// The start-up programs' environment: offscreen, the fixture's store, the idle probe.
QProcessEnvironment childEnvironment(const Fixture &fixture);

// ---- Printing ------------------------------------------------------------

// One line of the table: what, KIVO's figure, the yardstick's, the ratio,
// the target and whether it is met.
void printRow(const QString &what, const QString &kivo, const QString &yardstick,
              const QString &ratio, const QString &target, const char *verdict);

struct Figure {
    QString what;
    QString kivo;
    QString yardstick;
    double ratio = 0;
    double target = 0;
};

// A row with a target of at most figure.target times the yardstick.
void printFigure(const Figure &figure);

// A second yardstick, printed for what it tells, with no target.
void printReference(const QString &what, const QString &yardstick, double ratio);

// A time, and a size given in KiB, as the table shows them.
QString ms(double value);
QString mib(double kib);

// ---- The figures ----------------------------------------------------------

// 1 and 2: start-up time and peak memory.
void startup(const Fixture &fixture, int rounds);
// 3: store writes.
void storeWrites(const Fixture &fixture);
// 4: Run SSE.
void runSse(const Fixture &fixture, int rounds);
// 5: the picker on a large folder.
void picker(const Fixture &fixture, int rounds);

} // namespace bench

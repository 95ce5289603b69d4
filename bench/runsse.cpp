// Figure 4 of kivo_bench: Run SSE.

#include "bench.h"

#include "mainwindow/form1.h"
#include "ui_form1.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <unistd.h>

namespace bench
{

namespace
{

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

} // namespace

void runSse(const Fixture &fixture, int rounds)
{
    RealPlatform real(fixture);
    PaintWatch paints;
    Form1 form(real.platform);
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
    if (real.boxes.shown > 0)
        fail(QStringLiteral("Run SSE showed a message instead of starting the emulator"));
    QFile standInLog(log);
    if (standInLog.open(QIODevice::ReadOnly) && standInLog.readAll().contains("\"accepted\":false"))
        fail(QStringLiteral("the stand-in refused a launch; see %1").arg(log));
    printFigure({QStringLiteral("4. Run SSE pressed to emulator started"), ms(median(kivoMs)),
                 ms(median(plainMs)), median(ratios), 1.2});
}

} // namespace bench

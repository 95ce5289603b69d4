// Figure 3 of kivo_bench: store writes.

#include "bench.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>

namespace bench
{

namespace
{

struct Writes {
    int replaced = 0; // a new file renamed or linked onto KIVO.ini
    int direct = 0;   // KIVO.ini opened to write into it in place
    int synced = 0;   // data syncs of the new file (the lock file aside)
    int total() const { return replaced + direct; }
};

// The store writes a new file beside the old one through QSaveFile
// (O_TMPFILE, or a named temporary), syncs it, and puts it in place with
// rename or link: one such placing is one write of the file.
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

} // namespace

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

} // namespace bench

// kivo_bench: measures KIVO against a yardstick side by side, round after
// round in alternating order, and prints the medians and their ratios.
// Started by bench/run; see docs/performance.md.
//
//   kivo_bench [--rounds N] [--files N] [--only FIGURE] [--keep]
//
// --only runs one figure (1 and 2 go together), e.g. under callgrind;
// --keep leaves the temporary folder, with its full store, to look into.

#include "bench.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <thread>

namespace
{

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

using namespace bench;

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

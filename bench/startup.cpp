// Figures 1 and 2 of kivo_bench: start-up time and peak memory.

#include "bench.h"

namespace bench
{

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

} // namespace bench

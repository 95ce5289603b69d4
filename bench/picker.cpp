// Figure 5 of kivo_bench: the picker on a large folder.

#include "bench.h"

#include "mainwindow/form1.h"
#include "picker/aprifile.h"
#include "ui_aprifile.h"
#include "ui_form1.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace bench
{

namespace
{

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

} // namespace

void picker(const Fixture &fixture, int rounds)
{
    RealPlatform real(fixture);
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
            auto form = std::make_unique<Form1>(real.platform);
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
    if (real.boxes.shown > 0)
        fail(QStringLiteral("the picker showed a message"));
    printFigure({QStringLiteral("5. Picker, %1 files: request to list shown").arg(fixture.headers),
                 ms(median(pickerMs)), QStringLiteral("ls -f ") + ms(median(lsMs)), median(ratios),
                 3.0});
    const double longest = *std::max_element(stallMs.begin(), stallMs.end());
    printRow(QStringLiteral("   longest event-loop stall meanwhile"), ms(longest),
             QStringLiteral("(median %1)").arg(ms(median(stallMs))), QString(),
             QStringLiteral("<= 200 ms"), longest <= 200 ? "met" : "MISSED");
}

} // namespace bench

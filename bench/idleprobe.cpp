// Linked into a start-up program of the benchmark, this reports the moment
// its first window has been shown and painted and the event loop has nothing
// left to do, then ends the program the ordinary way. It hooks in when the
// application object is made, so the program's own main stays as it is. It
// does nothing unless KIVO_BENCH_IDLE is set.
//
// Output, on standard output: "idle <CLOCK_MONOTONIC nanoseconds> <width> <height>",
// the size being that of the largest window shown.
// With KIVO_BENCH_CLICK=<object name>, once idle it clicks that button, as a
// user's choice, lets the event loop settle again, and only then quits.

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace
{

long long monotonicNanoseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class IdleProbe : public QObject
{
public:
    explicit IdleProbe(QObject *parent) : QObject(parent) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A window counts as shown once it has been painted, not only mapped.
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget *>(watched)->isWindow())
            painted = true;
        return false;
    }

    // The event loop found nothing to do and is about to wait.
    void idle()
    {
        if (done || !painted || !windowExposed())
            return;
        if (!clicked) {
            const long long at = monotonicNanoseconds();
            const QSize size = shownSize();
            char line[96];
            const int length = std::snprintf(line, sizeof line, "idle %lld %d %d\n", at,
                                             size.width(), size.height());
            // Straight to the descriptor: no buffering between the moment and the reader.
            if (::write(STDOUT_FILENO, line, static_cast<size_t>(length)) < 0)
                std::perror("idle probe");
            const QString target = qEnvironmentVariable("KIVO_BENCH_CLICK");
            if (!target.isEmpty()) {
                clicked = true;
                click(target);
                return; // quit at the next idle, once the click has been handled
            }
        }
        done = true;
        QCoreApplication::quit();
    }

private:
    static bool windowExposed()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->isVisible() && window->windowHandle() &&
                window->windowHandle()->isExposed())
                return true;
        }
        return false;
    }

    // The largest window shown: a yardstick can be made the same size.
    static QSize shownSize()
    {
        QSize largest;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (window->isVisible() &&
                window->width() * window->height() > largest.width() * largest.height())
                largest = window->size();
        }
        return largest;
    }

    static void click(const QString &name)
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows) {
            if (auto *button = window->findChild<QAbstractButton *>(name)) {
                button->click();
                return;
            }
        }
        std::fprintf(stderr, "idle probe: no button named %s\n", qPrintable(name));
    }

    bool painted = false;
    bool clicked = false;
    bool done = false;
};

void installIdleProbe()
{
    if (!qEnvironmentVariableIsSet("KIVO_BENCH_IDLE"))
        return;
    auto *probe = new IdleProbe(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(probe);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     probe, &IdleProbe::idle);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installIdleProbe)

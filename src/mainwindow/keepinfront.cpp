#include "keepinfront.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace KeepInFront
{

namespace
{

// The enrolled windows, the one shown last at the end.
QList<QPointer<QWidget>> &shownOrder()
{
    static QList<QPointer<QWidget>> order;
    return order;
}

void moveToEnd(QWidget *window)
{
    QList<QPointer<QWidget>> &order = shownOrder();
    order.removeAll(window);
    order.removeAll(nullptr);
    order.append(window);
}

void takeActivation(QWidget &window)
{
    window.raise();
    window.activateWindow();
}

class Watcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show) {
            moveToEnd(window);
        } else if (event->type() == QEvent::Hide && !event->spontaneous()) {
            // Going away while in front: the next one open keeps the
            // program's other windows behind it, as before this one came.
            const bool wasInFront = QApplication::activeWindow() == window;
            QWidget *next = winner();
            if (wasInFront && next && !QApplication::activeModalWidget())
                takeActivation(*next);
        }
        return false;
    }
};

} // namespace

void enrol(QWidget &window)
{
    static Watcher *watcher = new Watcher(QCoreApplication::instance());
    window.installEventFilter(watcher);
}

QWidget *winner()
{
    const QList<QPointer<QWidget>> &order = shownOrder();
    for (auto it = order.crbegin(); it != order.crend(); ++it) {
        if (*it && (*it)->isVisible())
            return *it;
    }
    return nullptr;
}

void deactivated(QWidget &window)
{
    if (winner() != &window)
        return;
    const QWidget *now = QApplication::activeWindow();
    // Another program took it, or a box waits for an answer: leave it.
    if (!now || now == &window || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return;
    takeActivation(window);
}

void open(QWidget &window)
{
    window.show();
    moveToEnd(&window);
    takeActivation(window);
}

} // namespace KeepInFront

#include "mainwindow/keepinfront.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QWidget>
#include <QWindow>

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

void raiseAndActivate(QWidget &window)
{
    window.raise();
    window.activateWindow();
}

KeepInFront::Activation &activation()
{
    static KeepInFront::Activation current = raiseAndActivate;
    return current;
}

// The rule itself: while another window of the program is active, and no
// box waits for an answer, the winner takes the activation. With no window
// active, the program has lost the activation to another program, unless
// it is still the active application (one of its windows just went away).
void enforce()
{
    QWidget *const front = winner();
    const QWidget *const now = QApplication::activeWindow();
    if (!front || now == front || QApplication::activeModalWidget() ||
        QApplication::activePopupWidget())
        return;
    if (!now && QGuiApplication::applicationState() != Qt::ApplicationActive)
        return;
    // Qt may still take for its focus window one whose platform window is
    // gone (a compositor answering late): an activation asked for then
    // crashes Qt 6.4 on Wayland. The next focus change checks again.
    const QWindow *const focus = QGuiApplication::focusWindow();
    const QWindow *const target = front->windowHandle();
    if ((focus && !focus->handle()) || !target || !target->handle())
        return;
    activation()(*front);
}

class Watcher : public QObject
{
public:
    explicit Watcher(QObject *parent) : QObject(parent)
    {
        // A window of the program that is activated when the winner was
        // not active (after a box, or coming back from another program).
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow *window) {
            if (window)
                check();
        });
    }

    // One check after the events of this change: the rule sees where the
    // activation went, and asks once.
    void check()
    {
        if (pending)
            return;
        pending = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                pending = false;
                enforce();
            },
            Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            moveToEnd(static_cast<QWidget *>(watched));
        return false;
    }

private:
    bool pending = false;
};

Watcher &watcher()
{
    static Watcher *const watching = new Watcher(QCoreApplication::instance());
    return *watching;
}

} // namespace

void enrol(QWidget &window)
{
    window.installEventFilter(&watcher());
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
    // Only the winner takes the activation back, so two windows never pass
    // it to and fro.
    if (winner() == &window)
        watcher().check();
}

void open(QWidget &window)
{
    window.show();
    moveToEnd(&window);
    activation()(window);
}

Activation setActivation(Activation replacement)
{
    Activation replaced = std::move(activation());
    activation() = std::move(replacement);
    return replaced;
}

} // namespace KeepInFront

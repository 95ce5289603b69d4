#include "mainwindow/secondarywindow.h"

#include "mainwindow/form1.h"
#include "mainwindow/keepinfront.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QShortcut>

namespace
{

// A dialog to a screen reader too, as a QDialog is: Orca reads a dialog's
// texts when it opens.
QAccessibleInterface *accessibleDialog(const QString &, QObject *object)
{
    auto *window = qobject_cast<SecondaryWindow *>(object);
    return window ? new QAccessibleWidget(window, QAccessible::Dialog) : nullptr;
}

} // namespace

SecondaryWindow::SecondaryWindow(Form1 &form)
    : QWidget(&form, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      form(form)
{
    static const bool factoryInstalled = (QAccessible::installFactory(accessibleDialog), true);
    Q_UNUSED(factoryInstalled);
    setAttribute(Qt::WA_DeleteOnClose);
    KeepInFront::enrol(*this);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &SecondaryWindow::cancel);
}

void SecondaryWindow::Form_Deactivate()
{
    KeepInFront::deactivated(*this);
}

void SecondaryWindow::cancel()
{
    close();
}

bool SecondaryWindow::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowDeactivate)
        Form_Deactivate();
    return handled;
}

void SecondaryWindow::closeEvent(QCloseEvent *event)
{
    emit closed();
    QWidget::closeEvent(event);
}

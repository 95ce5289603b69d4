#include "mainwindow/secondarywindow.h"

#include "mainwindow/form1.h"
#include "mainwindow/keepinfront.h"

#include <QCloseEvent>
#include <QShortcut>

SecondaryWindow::SecondaryWindow(Form1 &form)
    : QWidget(&form, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      form(form)
{
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

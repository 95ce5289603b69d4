#include "about.h"

#include "form1.h"
#include "keepinfront.h"

#include <QCloseEvent>

About::About(Form1 &form) : QWidget(&form, Qt::Window), form(form)
{
    ui.setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    KeepInFront::enrol(*this);
    connect(ui.OKButton, &QPushButton::clicked, this, &About::OKButton_Click);
}

void About::OKButton_Click()
{
    close();
}

void About::Form_Deactivate()
{
    KeepInFront::deactivated(*this);
}

bool About::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowDeactivate)
        Form_Deactivate();
    return handled;
}

void About::closeEvent(QCloseEvent *event)
{
    // Gone for the main window at once, though deleted only later: an
    // opening from now on makes a new window in its design state.
    if (form.about == this)
        form.about = nullptr;
    QWidget::closeEvent(event);
}

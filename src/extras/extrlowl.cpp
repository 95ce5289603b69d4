#include "extrlowl.h"

#include "../lang/messages.h"
#include "form1.h"
#include "keepinfront.h"
#include "settingsstore.h"

#include <QCloseEvent>

using kivo::BoxIcon;
using kivo::CommandLine;

ExtrlowL::ExtrlowL(Form1 &form) : QWidget(&form, Qt::Window), form(form)
{
    ui.setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    KeepInFront::enrol(*this);
    connect(ui.Command1, &QPushButton::clicked, this, &ExtrlowL::Command1_Click);
}

CommandLine ExtrlowL::extractionLine(const QString &name)
{
    return CommandLine::words(u"extrlow.exe ") + CommandLine::value(name) +
           CommandLine::words(u".sgh");
}

void ExtrlowL::Command1_Click()
{
    // Only the empty name is refused; a name of blanks is the user's choice.
    const QString name = ui.Text1->text();
    if (name.isEmpty()) {
        form.platform.messages.show(Messages::msgneedhdrname(form.lingua), BoxIcon::None,
                                    kivo::applicationTitle);
        return;
    }

    form.fixssekivopath();
    if (form.ssepath != form.apppath) {
        form.platform.messages.show(Messages::msgnotinssedir(form.lingua), BoxIcon::Critical,
                                    kivo::applicationTitle);
        form.closeAllWindows(form.refusalCloseOrder());
        // The launcher's own order ends with itself once more; by now it
        // is closed, so nothing happens.
        if (form.extrlowL)
            form.extrlowL->close();
        return;
    }

    // The tool runs on its own; the window stays, the name with it, ready
    // for the next disc.
    const kivo::StartResult result = form.platform.processes.start(
        form.platform.ownFolder.path(), extractionLine(name).arguments());
    if (result != kivo::StartResult::Started)
        form.platform.messages.show(Messages::msgnoextrlow(form.lingua), BoxIcon::Critical,
                                    QStringLiteral("Error"));
}

void ExtrlowL::Form_Deactivate()
{
    KeepInFront::deactivated(*this);
}

bool ExtrlowL::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    if (event->type() == QEvent::WindowDeactivate)
        Form_Deactivate();
    return handled;
}

void ExtrlowL::closeEvent(QCloseEvent *event)
{
    // Gone for the main window at once, though deleted only later: an
    // opening from now on makes a new window in its design state.
    if (form.extrlowL == this)
        form.extrlowL = nullptr;
    QWidget::closeEvent(event);
}

#include "extras/extrlowl.h"

#include "ui_extrlowl.h"

#include "lang/messages.h"
#include "mainwindow/form1.h"

using kivo::BoxIcon;
using kivo::CommandLine;

ExtrlowL::ExtrlowL(Form1 &form) : SecondaryWindow(form), ui(new Ui::ExtrlowL)
{
    ui->setupUi(this);
    connect(ui->Command1, &QPushButton::clicked, this, &ExtrlowL::Command1_Click);
}

ExtrlowL::~ExtrlowL() = default;

CommandLine ExtrlowL::extractionLine(const QString &name)
{
    return CommandLine::words(u"extrlow.exe ") + CommandLine::value(name) +
           CommandLine::words(u".sgh");
}

// Only the empty name is refused; a name of blanks is the user's choice.
// The tool runs on its own; the window stays, the name with it, ready for
// the next disc.
Launch ExtrlowL::extractionDecision()
{
    const QString name = ui->Text1->text();
    if (name.isEmpty())
        return Launch::missing(Messages::msgneedhdrname(form.lingua), BoxIcon::None,
                               kivo::applicationTitle);
    if (!form.inSseFolder())
        return Launch::refuse();
    Launch start = Launch::start(extractionLine(name));
    start.missingProgramMeansOutside = false;
    start.window = kivo::WindowState::Minimised;
    return start;
}

void ExtrlowL::Command1_Click()
{
    form.carryOut(extractionDecision(), *this);
}

// Starting the programs of the SSE folder: what a press would start, and
// carrying it out, for "Run SSE" and the header extraction launcher alike.

#include "lang/messages.h"
#include "mainwindow/form1.h"
#include "mainwindow/settingskeys.h"
#include "ui_form1.h"

using kivo::BoxIcon;
using kivo::CommandLine;
using kivo::errorTitle;
using kivo::StartResult;
using namespace Messages;

namespace
{

// What the user reads when a program could not be started.
QString startFailure(const QString &language, const QString &program,
                     const kivo::StartOutcome &outcome)
{
    switch (outcome.result) {
    case StartResult::NotFound:
        return msgnoprogram(language, program);
    case StartResult::NotExecutable:
        return msgnotexecutable(language, program);
    case StartResult::NoWine:
        return msgnowine(language, program);
    case StartResult::NoWine32:
        return msgnowine32(language, program);
    case StartResult::Started:
    case StartResult::Failed:
        break;
    }
    return msgnotstarted(language, program, outcome.reason);
}

} // namespace

// Everything a launch option adds, in the order the emulator is given them:
// the part of the line that the Saturn and ST-V lines share.
CommandLine Form1::optionFragments() const
{
    return resolution + stretchmode + opzione1 + opzione2 + opzione3 + opzione4 + opzione5 +
           opzione6;
}

CommandLine Form1::firstRunCommandLine()
{
    return CommandLine::words(u"sse.exe -resetcfg");
}

CommandLine Form1::saturnCommandLine() const
{
    return CommandLine::words(u"sse.exe ") + CommandLine::value(ui->Text1->tag()) + drivelet +
           CommandLine::words(u" -b ") + CommandLine::value(ui->Text3->tag()) + optionFragments();
}

CommandLine Form1::stvCommandLine() const
{
    return CommandLine::words(u"sse.exe -g ") + CommandLine::value(selstvrom) +
           CommandLine::words(u" -b ") + CommandLine::value(ui->Text4->tag()) + optionFragments();
}

bool Form1::inSseFolder()
{
    fixssekivopath();
    return apppath == ssepath;
}

// The first press prepares the emulator; every later one checks the
// folder, then the files the chosen system needs.
Launch Form1::launchDecision()
{
    if (platform.settings.get(kivo::sectionGeneral, kivo::key::firstrun).isEmpty())
        return Launch::firstRun(firstRunCommandLine());
    if (!inSseFolder())
        return Launch::refuse();
    if (ui->Option1->isChecked()) {
        if (ui->Text1->tag().isEmpty() || ui->Text3->tag().isEmpty())
            return Launch::missing(msgneedbioshdr(lingua), BoxIcon::Information, errorTitle);
        return Launch::start(saturnCommandLine());
    }
    if (ui->Option2->isChecked()) {
        if (ui->Text4->tag().isEmpty() || selstvrom.isEmpty())
            return Launch::missing(msgneedbiosrom(lingua), BoxIcon::Information, errorTitle);
        return Launch::start(stvCommandLine());
    }
    return Launch();
}

void Form1::Command8_Click()
{
    carryOut(launchDecision(), *this);
}

void Form1::carryOut(const Launch &launch, QWidget &asking)
{
    switch (launch.kind) {
    case Launch::FirstRun:
        // The emulator writes the configuration it needs, then waits for a
        // second press; a start that failed prepared nothing.
        if (!startProgram(launch, asking))
            return;
        {
            const int failuresBefore = saveFailures;
            saveGeneral(kivo::key::firstrun, QStringLiteral("no"));
            describeLater();
            // Not recorded, the next start of KIVO prepares the emulator again.
            platform.messages.show(asking,
                                   saveFailures == failuresBefore ? msgfirstrun(lingua)
                                                                  : msgfirstrunnotsaved(lingua),
                                   BoxIcon::Information, kivo::applicationTitle);
        }
        return;
    case Launch::Refuse:
        refuseOutsideSseFolder(asking);
        return;
    case Launch::Missing:
        platform.messages.show(asking, launch.message, launch.icon, launch.title);
        return;
    case Launch::Start:
        startProgram(launch, asking);
        return;
    case Launch::Nothing:
        return;
    }
}

bool Form1::startProgram(const Launch &launch, QWidget &asking)
{
    const QStringList arguments = launch.line.arguments();
    const kivo::StartOutcome outcome =
        platform.processes.start(platform.ownFolder.path(), arguments, launch.window);
    if (outcome.result == StartResult::Started)
        return true;
    if (outcome.result == StartResult::NotFound && launch.missingProgramMeansOutside) {
        // No emulator beside the program: it is not in the SSE folder.
        refuseOutsideSseFolder(asking);
        return false;
    }
    platform.messages.show(asking, startFailure(lingua, arguments.first(), outcome),
                           BoxIcon::Critical, errorTitle);
    return false;
}

void Form1::refuseOutsideSseFolder(QWidget &asking)
{
    platform.messages.show(asking, msgnotinssedir(lingua), BoxIcon::Critical,
                           kivo::applicationTitle);
    closeAllWindows(refusalCloseOrder());
}

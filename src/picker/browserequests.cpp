#include "lang/lang.h"
#include "lang/messages.h"
#include "mainwindow/form1.h"
#include "mainwindow/keepinfront.h"
#include "mainwindow/settingskeys.h"
#include "picker/aprifile.h"
#include "picker/folderlisting.h"
#include "ui_aprifile.h"
#include "ui_form1.h"

using kivo::PathResult;

namespace
{

// The SSE folder as the field shows it, with the subfolder appended as
// Windows would find it.
QString startFolder(const QString &sseFolder, const QString &subfolder)
{
    return subfolder.isEmpty() ? sseFolder : kivo::pathIgnoringCase(sseFolder, subfolder);
}

// A file request: the picker locked to one folder of the SSE installation,
// handing back a bare file name. When that folder is missing, or on a drive
// that is not ready, the user is told, and the picker closes with nothing
// written: a name from any other folder would name nothing there.
void richiestafile(Form1 &form, const PathRequest &request)
{
    form.startRequest(request.code);

    ApriFile &picker = form.aprifileWindow();
    Ui::ApriFile &p = *picker.ui;
    // The file list takes the folder list's place, the current folder the type's.
    p.Dir1->hide();
    p.Label2->hide();
    p.Combo1->hide();
    p.Text1->show();
    p.Drive1->setEnabled(false);
    p.Text1->setEnabled(false);

    const PathResult start =
        p.Dir1->setPath(startFolder(form.ui->Text7->text(), request.subfolder.toString()));
    if (start == PathResult::Ok) {
        p.Text1->setText(p.Dir1->path());
        return;
    }
    const QString ownFolder = form.platform.ownFolder.path();
    p.Drive1->setDrive(ownFolder);
    form.picker.driveiniziale = p.Drive1->drive();
    p.Dir1->setPath(ownFolder);
    p.File1->setPath(ownFolder);
    form.platform.messages.show(form, request.missingFolder(form.lingua), kivo::BoxIcon::Critical,
                                kivo::errorTitle);
    picker.close();
}

} // namespace

ApriFile &Form1::aprifileWindow()
{
    return secondaryWindow(apriFile);
}

void Form1::Command1_Click()
{
    richiestafile(*this, *pathRequest(1));
}

void Form1::Command3_Click()
{
    richiestafile(*this, *pathRequest(3));
}

void Form1::Command4_Click()
{
    richiestafile(*this, *pathRequest(4));
}

void Form1::Command5_Click()
{
    richiestafile(*this, *pathRequest(5));
}

void Form1::Command6_Click()
{
    richiestafile(*this, *pathRequest(6));
}

// The folder request: the user moves freely over drives and folders.
void Form1::Command7_Click()
{
    startRequest(7);

    // The folder list takes the file list's place, the current folder the type's.
    Ui::ApriFile &p = *aprifileWindow().ui;
    p.File1->hide();
    p.Label2->hide();
    p.Combo1->hide();
    p.Text1->show();
    p.Text1->setText(p.Dir1->path());
}

// The steps every request begins with. A request while the picker is open
// starts from a fresh picker: nothing of the earlier request is left over.
void Form1::startRequest(qint16 code)
{
    if (apriFile)
        apriFile->close();
    commandreqn = code;
    Lang::langaprifile(*this, lingua);
    aperturafiles();
}

// Brings the picker to where it was last, in this run or before, and shows
// it. A remembered folder that is gone, or on a drive that is not ready now,
// sends it to the program's own folder instead: the picker always opens.
void Form1::aperturafiles()
{
    ApriFile &window = aprifileWindow();
    Ui::ApriFile &p = *window.ui;
    const QString ownFolder = platform.ownFolder.path();
    const auto orOwnFolder = [&](PathResult result) {
        if (result != PathResult::Ok) {
            p.Drive1->setDrive(ownFolder);
            picker.driveiniziale = p.Drive1->drive();
            p.Dir1->setPath(ownFolder);
            p.File1->setPath(ownFolder);
        }
    };
    const auto lastFolders = [this](const QString &key) {
        return platform.settings.get(kivo::sectionLastFolders, key);
    };

    const QString savedDrive = lastFolders(kivo::key::lastdrive);
    if (picker.driveselect1 != PickerMemory::nope)
        orOwnFolder(p.Drive1->setDrive(picker.driveselect1));
    if (!savedDrive.isEmpty())
        orOwnFolder(p.Drive1->setDrive(lastFolders(kivo::key::lastdrive)));
    if (picker.dirselect1 != PickerMemory::nope)
        orOwnFolder(p.Dir1->setPath(picker.dirselect1));
    if (!savedDrive.isEmpty())
        orOwnFolder(p.Dir1->setPath(lastFolders(kivo::key::lastdir)));
    picker.driveiniziale = p.Drive1->drive();
    p.File1->setPattern(QStringLiteral("*.*"));
    p.Combo1->appendEntries({QStringLiteral("All Files *.*")});
    p.Combo1->setCurrentIndex(0);
    KeepInFront::open(window);
}

#include "aprifile.h"

#include "form1.h"
#include "settingsstore.h"
#include "shortpath.h"

using kivo::PathResult;

namespace
{

const QString nope = QStringLiteral("-nope-");

} // namespace

ApriFile::ApriFile(Form1 &form)
    : SecondaryWindow(form, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint),
      drives(form.platform.volumes.mounted(), form.cartellecorrenti)
{
    ui.setupUi(this);
    setFixedSize(twips(7665), twips(3525));

    // The design state: the drive and the current folder of the working
    // folder's volume, reached before any handler listens.
    ui.Drive1->setDrives(drives);
    ui.Dir1->setDrives(drives);
    ui.Dir1->setPath(ui.Drive1->drive());
    ui.File1->setPath(ui.Dir1->path());

    connect(ui.Drive1, &QComboBox::currentIndexChanged, this, &ApriFile::Drive1_Change);
    connect(ui.Dir1, &DirListBox::pathChanged, this, &ApriFile::Dir1_Change);
    connect(ui.Combo1, &QComboBox::currentIndexChanged, this, &ApriFile::Combo1_Click);
    connect(ui.OKButton, &QPushButton::clicked, this, &ApriFile::OKButton_Click);
    connect(ui.File1, &QAbstractItemView::doubleClicked, this, &ApriFile::File1_DblClick);
    connect(ui.File1, &FileListBox::keyDown, this, &ApriFile::File1_KeyDown);
    connect(ui.CancelButton, &QPushButton::clicked, this, &ApriFile::CancelButton_Click);
}

// The drive step. A drive that is not ready is reported, and the lists go
// back to the drive last entered and the folder last shown.
void ApriFile::Drive1_Change()
{
    const PathResult entered = ui.Dir1->setPath(ui.Drive1->drive());
    if (entered == PathResult::DeviceUnavailable) {
        form.platform.messages.show(*this, QStringLiteral("Errore: Drive non accessibile."),
                                    kivo::BoxIcon::None, kivo::applicationTitle);
        // With no drive entered yet in this run, the program's own is the one to go back to.
        ui.Drive1->setDrive(form.driveiniziale.isEmpty() ? form.platform.ownFolder.path()
                                                         : form.driveiniziale);
        if (form.driveselect1 == nope)
            form.driveselect1 = ui.Drive1->drive();
        if (form.driveselect1 != nope)
            ui.Drive1->setDrive(form.driveselect1);
        form.driveiniziale = ui.Drive1->drive();
        if (form.dirselect1 != nope)
            ui.Dir1->setPath(form.dirselect1);
    } else if (entered != PathResult::Ok) {
        return;
    }
    form.driveselect1 = ui.Drive1->drive();
    form.dirselect1 = ui.Dir1->path();
    form.driveiniziale = ui.Drive1->drive();
}

// The folder step.
void ApriFile::Dir1_Change()
{
    ui.File1->setPath(ui.Dir1->path());
    form.dirselect1 = ui.Dir1->path();
    ui.Text1->setText(ui.Dir1->path());
}

// The type step: the list only ever holds "All Files *.*".
void ApriFile::Combo1_Click()
{
    if (ui.Combo1->currentIndex() != 0)
        return;
    ui.File1->setPattern(QStringLiteral("*.*"));
    ui.Combo1->setEditAreaText(QStringLiteral("All Files *.*"));
    ui.File1->refresh();
}

void ApriFile::saveLastPlace()
{
    form.platform.settings.save(kivo::sectionLastFolders, QStringLiteral("load-lastdrive1"),
                                ui.Drive1->drive());
    form.platform.settings.save(kivo::sectionLastFolders, QStringLiteral("load-lastdir1"),
                                ui.Dir1->path());
}

void ApriFile::OKButton_Click()
{
    // The place, the file and the system a header selects are one choice.
    const kivo::SavedTogether together(form.platform.settings);
    saveLastPlace();
    selezionafiles();
    close();
}

void ApriFile::File1_DblClick()
{
    const kivo::SavedTogether together(form.platform.settings);
    saveLastPlace();
    selezionafiles();
    close();
}

// Enter confirms too, but leaves the saved last place as it was.
void ApriFile::File1_KeyDown(int keyCode)
{
    if (keyCode != 13)
        return;
    const kivo::SavedTogether together(form.platform.settings);
    selezionafiles();
    close();
}

void ApriFile::CancelButton_Click()
{
    close();
}

void ApriFile::cancel()
{
    CancelButton_Click();
}

void ApriFile::selezionafiles()
{
    PathField *field = nullptr;
    switch (form.commandreqn) {
    case 1:
        field = form.ui.Text1;
        break;
    case 3:
        field = form.ui.Text3;
        break;
    case 4:
        field = form.ui.Text4;
        break;
    case 5:
        field = form.ui.Text5;
        break;
    case 6:
        field = form.ui.Text6;
        break;
    case 7:
        field = form.ui.Text7;
        break;
    default:
        break;
    }
    if (field) {
        if (field == form.ui.Text7) {
            field->setText(ui.Dir1->path());
            field->setTag(GetShortPathName(ui.Dir1->path()));
        } else {
            field->setText(ui.File1->fileName());
            field->setTag(ui.File1->fileName());
        }
        const QString key = QStringLiteral("text%1").arg(form.commandreqn);
        form.platform.settings.save(kivo::sectionLastFolders, key, field->text());
        form.platform.settings.save(kivo::sectionLastFolders, key + QStringLiteral("tag"),
                                    field->tag());
    }
    form.fixssekivopath();
}

void ApriFile::showEvent(QShowEvent *event)
{
    // Over the middle of the main window, where a dialog box opens.
    if (!placed) {
        placed = true;
        move(form.geometry().center() - rect().center());
    }
    QWidget::showEvent(event);
}

#include "picker/aprifile.h"

#include "ui_aprifile.h"

#include "mainwindow/fixedsize.h"
#include "mainwindow/settingskeys.h"

using kivo::PathResult;

ApriFile::ApriFile(Form1 &form)
    : SecondaryWindow(form), ui(new Ui::ApriFile), memory(form.picker),
      drives(form.platform.volumes.mounted(), memory.cartellecorrenti,
             form.platform.ownFolder.path())
{
    ui->setupUi(this);
    keepFixedSize(*this, QSize(twips(7665), twips(3525)));
    // First in the tab order, Ok holds the focus when the picker opens.
    ui->OKButton->setFocus();

    // The design state: the drive and the current folder of the program's
    // own folder's volume, reached before any handler listens.
    ui->Drive1->setDrives(drives);
    ui->Dir1->setDrives(drives);
    ui->Dir1->setPath(ui->Drive1->drive());
    ui->File1->setPath(ui->Dir1->path());

    connect(ui->Drive1, &QComboBox::currentIndexChanged, this, &ApriFile::Drive1_Change);
    connect(ui->Dir1, &DirListBox::pathChanged, this, &ApriFile::Dir1_Change);
    connect(ui->Combo1, &QComboBox::currentIndexChanged, this, &ApriFile::Combo1_Click);
    connect(ui->OKButton, &QPushButton::clicked, this, &ApriFile::OKButton_Click);
    connect(ui->File1, &QAbstractItemView::doubleClicked, this, &ApriFile::File1_DblClick);
    connect(ui->File1, &FileListBox::keyDown, this, &ApriFile::File1_KeyDown);
    connect(ui->CancelButton, &QPushButton::clicked, this, &ApriFile::CancelButton_Click);
}

ApriFile::~ApriFile() = default;

// The drive step. A drive that is not ready is reported, and the lists go
// back to the drive last entered and the folder last shown.
void ApriFile::Drive1_Change()
{
    const PathResult entered = ui->Dir1->setPath(ui->Drive1->drive());
    if (entered == PathResult::DeviceUnavailable) {
        form.platform.messages.show(*this, QStringLiteral("Errore: Drive non accessibile."),
                                    kivo::BoxIcon::None, kivo::applicationTitle);
        // With no drive entered yet in this run, the program's own is the one to go back to.
        ui->Drive1->setDrive(memory.driveiniziale.isEmpty() ? form.platform.ownFolder.path()
                                                            : memory.driveiniziale);
        if (memory.driveselect1 == PickerMemory::nope)
            memory.driveselect1 = ui->Drive1->drive();
        if (memory.driveselect1 != PickerMemory::nope)
            ui->Drive1->setDrive(memory.driveselect1);
        memory.driveiniziale = ui->Drive1->drive();
        if (memory.dirselect1 != PickerMemory::nope)
            ui->Dir1->setPath(memory.dirselect1);
    } else if (entered != PathResult::Ok) {
        return;
    }
    memory.driveselect1 = ui->Drive1->drive();
    memory.dirselect1 = ui->Dir1->path();
    memory.driveiniziale = ui->Drive1->drive();
}

// The folder step.
void ApriFile::Dir1_Change()
{
    ui->File1->setPath(ui->Dir1->path());
    memory.dirselect1 = ui->Dir1->path();
    ui->Text1->setText(ui->Dir1->path());
}

// The type step: the list only ever holds "All Files *.*".
void ApriFile::Combo1_Click()
{
    if (ui->Combo1->currentIndex() != 0)
        return;
    ui->File1->setPattern(QStringLiteral("*.*"));
    ui->Combo1->setEditAreaText(QStringLiteral("All Files *.*"));
    ui->File1->refresh();
}

void ApriFile::saveLastPlace()
{
    form.platform.settings.save(kivo::sectionLastFolders, kivo::key::lastdrive,
                                ui->Drive1->drive());
    form.platform.settings.save(kivo::sectionLastFolders, kivo::key::lastdir, ui->Dir1->path());
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
    form.handOver(ui->File1->fileName(), ui->Dir1->path());
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

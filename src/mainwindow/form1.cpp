#include "mainwindow/form1.h"

#include "ui_form1.h"

#include "extras/about.h"
#include "extras/extrlowl.h"
#include "lang/lang.h"
#include "lang/messages.h"
#include "mainwindow/describe.h"
#include "mainwindow/fixedsize.h"
#include "mainwindow/settingskeys.h"
#include "mainwindow/stvcatalogue.h"
#include "mainwindow/togglecaption.h"
#include "mainwindow/wine.h"
#include "picker/aprifile.h"
#include "picker/shortpath.h"

#include <QApplication>
#include <QCloseEvent>

using kivo::CommandLine;
using kivo::sectionGeneral;
using namespace Messages;

namespace
{

const QString noFile = QStringLiteral("-none-");

QString trueFalse(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// A saved list index or check state; -1 when the text is not a number.
int savedNumber(const QString &text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok ? number : -1;
}

// The switches of "Advanced Settings": each box, the number of its key
// ("opz1" ...) and its handler. A new switch is a row here, its handler,
// and its fragment in optionFragments().
struct Switch {
    QCheckBox *Ui::Form1::*box;
    int number;
    void (Form1::*click)();
};
const Switch switches[] = {
    {&Ui::Form1::Check1, 1, &Form1::Check1_Click}, {&Ui::Form1::Check2, 2, &Form1::Check2_Click},
    {&Ui::Form1::Check3, 3, &Form1::Check3_Click}, {&Ui::Form1::Check4, 4, &Form1::Check4_Click},
    {&Ui::Form1::Check5, 5, &Form1::Check5_Click}, {&Ui::Form1::Check6, 6, &Form1::Check6_Click},
};

} // namespace

Form1::Form1(kivo::Platform &platform, QWidget *parent)
    : QMainWindow(parent), ui(new Ui::Form1), platform(platform)
{
    silenceToggleCaptions();
    ui->setupUi(this);
    keepFixedSize(*this, size());
    // First in the tab order, "Run SSE" holds the focus when the window opens.
    ui->Command8->setFocus();
    platform.settings.failed = [this](const kivo::SaveFailure &failure) { saveFailed(failure); };
    connectHandlers();
    Form_Load();
}

Form1::~Form1()
{
    platform.settings.failed = nullptr;
}

// A choice that could not be saved holds for the run; the user learns it
// once, with the file and the reason, over the window they acted in.
void Form1::saveFailed(const kivo::SaveFailure &failure)
{
    ++saveFailures;
    if (saveFailures > 1)
        return;
    const QString text = msgnotsaved(lingua, failure.file, failure.reason);
    QWidget *asking = QApplication::activeWindow();
    if (!isVisible()) {
        // At start-up: once the window is there.
        QMetaObject::invokeMethod(
            this,
            [this, text] {
                platform.messages.show(*this, text, kivo::BoxIcon::Critical, kivo::errorTitle);
            },
            Qt::QueuedConnection);
        return;
    }
    platform.messages.show(asking && asking->isVisible() ? *asking : *this, text,
                           kivo::BoxIcon::Critical, kivo::errorTitle);
}

void Form1::connectHandlers()
{
    connect(ui->file1, &QAction::triggered, this, &Form1::file1_Click);
    connect(ui->extr1, &QAction::triggered, this, &Form1::extr1_Click);
    connect(ui->help1, &QAction::triggered, this, &Form1::help1_Click);
    connect(ui->opz11, &QAction::triggered, this, &Form1::opz11_Click);
    connect(ui->opz12, &QAction::triggered, this, &Form1::opz12_Click);
    connect(ui->opz13, &QAction::triggered, this, &Form1::opz13_Click);
    connect(ui->Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
    connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(ui->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(ui->Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(ui->Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(ui->Command7, &QPushButton::clicked, this, &Form1::Command7_Click);

    for (const Switch &option : switches)
        connect((*ui).*option.box, &QCheckBox::stateChanged, this, option.click);

    connect(ui->Combo1, &QComboBox::currentIndexChanged, this, &Form1::Combo1_Click);
    connect(ui->Combo2, &QComboBox::currentIndexChanged, this, &Form1::Combo2_Click);
    connect(ui->Combo3, &QComboBox::currentIndexChanged, this, &Form1::Combo3_Click);
    connect(ui->Combo4, &QComboBox::currentIndexChanged, this, &Form1::Combo4_Click);
    connect(ui->Combo5, &QComboBox::currentIndexChanged, this, &Form1::Combo5_Click);
    connect(ui->Combo1, &ListBox::keyPress, this, &Form1::Combo1_KeyPress);
    connect(ui->Combo2, &ListBox::keyPress, this, &Form1::Combo2_KeyPress);
    connect(ui->Combo3, &ListBox::keyPress, this, &Form1::Combo3_KeyPress);
    connect(ui->Combo4, &ListBox::keyPress, this, &Form1::Combo4_KeyPress);
    connect(ui->Combo5, &ListBox::keyPress, this, &Form1::Combo5_KeyPress);

    // Deselecting an option runs no handler; only the newly selected one does.
    connect(ui->Option1, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            Option1_Click();
    });
    connect(ui->Option2, &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            Option2_Click();
    });

    connect(ui->Text1, &QLineEdit::textChanged, this, &Form1::Text1_Change);
    connect(ui->Text5, &QLineEdit::textChanged, this, &Form1::Text5_Change);
    connect(ui->Text6, &QLineEdit::textChanged, this, &Form1::Text6_Change);
    connect(ui->Text5, &PathField::tagChanged, this, &Form1::Text5_TagChange);
    connect(ui->Text6, &PathField::tagChanged, this, &Form1::Text6_TagChange);

    // What "Run SSE" would start follows every choice.
    for (ListBox *list : findChildren<ListBox *>())
        connect(list, &QComboBox::currentIndexChanged, this, &Form1::describeLater);
    for (QAbstractButton *box : findChildren<QAbstractButton *>())
        connect(box, &QAbstractButton::toggled, this, &Form1::describeLater);
    for (PathField *field : findChildren<PathField *>()) {
        connect(field, &QLineEdit::textChanged, this, &Form1::describeLater);
        connect(field, &PathField::tagChanged, this, &Form1::describeLater);
    }
}

// Start-up. The order matters: setting a control runs its handler, and
// handlers save what they show, so saved values are read before the
// controls that would overwrite them are filled.
void Form1::Form_Load()
{
    // Start-up only repeats what the store holds: write it once at the end.
    platform.settings.hold();

    caricaregoptbut();
    lingua = platform.settings.get(sectionGeneral, kivo::key::language);
    if (lingua.isEmpty())
        lingua = QStringLiteral("English");
    ui->Label15->setText(QString());
    picker.dirselect1 = PickerMemory::nope;
    picker.driveselect1 = PickerMemory::nope;

    ui->Combo1->appendEntries({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    ui->Combo1->setCurrentIndex(0);

    ui->Text1->setPrompt(msgselheader(lingua));
    ui->Text3->setPrompt(msgselbios(lingua));
    ui->Text4->setPrompt(msgselbios(lingua));
    ui->Text5->setText(noFile);
    ui->Text6->setText(noFile);

    caricaregcombo();
    initgamelist();
    initdrivelett();

    ui->Combo3->appendEntries({QStringLiteral("640 x 480 (Default)"), QStringLiteral("800 x 600"),
                               QStringLiteral("1024 x 768")});
    ui->Combo3->setCurrentIndex(0);
    ui->Combo4->appendEntries(
        {msgnostretch(lingua), msgfullstretch(lingua), msgpropstretch(lingua)});
    ui->Combo4->setCurrentIndex(0);

    caricaregsettings();
    fixssekivopath();

    platform.settings.release();
}

void Form1::caricaregoptbut()
{
    optbut1cont = platform.settings.get(sectionGeneral, kivo::key::systemSat);
    optbut2cont = platform.settings.get(sectionGeneral, kivo::key::systemStv);
}

void Form1::caricaregcombo()
{
    combo2cont = platform.settings.get(sectionGeneral, kivo::key::stvrom);
    combo3cont = platform.settings.get(sectionGeneral, kivo::key::res);
    combo4cont = platform.settings.get(sectionGeneral, kivo::key::stretch);
    combo5cont = platform.settings.get(sectionGeneral, kivo::key::drive);
}

void Form1::caricaregsettings()
{
    restorePathFields();

    for (const Switch &option : switches)
        restoreCheckBox((*ui).*option.box, option.number);

    applyStoredLanguage();

    restoreListIndex(ui->Combo2, combo2cont);
    restoreListIndex(ui->Combo3, combo3cont);
    restoreListIndex(ui->Combo4, combo4cont);
    restoreListIndex(ui->Combo5, combo5cont);

    // Last, so that the system actually saved wins over the one the
    // restored header and game selected on the way.
    restoreOption(ui->Option1, optbut1cont);
    restoreOption(ui->Option2, optbut2cont);
}

void Form1::restoreCheckBox(QCheckBox *box, int number)
{
    const QString saved = platform.settings.get(sectionGeneral, kivo::key::opz(number));
    // Only the two states a person can give a box; anything else is ignored.
    const int state = savedNumber(saved);
    if (state == 0)
        box->setCheckState(Qt::Unchecked);
    else if (state == 1)
        box->setCheckState(Qt::Checked);
}

void Form1::applyStoredLanguage()
{
    const QString stored = platform.settings.get(sectionGeneral, kivo::key::language);
    if (isLanguage(stored))
        applyLanguage(stored);
}

void Form1::restoreListIndex(ListBox *list, const QString &held)
{
    if (held.isEmpty())
        return;
    const int index = savedNumber(held);
    if (index >= 0 && index < list->count())
        list->setCurrentIndex(index);
}

void Form1::restoreOption(QRadioButton *option, const QString &held)
{
    if (held == u"True") {
        option->setChecked(true);
    } else if (held == u"False" && option->isChecked()) {
        // An exclusive group will not clear its selected button; the store
        // can still say that neither system is chosen.
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
}

void Form1::initgamelist()
{
    ui->Combo2->appendEntries({QString()});
    // The blank entry chooses no game: a screen reader reads it as the prompt.
    ui->Combo2->setItemData(0, msgselstvrom(lingua), Qt::AccessibleTextRole);
    selstvrom.clear();
    QStringList titles;
    for (std::size_t index = 1; index < kivo::stvCatalogue.size(); ++index) {
        titles.append(kivo::stvCatalogue[index].title.toString());
        stvromlist[index] = kivo::stvCatalogue[index].romSet.toString();
    }
    ui->Combo2->appendEntries(titles);
}

void Form1::initdrivelett()
{
    QStringList drives;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        drives.append(QString(QLatin1Char(letter)) + QLatin1Char(':'));
    ui->Combo5->appendEntries(drives);
    ui->Combo5->setCurrentIndex(2);
}

QString Form1::lowerDriveLetters(QString path)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        path.replace(QString(QLatin1Char(letter)) + QLatin1Char(':'),
                     QString(QLatin1Char(letter + ('a' - 'A'))) + QLatin1Char(':'));
    }
    return path;
}

void Form1::fixssekivopath()
{
    apppath = lowerDriveLetters(GetShortPathName(platform.ownFolder.path()));
    ssepath = lowerDriveLetters(ui->Text7->tag());
}

void Form1::saveGeneral(const QString &key, const QString &value)
{
    platform.settings.save(sectionGeneral, key, value);
}

// ---- Launch options ------------------------------------------------------

void Form1::checkBoxClick(QCheckBox *box, int number, CommandLine &fragment,
                          const CommandLine &checkedValue)
{
    const Qt::CheckState state = box->checkState();
    if (state == Qt::Checked)
        fragment = checkedValue;
    else if (state == Qt::Unchecked)
        fragment = CommandLine();
    const int saved = state == Qt::Checked ? 1 : (state == Qt::Unchecked ? 0 : 2);
    saveGeneral(kivo::key::opz(number), QString::number(saved));
}

// A backup switch is never given without its file: the emulator would take
// the next switch for the file's name.
CommandLine Form1::backupFragment(QCheckBox *box, const QString &switchWord, PathField *field) const
{
    if (box->checkState() != Qt::Checked || field->tag().isEmpty())
        return CommandLine();
    return CommandLine::words(switchWord) + CommandLine::value(field->tag());
}

// A ticked backup switch can always be unticked, whatever its field holds.
void Form1::Check1_Click()
{
    if (ui->Check1->checkState() == Qt::Checked)
        ui->Check1->setEnabled(true);
    checkBoxClick(ui->Check1, 1, opzione1,
                  backupFragment(ui->Check1, QStringLiteral(" -br "), ui->Text5));
}

void Form1::Check2_Click()
{
    if (ui->Check2->checkState() == Qt::Checked)
        ui->Check2->setEnabled(true);
    checkBoxClick(ui->Check2, 2, opzione2,
                  backupFragment(ui->Check2, QStringLiteral(" -bc "), ui->Text6));
}

void Form1::Check3_Click()
{
    checkBoxClick(
        ui->Check3, 3, opzione3,
        CommandLine::words(QStringLiteral(" -polycoordfix ") + ui->Combo1->currentText()));
}

void Form1::Check4_Click()
{
    checkBoxClick(ui->Check4, 4, opzione4, CommandLine::words(u" -nodsp"));
}

void Form1::Check5_Click()
{
    checkBoxClick(ui->Check5, 5, opzione5, CommandLine::words(u" -nospritepri"));
}

void Form1::Check6_Click()
{
    checkBoxClick(ui->Check6, 6, opzione6, CommandLine::words(u" -log"));
}

// What the window shows is what runs: a ticked switch follows a new mode
// or a new backup file at once. Nothing is saved for it.
void Form1::Combo1_Click()
{
    if (ui->Check3->checkState() == Qt::Checked)
        opzione3 =
            CommandLine::words(QStringLiteral(" -polycoordfix ") + ui->Combo1->currentText());
}

void Form1::Text5_TagChange()
{
    if (ui->Check1->checkState() == Qt::Checked)
        opzione1 = backupFragment(ui->Check1, QStringLiteral(" -br "), ui->Text5);
}

void Form1::Text6_TagChange()
{
    if (ui->Check2->checkState() == Qt::Checked)
        opzione2 = backupFragment(ui->Check2, QStringLiteral(" -bc "), ui->Text6);
}

void Form1::Combo2_Click()
{
    // The game and the system it selects are one choice.
    const kivo::SavedTogether together(platform.settings);
    const int index = ui->Combo2->currentIndex();
    selstvrom = index >= 0 && index < int(stvromlist.size()) ? stvromlist[index] : QString();
    ui->Option2->setEnabled(true);
    ui->Option2->setChecked(true);
    saveGeneral(kivo::key::stvrom, QString::number(index));
    ui->Label15->setText(selstvrom.isEmpty() ? QString() : msgromdirname(lingua, selstvrom));
}

void Form1::Combo3_Click()
{
    static const QStringList resolutions{QStringLiteral(" -res 640 480"),
                                         QStringLiteral(" -res 800 600"),
                                         QStringLiteral(" -res 1024 768")};
    const int index = ui->Combo3->currentIndex();
    if (index >= 0 && index < resolutions.size())
        resolution = CommandLine::words(resolutions.at(index));
    saveGeneral(kivo::key::res, QString::number(index));
}

void Form1::Combo4_Click()
{
    // The position is what the emulator is told, whatever the language.
    const int index = ui->Combo4->currentIndex();
    stretchmode = CommandLine::words(QStringLiteral(" -stretch ") + QString::number(index));
    saveGeneral(kivo::key::stretch, QString::number(index));
}

void Form1::Combo5_Click()
{
    drivelet = CommandLine::words(QStringLiteral(" -d ") + ui->Combo5->currentText());
    saveGeneral(kivo::key::drive, QString::number(ui->Combo5->currentIndex()));
}

// The lists take no typed characters: only their entries can be chosen.
void Form1::Combo1_KeyPress(int &keyAscii)
{
    keyAscii = 0;
}

void Form1::Combo2_KeyPress(int &keyAscii)
{
    keyAscii = 0;
}

void Form1::Combo3_KeyPress(int &keyAscii)
{
    keyAscii = 0;
}

void Form1::Combo4_KeyPress(int &keyAscii)
{
    keyAscii = 0;
}

void Form1::Combo5_KeyPress(int &keyAscii)
{
    keyAscii = 0;
}

void Form1::Option1_Click()
{
    const kivo::SavedTogether together(platform.settings);
    saveGeneral(kivo::key::systemSat, trueFalse(true));
    saveGeneral(kivo::key::systemStv, trueFalse(false));
}

void Form1::Option2_Click()
{
    const kivo::SavedTogether together(platform.settings);
    saveGeneral(kivo::key::systemSat, trueFalse(false));
    saveGeneral(kivo::key::systemStv, trueFalse(true));
}

void Form1::Text1_Change()
{
    ui->Option1->setEnabled(true);
    // A new prompt in another language is no choice of system.
    if (!rewritingPrompt)
        ui->Option1->setChecked(true);
}

void Form1::Text5_Change()
{
    if (ui->Text5->text() != noFile)
        ui->Check1->setEnabled(true);
}

void Form1::Text6_Change()
{
    if (ui->Text6->text() != noFile)
        ui->Check2->setEnabled(true);
}

// ---- Closing -------------------------------------------------------------

QList<QWidget *> Form1::refusalCloseOrder()
{
    return {about.data(), apriFile.data(), extrlowL.data(), this};
}

void Form1::closeAllWindows(const QList<QWidget *> &order)
{
    for (QWidget *window : order) {
        if (window)
            window->close();
    }
}

void Form1::file1_Click()
{
    // Picker, About window, main window, launcher: closeEvent keeps the order.
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    // The close box and Exit end the program; nothing is saved here, every
    // choice was saved when it was made.
    for (QWidget *window : QList<QWidget *>{apriFile.data(), about.data()}) {
        if (window)
            window->close();
    }
    event->accept();
    hide();
    if (extrlowL)
        extrlowL->close();
}

void Form1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    describeLater();
}

void Form1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Back from another program, such as winecfg: the drive letters may be new.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        describeLater();
}

// Once after the changes of one event, however many they are.
void Form1::describeLater()
{
    if (describing)
        return;
    describing = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            describing = false;
            describe(*ui->Command8, launchDecision().line.text());
            describe(*ui->Combo5, wineDrivesTip());
            describePathButtons();
        },
        Qt::QueuedConnection);
}

QString Form1::wineDrivesTip() const
{
    const QString prefix = kivo::winePrefix(QProcessEnvironment::systemEnvironment());
    const QList<QPair<QString, QString>> drives = kivo::wineDrives(prefix);
    if (drives.isEmpty())
        return msgnowineprefix(lingua, prefix);
    QStringList lines{msgwinedrives(lingua, prefix)};
    for (const auto &[letter, target] : drives)
        lines.append(letter + QStringLiteral(" → ") + target);
    return lines.join(QLatin1Char('\n'));
}

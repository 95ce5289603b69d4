#pragma once

#include "mainwindow/commandline.h"
#include "mainwindow/launch.h"
#include "mainwindow/platform.h"
#include "mainwindow/secondarywindow.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

namespace Ui
{
class Form1;
}

class ApriFile;
class About;
class ExtrlowL;
class ListBox;
class PathField;
class QCheckBox;
class QPushButton;
class QRadioButton;

// A path field and the Browse request that fills it.
struct PathRequest {
    enum Kind { File, Folder };
    // commandreqn while the request is pending, and the number in the field's keys.
    qint16 code;
    PathField *Ui::Form1::*field;
    // The Browse or Select button that makes the request.
    QPushButton *Ui::Form1::*button;
    Kind kind;
    // File requests list this subfolder of the SSE folder (found whatever its
    // letter case), or the folder itself, and say so when it is missing.
    QStringView subfolder;
    QString (*missingFolder)(const QString &language);
};

// What the picker keeps for the run while its window comes and goes.
struct PickerMemory {
    // Where the picker has not been yet in this run.
    static inline const QString nope = QStringLiteral("-nope-");
    // Where the picker last was; nope until it moved.
    QString dirselect1;
    QString driveselect1;
    // The drive it last entered, and each volume's current folder by root.
    QString driveiniziale;
    QHash<QString, QString> cartellecorrenti;
};

// The main window: every choice that reaches the emulator, and the state
// that the program's other windows read and write.
class Form1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit Form1(kivo::Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    // The controls, as designed.
    const std::unique_ptr<Ui::Form1> ui;
    kivo::Platform &platform;

    // Current interface language.
    QString lingua;
    // The Browse request that is pending.
    qint16 commandreqn = 0;
    PickerMemory picker;

    // Launch fragments, kept up to date by the controls' handlers.
    kivo::CommandLine opzione1, opzione2, opzione3, opzione4, opzione5, opzione6;
    kivo::CommandLine resolution, stretchmode, drivelet;
    QString selstvrom;

    // Saved selections held from early start-up until the lists exist.
    QString combo2cont, combo3cont, combo4cont, combo5cont;
    QString optbut1cont, optbut2cont;

    // The program's own folder and the SSE folder, drive letters lowered.
    QString ssepath;
    QString apppath;

    std::array<QString, 40> stvromlist;

    // The other windows: created on first use, gone once closed.
    QPointer<ApriFile> apriFile;
    QPointer<About> about;
    QPointer<ExtrlowL> extrlowL;
    // Each creates its window, hidden and in its design state, when it is not there.
    ApriFile &aprifileWindow();
    About &aboutWindow();
    ExtrlowL &extrlowlWindow();
    template <typename Window> Window &secondaryWindow(QPointer<Window> &window);

    void fixssekivopath();
    // fixssekivopath(), then whether the program is in the SSE folder.
    bool inSseFolder();

    // What a press of "Run SSE" would do now.
    Launch launchDecision();
    // Carries out a press's decision; boxes are owned by the window asked.
    void carryOut(const Launch &launch, QWidget &asking);
    kivo::CommandLine saturnCommandLine() const;
    kivo::CommandLine stvCommandLine() const;
    static kivo::CommandLine firstRunCommandLine();
    kivo::CommandLine backupFragment(QCheckBox *box, const QString &switchWord,
                                     PathField *field) const;
    // "C:" becomes "c:", for every letter; nothing else changes.
    static QString lowerDriveLetters(QString path);

    // Closes the program's windows in the order given, which ends the run.
    void closeAllWindows(const QList<QWidget *> &order);
    // About, picker, launcher, main window.
    QList<QWidget *> refusalCloseOrder();

    void Form_Load();
    void file1_Click();
    void Command8_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void Check5_Click();
    void Check6_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();
    void Combo5_Click();
    void Combo1_KeyPress(int &keyAscii);
    void Combo2_KeyPress(int &keyAscii);
    void Combo3_KeyPress(int &keyAscii);
    void Combo4_KeyPress(int &keyAscii);
    void Combo5_KeyPress(int &keyAscii);
    void Option1_Click();
    void Option2_Click();
    void Text1_Change();
    void Text5_Change();
    void Text6_Change();
    void Text5_TagChange();
    void Text6_TagChange();

    // Browse requests.
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void startRequest(qint16 code);
    void aperturafiles();
    // The request of that code, or none.
    static const PathRequest *pathRequest(qint16 code);
    PathField *fieldOf(const PathRequest &request) const;
    // Each Browse and Select button describes what it is for and what its
    // field holds: "Saturn BIOS: saturn-demo.bin".
    void describePathButtons();
    // The picker's choice, for the pending request's field and keys: the
    // file it shows selected, or the folder it shows.
    void handOver(const QString &fileName, const QString &folder);

    // Extras.
    void extr1_Click();
    void help1_Click();

    // Language menu.
    // Ticks, current language and every window's captions; saves nothing.
    void applyLanguage(const QString &language);
    // A choice from the menu: applied, then saved.
    void switchLanguage(const QString &language);
    // While the caption table rewrites the header prompt, the field's change
    // is no choice of system.
    class PromptRewrite
    {
    public:
        explicit PromptRewrite(Form1 &form) : form(form) { form.rewritingPrompt = true; }
        ~PromptRewrite() { form.rewritingPrompt = false; }

    private:
        Form1 &form;
    };
    void opz11_Click();
    void opz12_Click();
    void opz13_Click();

    // Brings what "Run SSE" would start, and the Wine drive letters, up to
    // date in the controls' descriptions, once the current event is done.
    void describeLater();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void connectHandlers();
    void caricaregoptbut();
    void caricaregcombo();
    void caricaregsettings();
    void initgamelist();
    void initdrivelett();

    void saveGeneral(const QString &key, const QString &value);
    // The pattern of the six check boxes: fragment and saved state.
    void checkBoxClick(QCheckBox *box, int number, kivo::CommandLine &fragment,
                       const kivo::CommandLine &checkedValue);
    // The launch options' fragments, shared by the Saturn and ST-V lines.
    kivo::CommandLine optionFragments() const;
    // Starts the launch's line; false, once the user is told why, when it did not start.
    bool startProgram(const Launch &launch, QWidget &asking);
    void refuseOutsideSseFolder(QWidget &asking);
    void restorePathFields();
    void restoreCheckBox(QCheckBox *box, int number);
    void restoreListIndex(ListBox *list, const QString &held);
    void restoreOption(QRadioButton *option, const QString &held);
    void applyStoredLanguage();
    // The drive letters of the Wine prefix in use, and what each stands for.
    QString wineDrivesTip() const;
    bool rewritingPrompt = false;
    bool describing = false;
    void saveFailed(const kivo::SaveFailure &failure);
    // Writes of the settings file that failed in this run.
    int saveFailures = 0;
};

template <typename Window> Window &Form1::secondaryWindow(QPointer<Window> &window)
{
    if (!window) {
        window = new Window(*this);
        Window *const made = window;
        // Forgotten at its closing; a later one may hold the pointer by then.
        connect(made, &SecondaryWindow::closed, this, [&window, made] {
            if (window == made)
                window = nullptr;
        });
    }
    return *window;
}

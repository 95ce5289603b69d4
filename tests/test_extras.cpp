#include "extras/about.h"
#include "extras/extrlowl.h"
#include "fakeplatform.h"
#include "lang/lang.h"
#include "lang/messages.h"
#include "picker/aprifile.h"
#include "ui_about.h"
#include "ui_aprifile.h"
#include "ui_extrlowl.h"

#include <QGroupBox>
#include <QPointer>
#include <QTest>

#include <optional>

using kivo::BoxIcon;

namespace
{

const QString crlf = QStringLiteral("\r\n");

// The texts both windows must show, written out here on their own.
struct LauncherTexts {
    QString frame1, label1, frame2, label2, label3, command1;
};

LauncherTexts launcherTexts(const QString &language)
{
    if (language == u"English") {
        return {
            QStringLiteral("Infos:"),
            QStringLiteral("This is a little 'frontend' for extrlow.") + crlf + crlf +
                QStringLiteral("Extrlow is a little program, written by tormik and distributed "
                               "with SSE, that extracts an image of the lower 16 sectors of a "
                               "Saturn cdrom.") +
                crlf +
                QStringLiteral("This image is REQUIRED from SSE to boot every Saturn Cd-Rom."),
            QStringLiteral("Usage  && Requirements:"),
            QStringLiteral("The only requirements to use this program are a PC running under "
                           "Win9X/ME/NT/2K/XP and a cdrom drive supported by the WNASPI32 library "
                           "(and a good WNASPI32 installation obviously ^_^).") +
                crlf + crlf +
                QStringLiteral("If your system meets this requirements you have only to insert a "
                               "Saturn Cd-Rom in the FIRST DRIVE (extrlow does only support the "
                               "first cd-rom drive), write down here the header name (eg: if your "
                               "game is 'Daytona USA' write 'daytona', no file extension "
                               "required), and click on 'Extract header'.") +
                crlf + crlf +
                QStringLiteral("(note: extrlow was tested only on a very few PCs, it's absolutely "
                               "not granted to work at all. If it doesn't work you could use "
                               "cdrwin: check sse's readme for more infos.)"),
            QStringLiteral("Extract header and save as:"),
            QStringLiteral("&Extract Header"),
        };
    }
    if (language == u"Italiano") {
        return {
            QStringLiteral("Informazioni:"),
            QString::fromUtf16(u"Questo è un piccolo 'frontend' per extrlow.") + crlf + crlf +
                QString::fromUtf16(u"Extrlow è un piccolo programma, scritto da tormik e "
                                   u"distribuito con SSE, che estrae un immagine dei primi 16 "
                                   u"settori di un cdrom del Saturn.") +
                crlf +
                QString::fromUtf16(u"Questa immagine è NECESSARIA ad SSE per lanciare un "
                                   u"qualsiasi Cd-Rom del Saturn."),
            QStringLiteral("Utilizzo  && Requisiti di sistema:"),
            QStringLiteral("Gli unici requisiti per usare questo programma sono un PC con "
                           "Win9X/ME/NT/2K/XP e un driver cd-rom supportato dalle librerie "
                           "WNASPI32 (e una buona installazione di WNASPI32 ovviamente ^_^ ).") +
                crlf + crlf +
                QString::fromUtf16(u"Se il tuo sistema rispetta questi requisiti devi solamente "
                                   u"inserire un Cd-rom del Saturn nel tuo PRIMO DRIVE (extrlow "
                                   u"supporta solamente il primo drive cd-rom), scrivere qui "
                                   u"sotto il nome dell'header (eg: se il tuo gioco è 'Daytona "
                                   u"USA' scrivi 'daytona', senza estensione del file), e clicca "
                                   u"su 'Estrai header'.") +
                crlf + crlf +
                QString::fromUtf16(u"(nota: extrlow è stato testato solo su pochi PC, non è "
                                   u"assolutamente garantito il suo funzionamento. Se non "
                                   u"funzionasse usa cdrwin: leggi il readme di sse per maggiori "
                                   u"info.)"),
            QStringLiteral("Estrai header e salva con nome:"),
            QStringLiteral("&Estrai Header"),
        };
    }
    return {
        QStringLiteral("Informations:"),
        QStringLiteral("Ceci est une petite interface graphique pour Extrlow.") + crlf + crlf +
            QString::fromUtf16(u"Extrlow est un petit logiciel, développé par tormik et "
                               u"distribué avec SSE. Il extrait une images de 16 secteurs du CD "
                               u"Saturn.") +
            crlf + crlf +
            QString::fromUtf16(
                u"Cette image est nécessaire à SSE, pour lancer n'importe quel CD Saturn."),
        QStringLiteral("Utilisation && conditions:"),
        QString::fromUtf16(u"La seule condition pour utiliser ce logiciel est de posséder un PC, "
                           u"équipé de Win9X/ME/NT/2K/XP et d'un lecteur de CD-ROM supporté par "
                           u"la bibliothèque WNASPI32 (et évidemment d'une bonne installation de "
                           u"WNASPI32 ^_^).") +
            crlf + crlf +
            QString::fromUtf16(u"Si ces conditions sont remplies, il ne vous reste plus qu'à "
                               u"insérer un CD Saturn  dans votre PREMIER lecteur (Extrlow "
                               u"supporte seulement le premier lecteur), et d'écrire le nom de "
                               u"l'en-tête (Par exemple: Si le jeu est 'Daytona USA' écrivez "
                               u"'daytona'. aucune extension n'est nécessaire). Ensuite cliquez "
                               u"sur 'Extraire l'en-tête'.") +
            crlf + crlf +
            QString::fromUtf16(u"(note: Extrlow a été testé sur quelques machines. Il n'y a "
                               u"aucune garantie que ça marchera pour tout. Si cela ne marche "
                               u"pas, vous pouvez utiliser CDRWin: référez vous au fichier readme "
                               u"de sse pour plus d'informatons.)"),
        QString::fromUtf16(u"Extraire l'en-tête et sauvegarder sous:"),
        QString::fromUtf16(u"Extraire l'en-tête"),
    };
}

struct AboutTexts {
    QString title, label1, label3;
};

AboutTexts aboutTexts(const QString &language)
{
    const QString homepage = QStringLiteral("Homepage: https://kivo.example.org/");
    if (language == u"English") {
        return {QStringLiteral("About KIVO - Olvar's SSE Frontend 0.2"),
                QStringLiteral("(no logo at the moment....)"),
                QStringLiteral("KIVO, an Italian frontend for an Italian Sega Saturn Emulator "
                               "^__^ , made by Olvar.") +
                    crlf + crlf + homepage + crlf +
                    QStringLiteral("Olvar's email: kivo@example.org") + crlf + crlf +
                    QStringLiteral("(PS: sorry for this lame about window! ;) )")};
    }
    if (language == u"Italiano") {
        return {QStringLiteral("Info su KIVO - Olvar's SSE Frontend 0.2"),
                QStringLiteral("(il programma non ha ancora un logo....)"),
                QStringLiteral("KIVO, un frontend Italiano per l'Italiano Sega Saturn Emulator "
                               "^__^ , realizzato da Olvar.") +
                    crlf + crlf + homepage + crlf +
                    QStringLiteral("Olvar's email: kivo@example.org") + crlf + crlf +
                    QStringLiteral("(PS: scusate per la rozza finestra di informazioni! ;) )")};
    }
    return {QStringLiteral("A propos de KIVO - Olvar's SSE Frontend 0.2"),
            QStringLiteral("(Aucun logo en ce moment...)"),
            QString::fromUtf16(u"KIVO est une interface créée par un italien pour un émulateur "
                               u"Sega Saturn italien ^__^ , développé par Olvar.") +
                crlf + crlf + homepage + crlf + QStringLiteral("Email de Olvar: kivo@example.org") +
                crlf + crlf +
                QString::fromUtf16(u"(PS: désolé pour cette lamentable fenêtre ;) )") + crlf +
                crlf +
                QString::fromUtf16(u"Traduction française : l'équipe de traduction de KIVO") +
                crlf + QStringLiteral("https://kivo.example.org/fr/")};
}

QStringList extrlowArguments(const QString &headerArgument)
{
    return {QStringLiteral("extrlow.exe"), headerArgument};
}

// Notes the order in which the watched windows disappear.
class HideRecorder : public QObject
{
public:
    QStringList hidden;
    void watch(QWidget *window, const QString &name)
    {
        names.insert(window, name);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && names.contains(watched))
            hidden.append(names.value(watched));
        return false;
    }

private:
    QHash<QObject *, QString> names;
};

// Watches the About window, the picker, the launcher and the main window.
void watchAll(HideRecorder &recorder, About &about, ApriFile &picker, ExtrlowL &launcher,
              Form1 &form)
{
    recorder.watch(&about, QStringLiteral("About"));
    recorder.watch(&picker, QStringLiteral("picker"));
    recorder.watch(&launcher, QStringLiteral("launcher"));
    recorder.watch(&form, QStringLiteral("main"));
}

// Whether the label is tall enough for its whole text at its width, once
// the window has laid out its new texts.
bool showsWhole(QLabel *label)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return label->isVisible() && label->height() >= label->heightForWidth(label->width());
}

void deleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

// The header extractor launcher and the About window, driven from the
// main window's menus as a user would.
class TestExtras : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void launcherTextsInEachLanguage_data();
    void launcherTextsInEachLanguage();
    void aboutTextsInEachLanguage_data();
    void aboutTextsInEachLanguage();
    void anUnknownLanguageLeavesTheDesign();
    void anOpenWindowFollowsItsTable();

    void anEmptyNameIsRefused();
    void namesReachTheToolWhole();
    void eachPressStartsTheToolAgain();
    void aToolThatCannotStartIsReported();
    void outsideTheSseFolderEverythingCloses();

    void eachWindowExistsOnce();
    void aReopenedWindowStartsAfresh();
    void exitClosesEveryWindowInOrder();

private:
    std::optional<Harness> harness;
    Form1 *form = nullptr;

    ExtrlowL &openLauncher();
    About &openAbout();
    // Types the name into the emptied box and presses the button.
    bool extract(ExtrlowL &launcher, const QString &name);
};

void TestExtras::init()
{
    harness.emplace();
    form = &harness->start();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

ExtrlowL &TestExtras::openLauncher()
{
    form->ui->extr1->trigger();
    return *form->extrlowL;
}

About &TestExtras::openAbout()
{
    form->ui->help1->trigger();
    return *form->about;
}

bool TestExtras::extract(ExtrlowL &launcher, const QString &name)
{
    launcher.ui->Text1->clear();
    QTest::keyClicks(launcher.ui->Text1, name);
    if (launcher.ui->Text1->text() != name)
        return false;
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    return true;
}

void TestExtras::launcherTextsInEachLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("English") << QStringLiteral("English");
    QTest::newRow("Italiano") << QStringLiteral("Italiano");
    QTest::newRow("Francais") << QString::fromUtf16(u"Français");
}

void TestExtras::launcherTextsInEachLanguage()
{
    QFETCH(QString, language);
    form->lingua = language;
    ExtrlowL &launcher = openLauncher();
    QVERIFY(launcher.isVisible());

    const LauncherTexts expected = launcherTexts(language);
    QCOMPARE(launcher.windowTitle(), QStringLiteral("Extra: extrlow Windows Launcher"));
    QCOMPARE(launcher.ui->Frame1->title(), expected.frame1);
    QCOMPARE(launcher.ui->Label1->text(), expected.label1);
    QCOMPARE(launcher.ui->Frame2->title(), expected.frame2);
    QCOMPARE(launcher.ui->Label2->text(), expected.label2);
    QCOMPARE(launcher.ui->Label3->text(), expected.label3);
    QCOMPARE(launcher.ui->Command1->text(), expected.command1);
    QCOMPARE(launcher.ui->Text1->text(), QString());

    // Long texts wrap in the window, and show every character as text.
    for (QLabel *label : {launcher.ui->Label1, launcher.ui->Label2}) {
        QVERIFY(label->wordWrap());
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(showsWhole(label));
    }
}

void TestExtras::aboutTextsInEachLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("lines");
    QTest::newRow("English") << QStringLiteral("English") << 6;
    QTest::newRow("Italiano") << QStringLiteral("Italiano") << 6;
    QTest::newRow("Francais") << QString::fromUtf16(u"Français") << 9;
}

void TestExtras::aboutTextsInEachLanguage()
{
    QFETCH(QString, language);
    QFETCH(int, lines);
    form->lingua = language;
    About &about = openAbout();
    QVERIFY(about.isVisible());

    const AboutTexts expected = aboutTexts(language);
    QCOMPARE(about.windowTitle(), expected.title);
    QCOMPARE(about.ui->Label1->text(), expected.label1);
    QCOMPARE(about.ui->Label3->text(), expected.label3);
    QCOMPARE(about.ui->Label3->text().split(crlf).size(), lines);
    QCOMPARE(about.ui->Label2->text(), QString());
    QCOMPARE(about.ui->OKButton->text(), QStringLiteral("OK"));
    for (QGroupBox *frame : {about.ui->Frame1, about.ui->Frame2, about.ui->Frame3})
        QCOMPARE(frame->title(), QString());
    QVERIFY(showsWhole(about.ui->Label3));
}

void TestExtras::anUnknownLanguageLeavesTheDesign()
{
    // Not one of the three names, though close to one.
    form->lingua = QStringLiteral("Francais");
    ExtrlowL &launcher = openLauncher();
    QCOMPARE(launcher.ui->Frame2->title(), QStringLiteral("Usage  && Requirements:"));
    QCOMPARE(launcher.ui->Label2->text(), QStringLiteral("Label2"));
    QCOMPARE(launcher.ui->Command1->text(), QStringLiteral("Command1"));

    form->lingua = QStringLiteral("english");
    About &about = openAbout();
    QCOMPARE(about.windowTitle(), QStringLiteral("About KIVO - Olvar's SSE Frontend 0.2"));
    QCOMPARE(about.ui->Label3->text(), QStringLiteral("Label3"));
}

void TestExtras::anOpenWindowFollowsItsTable()
{
    ExtrlowL &launcher = openLauncher();
    About &about = openAbout();
    QTest::keyClicks(launcher.ui->Text1, QStringLiteral("daytona"));

    Lang::langextrlow(*form, QStringLiteral("Italiano"));
    Lang::langabout(*form, QStringLiteral("Italiano"));
    QCOMPARE(launcher.ui->Label2->text(), launcherTexts(QStringLiteral("Italiano")).label2);
    QCOMPARE(about.windowTitle(), aboutTexts(QStringLiteral("Italiano")).title);
    QCOMPARE(launcher.ui->Text1->text(), QStringLiteral("daytona"));

    // The French About text is three lines longer: the window grows for it.
    Lang::langabout(*form, QString::fromUtf16(u"Français"));
    QVERIFY(showsWhole(about.ui->Label3));

    // Back to English leaves nothing of the others: test_language
    // (aLanguageAndBackIsTheLanguageAlone), for every window.
    QCOMPARE(form->findChildren<ExtrlowL *>().size(), 1);
    QCOMPARE(form->findChildren<About *>().size(), 1);
}

void TestExtras::anEmptyNameIsRefused()
{
    ExtrlowL &launcher = openLauncher();
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QCOMPARE(harness->processes.starts.size(), 0);
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].text, Messages::msgneedhdrname(QStringLiteral("English")));
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::None);
    QCOMPARE(harness->boxes.shown[0].title, QStringLiteral("KIVO"));

    form->lingua = QString::fromUtf16(u"Français");
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QCOMPARE(harness->boxes.shown.last().text, Messages::msgneedhdrname(form->lingua));

    // An empty name never reaches the folder check: outside the SSE
    // folder the program only says so and stays.
    form->ui->Text7->setTag(QStringLiteral("/somewhere/else"));
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QCOMPARE(harness->boxes.shown.size(), 3);
    QCOMPARE(harness->boxes.shown.last().icon, BoxIcon::None);
    QCOMPARE(harness->processes.starts.size(), 0);
    QVERIFY(launcher.isVisible());
    QVERIFY(form->isVisible());
}

void TestExtras::namesReachTheToolWhole()
{
    ExtrlowL &launcher = openLauncher();
    const QStringList names{
        QStringLiteral("my game"),          QStringLiteral("  "),
        QStringLiteral(" lead and trail "), QStringLiteral("a;b $(ls) \"q\" 'x' \\ *"),
        QStringLiteral("daytona.sgh"),
    };
    for (const QString &name : names)
        QVERIFY2(extract(launcher, name), qPrintable(name));
    QCOMPARE(harness->processes.starts.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        QCOMPARE(harness->processes.starts[i].arguments,
                 extrlowArguments(names[i] + QStringLiteral(".sgh")));
    }
    // The text keeps the name exactly as typed, with a second ".sgh" if it has one.
    QCOMPARE(ExtrlowL::extractionLine(QStringLiteral("my game")).text(),
             QStringLiteral("extrlow.exe my game.sgh"));
    QCOMPARE(harness->processes.starts.last().arguments.last(), QStringLiteral("daytona.sgh.sgh"));

    // Not only what a keyboard types: any text in the box goes whole.
    const QString accented = QString::fromUtf16(u"jeu d'été №1");
    launcher.ui->Text1->setText(accented);
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QCOMPARE(harness->processes.starts.last().arguments,
             extrlowArguments(accented + QStringLiteral(".sgh")));
}

void TestExtras::eachPressStartsTheToolAgain()
{
    ExtrlowL &launcher = openLauncher();
    QTest::keyClicks(launcher.ui->Text1, QStringLiteral("daytona"));
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
    QCOMPARE(harness->processes.starts.size(), 2);
    // From the program's own folder, which is the SSE folder.
    QCOMPARE(harness->processes.starts[1].folder, harness->ownFolder.folder);
    QCOMPARE(harness->processes.starts[1].arguments,
             extrlowArguments(QStringLiteral("daytona.sgh")));
    QCOMPARE(harness->boxes.shown.size(), 0);
    // Ready for the next disc, with the name still there.
    QVERIFY(launcher.isVisible());
    QCOMPARE(launcher.ui->Text1->text(), QStringLiteral("daytona"));
}

// The same family of boxes as "Run SSE", over the launcher; a tool that is
// not there is only missing: the SSE folder was checked.
void TestExtras::aToolThatCannotStartIsReported()
{
    ExtrlowL &launcher = openLauncher();
    QTest::keyClicks(launcher.ui->Text1, QStringLiteral("my game"));
    for (const kivo::StartResult result :
         {kivo::StartResult::NotFound, kivo::StartResult::NoWine32, kivo::StartResult::Failed}) {
        harness->processes.result = result;
        QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);
        const ShownBox &box = harness->boxes.shown.last();
        QCOMPARE(box.owner, &launcher);
        QVERIFY2(box.text.startsWith(u"extrlow.exe "), qPrintable(box.text));
        QCOMPARE(box.icon, BoxIcon::Critical);
        QCOMPARE(box.title, QStringLiteral("Error"));
    }
    QCOMPARE(harness->boxes.shown.size(), 3);
    // Nothing is lost: the program and the window stay, the name with them.
    QVERIFY(form->isVisible());
    QVERIFY(launcher.isVisible());
    QCOMPARE(launcher.ui->Text1->text(), QStringLiteral("my game"));
}

void TestExtras::outsideTheSseFolderEverythingCloses()
{
    form->lingua = QStringLiteral("Italiano");
    ApriFile &picker = form->aprifileWindow();
    picker.show();
    About &about = openAbout();
    ExtrlowL &launcher = openLauncher();
    HideRecorder recorder;
    watchAll(recorder, about, picker, launcher, *form);

    form->ui->Text7->setTag(QStringLiteral("/somewhere/else"));
    bool allOpenWhileShown = false;
    harness->boxes.whileShown = [&](const ShownBox &) {
        allOpenWhileShown =
            about.isVisible() && picker.isVisible() && launcher.isVisible() && form->isVisible();
    };
    QTest::keyClicks(launcher.ui->Text1, QStringLiteral("daytona"));
    QTest::mouseClick(launcher.ui->Command1, Qt::LeftButton);

    QCOMPARE(harness->processes.starts.size(), 0);
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].text, Messages::msgnotinssedir(form->lingua));
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::Critical);
    QCOMPARE(harness->boxes.shown[0].title, QStringLiteral("KIVO"));
    QVERIFY(allOpenWhileShown);
    QCOMPARE(recorder.hidden, QStringList({QStringLiteral("About"), QStringLiteral("picker"),
                                           QStringLiteral("launcher"), QStringLiteral("main")}));

    QPointer<About> aboutGone(&about);
    QPointer<ExtrlowL> launcherGone(&launcher);
    deleteClosedWindows();
    QVERIFY(!aboutGone);
    QVERIFY(!launcherGone);
}

void TestExtras::eachWindowExistsOnce()
{
    ExtrlowL &launcher = openLauncher();
    QTest::keyClicks(launcher.ui->Text1, QStringLiteral("daytona"));
    About &about = openAbout();
    QCOMPARE(&openLauncher(), &launcher);
    QCOMPARE(&openAbout(), &about);
    QCOMPARE(form->findChildren<ExtrlowL *>().size(), 1);
    QCOMPARE(form->findChildren<About *>().size(), 1);
    // Opening the open launcher again keeps what the user typed.
    QCOMPARE(launcher.ui->Text1->text(), QStringLiteral("daytona"));
    QVERIFY(!launcher.isModal() && !about.isModal());
}

void TestExtras::aReopenedWindowStartsAfresh()
{
    ExtrlowL &first = openLauncher();
    QTest::keyClicks(first.ui->Text1, QStringLiteral("daytona"));
    QPointer<ExtrlowL> firstGone(&first);
    first.close();
    // A new opening at once makes a new window, even before the old one is deleted.
    ExtrlowL &second = openLauncher();
    QVERIFY(&second != firstGone.data());
    QCOMPARE(second.ui->Text1->text(), QString());
    QVERIFY(second.isVisible());
    deleteClosedWindows();
    QVERIFY(!firstGone);
    QCOMPARE(form->findChildren<ExtrlowL *>().size(), 1);

    // OK closes the About window for good, and nothing else.
    QPointer<About> aboutGone(&openAbout());
    QTest::mouseClick(aboutGone->ui->OKButton, Qt::LeftButton);
    deleteClosedWindows();
    QVERIFY(!aboutGone);
    QVERIFY(form->isVisible() && second.isVisible());
    form->lingua = QStringLiteral("Italiano");
    About &again = openAbout();
    QCOMPARE(again.windowTitle(), aboutTexts(QStringLiteral("Italiano")).title);
}

void TestExtras::exitClosesEveryWindowInOrder()
{
    ApriFile &picker = form->aprifileWindow();
    picker.show();
    ExtrlowL &launcher = openLauncher();
    About &about = openAbout();
    HideRecorder recorder;
    watchAll(recorder, about, picker, launcher, *form);

    form->ui->file1->trigger();
    QCOMPARE(recorder.hidden, QStringList({QStringLiteral("picker"), QStringLiteral("About"),
                                           QStringLiteral("main"), QStringLiteral("launcher")}));
    for (QWidget *window : QApplication::topLevelWidgets())
        QVERIFY2(!window->isVisible(), qPrintable(window->objectName()));
    QCOMPARE(harness->boxes.shown.size(), 0);
    QCOMPARE(harness->processes.starts.size(), 0);
}

QTEST_MAIN(TestExtras)
#include "test_extras.moc"

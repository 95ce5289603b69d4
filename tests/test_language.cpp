#include "extras/about.h"
#include "extras/extrlowl.h"
#include "fakeplatform.h"
#include "lang/messages.h"
#include "picker/aprifile.h"
#include "ui_about.h"
#include "ui_aprifile.h"
#include "ui_extrlowl.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace
{

const QString english = QStringLiteral("English");
const QString italiano = QStringLiteral("Italiano");
const QString francais = QString::fromUtf16(u"Français");

// Whether a control shows in this window, not in one of its child windows.
bool shownIn(QObject *control, QWidget *window)
{
    for (QObject *up = control->parent(); up; up = up->parent()) {
        auto *widget = qobject_cast<QWidget *>(up);
        if (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget))
            return widget == window;
    }
    return false;
}

// Every text a person reads in one window, by control.
QMap<QString, QString> captionsOf(QWidget *window)
{
    QMap<QString, QString> captions;
    captions.insert(window->objectName(), window->windowTitle());
    for (QObject *child : window->findChildren<QObject *>()) {
        const QString name = child->objectName();
        if (!shownIn(child, window))
            continue;
        if (auto *label = qobject_cast<QLabel *>(child))
            captions.insert(name, label->text());
        else if (auto *button = qobject_cast<QAbstractButton *>(child))
            captions.insert(name, button->text());
        else if (auto *frame = qobject_cast<QGroupBox *>(child))
            captions.insert(name, frame->title());
        else if (auto *menu = qobject_cast<QMenu *>(child))
            captions.insert(name, menu->title());
        else if (auto *action = qobject_cast<QAction *>(child); action && !name.isEmpty())
            captions.insert(name, action->text());
    }
    return captions;
}

QList<QWidget *> allWindows(Form1 &form)
{
    return {&form, &form.aboutWindow(), &form.aprifileWindow(), &form.extrlowlWindow()};
}

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void mainWindowTextsInEachLanguage();
    void everyTableHasTheSameEntriesInEveryLanguage();
    void aSwitchReachesEveryOpenWindowAndIsRemembered();
    void aSwitchChangesWordsNeverChoices();
    void theCurrentLanguageAgainAppliesAndSavesAgain();
    void aLanguageAndBackIsTheLanguageAlone();
};

void TestLanguage::mainWindowTextsInEachLanguage()
{
    struct Expected {
        QString language;
        QStringList texts; // in the order of the controls below
    };
    const QStringList controls{
        QStringLiteral("Command3"), QStringLiteral("Command1"), QStringLiteral("Command8"),
        QStringLiteral("Frame4"),   QStringLiteral("Frame1"),   QStringLiteral("Frame5"),
        QStringLiteral("Frame3"),   QStringLiteral("Label11"),  QStringLiteral("Label12"),
        QStringLiteral("Label5"),   QStringLiteral("Label6"),   QStringLiteral("Label7"),
        QStringLiteral("Label8"),   QStringLiteral("Label9"),   QStringLiteral("Label10"),
        QStringLiteral("file"),     QStringLiteral("file1"),    QStringLiteral("opz"),
        QStringLiteral("opz1"),     QStringLiteral("help"),     QStringLiteral("help1")};
    auto list = [](std::initializer_list<const char16_t *> texts) {
        QStringList result;
        for (const char16_t *text : texts)
            result.append(QString::fromUtf16(text));
        return result;
    };
    const Expected expected[] = {
        {english, list({u"Browse",
                        u"Select Header",
                        u"Run SSE",
                        u"Emulator Path",
                        u"System and Game",
                        u"Video Settings",
                        u"Advanced Settings",
                        u"SSE Path:",
                        u"Resolution:",
                        u"Internal Backup:",
                        u"Backup Cartridge:",
                        u"Poligon Coords Fix (see FAQ):",
                        u"Disable Math DSP Emulation",
                        u"Disable Sprite Priority",
                        u"Enable Logging to ERROR.LOG",
                        u"&File",
                        u"E&xit",
                        u"&Options",
                        u"Frontend &Language",
                        u"&Help",
                        u"&About.."})},
        {italiano, list({u"Esplora",
                         u"Scegli Header",
                         u"Avvia SSE",
                         u"Cartella Emulatore",
                         u"Sistema e Gioco",
                         u"Impostazioni Video",
                         u"Impostazioni Avanzate",
                         u"Cartella di SSE:",
                         u"Risoluzione:",
                         u"Backup Interno:",
                         u"Cartuccia di Backup:",
                         u"Poligon Coords Fix (vedi FAQ):",
                         u"Disattiva Emulazione Math DSP",
                         u"Disattiva Priorità Sprite",
                         u"Abilita Logging in ERROR.LOG",
                         u"&File",
                         u"&Esci",
                         u"&Opzioni",
                         u"&Lingua Frontend",
                         u"&Aiuto",
                         u"&Info su.."})},
        {francais, list({u"Chemin",
                         u"Sélectionner l'en-tête",
                         u"Lancer SSE",
                         u"Chemin de l'émulateur",
                         u"Système et jeu",
                         u"Paramètres Vidèo",
                         u"Paramètres Avancées",
                         u"Chemin de SSE:",
                         u"Résolution:",
                         u"Sauvegarde Interne:",
                         u"Sauvegarde sur cartouche:",
                         u"Coord. des polygones Fixes (Voir la FAQ):",
                         u"Désactiver l'émulation du DSP",
                         u"Désactiver la priorité des Sprites",
                         u"Activer le journal (ERROR.LOG)",
                         u"&Fichier",
                         u"&Quitter",
                         u"&Options",
                         u"Interface et &Langues",
                         u"&Aide",
                         u"&A propos..."})},
    };
    const QStringList unchanged{
        QStringLiteral("Frame2"),  QStringLiteral("Label1"), QStringLiteral("Label2"),
        QStringLiteral("Label3"),  QStringLiteral("Label4"), QStringLiteral("Label13"),
        QStringLiteral("Label14"), QStringLiteral("opz11"),  QStringLiteral("opz12"),
        QStringLiteral("opz13"),   QStringLiteral("extr"),   QStringLiteral("extr1"),
        QStringLiteral("Form1")};
    Harness designed;
    const QMap<QString, QString> design = captionsOf(&designed.start());

    for (const Expected &language : expected) {
        Harness harness;
        harness.settings.setGeneral(QStringLiteral("language"), language.language);
        Form1 &form = harness.start();
        QVERIFY(form.ui->opz11->isChecked() == (language.language == english));
        QVERIFY(form.ui->opz12->isChecked() == (language.language == italiano));
        QVERIFY(form.ui->opz13->isChecked() == (language.language == francais));
        const QMap<QString, QString> shown = captionsOf(&form);
        for (int i = 0; i < controls.size(); ++i)
            QCOMPARE(shown.value(controls.at(i)), language.texts.at(i));
        for (const QString &browse : {QStringLiteral("Command4"), QStringLiteral("Command5"),
                                      QStringLiteral("Command6"), QStringLiteral("Command7")})
            QCOMPARE(shown.value(browse), language.texts.at(0));
        for (const QString &control : unchanged)
            QCOMPARE(shown.value(control), design.value(control));
        QCOMPARE(form.ui->Text1->text(), Messages::msgselheader(language.language));
        QCOMPARE(form.ui->Combo2->editAreaText(), Messages::msgselstvrom(language.language));
        QCOMPARE(form.ui->Combo4->editAreaText(), Messages::msgnostretch(language.language));
    }
    QCOMPARE(design.value(QStringLiteral("file1")), QStringLiteral("&Exit"));
    QCOMPARE(design.value(QStringLiteral("opz13")), QStringLiteral("&") + francais);
}

void TestLanguage::everyTableHasTheSameEntriesInEveryLanguage()
{
    const QString sentinel = QStringLiteral("#untouched#");
    QMap<QString, QMap<QString, QString>> byLanguage;
    for (const QString &language : {english, italiano, francais}) {
        Harness harness;
        Form1 &form = harness.start();
        QMap<QString, QString> shown;
        for (QWidget *window : allWindows(form)) {
            // Mark every caption, then see which ones the language writes.
            const auto before = captionsOf(window);
            for (auto it = before.constBegin(); it != before.constEnd(); ++it) {
                QObject *control = window;
                for (QObject *child : window->findChildren<QObject *>(it.key())) {
                    if (it.key() != window->objectName() && shownIn(child, window))
                        control = child;
                }
                if (control == window)
                    window->setWindowTitle(sentinel);
                else if (auto *label = qobject_cast<QLabel *>(control))
                    label->setText(sentinel);
                else if (auto *button = qobject_cast<QAbstractButton *>(control))
                    button->setText(sentinel);
                else if (auto *frame = qobject_cast<QGroupBox *>(control))
                    frame->setTitle(sentinel);
                else if (auto *menu = qobject_cast<QMenu *>(control))
                    menu->setTitle(sentinel);
                else if (auto *action = qobject_cast<QAction *>(control))
                    action->setText(sentinel);
            }
        }
        form.switchLanguage(language);
        for (QWidget *window : allWindows(form)) {
            const auto after = captionsOf(window);
            for (auto it = after.constBegin(); it != after.constEnd(); ++it)
                shown.insert(window->objectName() + QLatin1Char('.') + it.key(), it.value());
        }
        byLanguage.insert(language, shown);
    }
    const auto &reference = byLanguage.value(english);
    for (const QString &language : {italiano, francais}) {
        const auto &other = byLanguage.value(language);
        QCOMPARE(other.keys(), reference.keys());
        for (auto it = reference.constBegin(); it != reference.constEnd(); ++it) {
            const QString theirs = other.value(it.key());
            // Written in one language means written in all; empty in one, empty in all.
            QVERIFY2((it.value() == sentinel) == (theirs == sentinel), qPrintable(it.key()));
            QVERIFY2(it.value().isEmpty() == theirs.isEmpty(), qPrintable(it.key()));
        }
    }
}

void TestLanguage::aSwitchReachesEveryOpenWindowAndIsRemembered()
{
    Harness harness;
    Form1 &form = harness.start();
    form.show();
    form.ui->help1->trigger();
    form.ui->extr1->trigger();
    QVERIFY(form.about && form.extrlowL);

    form.ui->opz12->trigger();
    QVERIFY(form.ui->opz12->isChecked() && !form.ui->opz11->isChecked() &&
            !form.ui->opz13->isChecked());
    QCOMPARE(form.lingua, italiano);
    QCOMPARE(harness.settings.general(QStringLiteral("language")), italiano);
    QCOMPARE(form.ui->Command8->text(), QStringLiteral("Avvia SSE"));
    QCOMPARE(form.about.data()->windowTitle(),
             QStringLiteral("Info su KIVO - Olvar's SSE Frontend 0.2"));
    QCOMPARE(form.extrlowL->findChild<QAbstractButton *>(QStringLiteral("Command1"))->text(),
             QStringLiteral("&Estrai Header"));

    form.ui->opz13->trigger();
    QCOMPARE(harness.settings.general(QStringLiteral("language")), francais);
    QCOMPARE(form.about.data()->windowTitle(),
             QStringLiteral("A propos de KIVO - Olvar's SSE Frontend 0.2"));

    // The next start opens in the language chosen.
    Harness next;
    next.settings.values = harness.settings.values;
    Form1 &again = next.start();
    QCOMPARE(again.lingua, francais);
    QVERIFY(again.ui->opz13->isChecked() && !again.ui->opz11->isChecked());
    QCOMPARE(again.ui->Command8->text(), QStringLiteral("Lancer SSE"));
    QCOMPARE(again.ui->Text3->text(), QString::fromUtf16(u"Sélectionner le BIOS"));
}

void TestLanguage::aSwitchChangesWordsNeverChoices()
{
    Harness harness;
    Form1 &form = harness.start();
    form.ui->Text3->setText(QStringLiteral("sat bios.bin"));
    form.ui->Text3->setTag(QStringLiteral("sat bios.bin"));
    form.ui->Combo4->setCurrentIndex(1);
    form.ui->Combo2->setCurrentIndex(33);
    QVERIFY(form.ui->Option2->isChecked());
    harness.settings.saves.clear();

    form.ui->opz12->trigger();
    // The chosen game, system and files stay chosen and shown.
    QVERIFY(form.ui->Option2->isChecked() && !form.ui->Option1->isChecked());
    QCOMPARE(harness.settings.saves, QStringList(QStringLiteral("language=Italiano")));
    QCOMPARE(form.selstvrom, QStringLiteral("sss"));
    QCOMPARE(form.ui->Combo2->editAreaText(), QStringLiteral("Steep Slope Sliders"));
    QCOMPARE(form.ui->Label15->text(), QStringLiteral("(Nome Dir o Zip per il gioco scelto: sss)"));
    QCOMPARE(form.ui->Text3->text(), QStringLiteral("sat bios.bin"));
    // Fields with nothing chosen take the new prompts.
    QCOMPARE(form.ui->Text1->text(),
             QStringLiteral("Scegli un file header per usare un gioco del Saturn"));
    QCOMPARE(form.ui->Text4->text(), QStringLiteral("Scegli File BIOS"));
    // The stretch entries are rewritten in place, the selection kept.
    QCOMPARE(form.ui->Combo4->count(), 3);
    QCOMPARE(form.ui->Combo4->currentIndex(), 1);
    QCOMPARE(form.ui->Combo4->editAreaText(), QStringLiteral("Stretch a Tutto Schermo"));
    QCOMPARE(form.stretchmode.text(), QStringLiteral(" -stretch 1"));

    // With no game chosen, the rom set line is left alone and the list shows its prompt.
    Harness other;
    Form1 &fresh = other.start();
    fresh.ui->Label15->setText(QStringLiteral("untouched"));
    fresh.ui->opz13->trigger();
    QCOMPARE(fresh.ui->Label15->text(), QStringLiteral("untouched"));
    QCOMPARE(fresh.ui->Combo2->editAreaText(), QString::fromUtf16(u"Sélectionner un jeu ST-V"));
    QVERIFY(fresh.ui->Option1->isChecked());
}

void TestLanguage::theCurrentLanguageAgainAppliesAndSavesAgain()
{
    Harness harness;
    Form1 &form = harness.start();
    harness.settings.saves.clear();
    form.ui->opz11->trigger();
    QVERIFY(form.ui->opz11->isChecked());
    QCOMPARE(form.ui->file1->text(), QStringLiteral("E&xit"));
    form.ui->opz11->trigger();
    QVERIFY(form.ui->opz11->isChecked());
    QCOMPARE(harness.settings.saves,
             QStringList({QStringLiteral("language=English"), QStringLiteral("language=English")}));
}

void TestLanguage::aLanguageAndBackIsTheLanguageAlone()
{
    Harness once;
    Form1 &direct = once.start();
    direct.switchLanguage(english);
    Harness twice;
    Form1 &roundTrip = twice.start();
    roundTrip.switchLanguage(italiano);
    roundTrip.switchLanguage(francais);
    roundTrip.switchLanguage(english);
    const QList<QWidget *> left = allWindows(direct);
    const QList<QWidget *> right = allWindows(roundTrip);
    for (int i = 0; i < left.size(); ++i)
        QCOMPARE(captionsOf(right.at(i)), captionsOf(left.at(i)));
    QCOMPARE(roundTrip.ui->Text1->text(), direct.ui->Text1->text());
    QCOMPARE(roundTrip.ui->Combo4->itemText(2), QStringLiteral("Proportional Stretch"));
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"

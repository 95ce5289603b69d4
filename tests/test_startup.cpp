#include "fakeplatform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// What the main window shows and saves once it has started, for the stores
// a person's earlier runs leave behind.
class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void firstStartWithAnEmptyStore();
    void aFullStoreIsShownAgain();
    void theSavedSystemWinsOverTheOnesRestoredOnTheWay();
    void savedDrives();
    void aSavedFolderWithoutItsShortFormFailsTheFolderCheck();
    void aLanguageThatIsNoneOfTheThree();
    void valuesThatCannotBeReadAreIgnored();
    void savingTheStateAControlAlreadyHasRunsNothing();
};

void TestStartup::firstStartWithAnEmptyStore()
{
    QTemporaryDir sse;
    Harness harness;
    harness.ownFolder.folder = sse.path();
    Form1 &form = harness.start();
    const auto &ui = form.ui;

    QCOMPARE(form.lingua, QStringLiteral("English"));
    QVERIFY(ui->opz11->isChecked());
    QVERIFY(!ui->opz12->isChecked() && !ui->opz13->isChecked());
    QCOMPARE(ui->file1->text(), QStringLiteral("&Exit"));
    QCOMPARE(form.windowTitle(), QStringLiteral("KIVO - Olvar's SSE Frontend 0.2"));

    QCOMPARE(ui->Text1->text(), QStringLiteral("Select header file to play a Saturn game"));
    QCOMPARE(ui->Text3->text(), QStringLiteral("Select BIOS File"));
    QCOMPARE(ui->Text4->text(), QStringLiteral("Select BIOS File"));
    QCOMPARE(ui->Text5->text(), QStringLiteral("-none-"));
    QCOMPARE(ui->Text6->text(), QStringLiteral("-none-"));
    for (PathField *field : {ui->Text1, ui->Text3, ui->Text4, ui->Text5, ui->Text6}) {
        QCOMPARE(field->tag(), QString());
        QVERIFY(!field->isEnabled());
    }
    QCOMPARE(ui->Text7->text(), sse.path());
    QCOMPARE(ui->Text7->tag(), QDir(sse.path()).canonicalPath());

    QCOMPARE(ui->Combo1->editAreaText(), QStringLiteral("0"));
    QCOMPARE(ui->Combo3->editAreaText(), QStringLiteral("640 x 480 (Default)"));
    QCOMPARE(ui->Combo4->editAreaText(), QStringLiteral("No Stretching (Default)"));
    QCOMPARE(ui->Combo5->editAreaText(), QStringLiteral("F:"));
    QCOMPARE(ui->Combo2->editAreaText(), QStringLiteral("Select a rom to play an St-V game"));
    QCOMPARE(ui->Combo2->currentIndex(), -1);
    QCOMPARE(ui->Combo2->count(), 40);
    QCOMPARE(ui->Combo2->itemText(0), QString());
    QCOMPARE(ui->Combo2->itemText(1), QStringLiteral("Astra Super Stars"));
    QCOMPARE(ui->Combo2->itemText(39), QStringLiteral("Winter Heat"));
    QCOMPARE(ui->Combo1->count(), 3);
    QCOMPARE(ui->Combo3->count(), 3);
    QCOMPARE(ui->Combo4->count(), 3);
    QCOMPARE(ui->Combo5->count(), 23);
    QCOMPARE(ui->Combo5->itemText(0), QStringLiteral("D:"));
    QCOMPARE(ui->Combo5->itemText(22), QStringLiteral("Z:"));
    QCOMPARE(ui->Label15->text(), QString());

    QVERIFY(ui->Option1->isEnabled() && ui->Option1->isChecked());
    QVERIFY(!ui->Option2->isEnabled() && !ui->Option2->isChecked());
    for (QCheckBox *box : {ui->Check1, ui->Check2, ui->Check3, ui->Check4, ui->Check5, ui->Check6})
        QCOMPARE(box->checkState(), Qt::Unchecked);
    QVERIFY(!ui->Check1->isEnabled() && !ui->Check2->isEnabled());
    QVERIFY(ui->Check3->isEnabled() && ui->Check6->isEnabled());

    QCOMPARE(form.drivelet.text(), QStringLiteral(" -d F:"));
    QCOMPARE(form.resolution.text(), QStringLiteral(" -res 640 480"));
    QCOMPARE(form.stretchmode.text(), QStringLiteral(" -stretch 0"));
    for (const kivo::CommandLine *fragment : {&form.opzione1, &form.opzione2, &form.opzione3,
                                              &form.opzione4, &form.opzione5, &form.opzione6})
        QCOMPARE(fragment->text(), QString());
    QCOMPARE(form.selstvrom, QString());
    QCOMPARE(form.picker.dirselect1, QStringLiteral("-nope-"));
    QCOMPARE(form.picker.driveselect1, QStringLiteral("-nope-"));
    QCOMPARE(form.commandreqn, qint16(0));
    QCOMPARE(form.apppath, form.ssepath);

    // The handlers that start-up runs save in its order, and nothing else.
    QCOMPARE(harness.settings.saves,
             QStringList({QStringLiteral("system-sat=True"), QStringLiteral("system-stv=False"),
                          QStringLiteral("drive=2"), QStringLiteral("res=0"),
                          QStringLiteral("stretch=0")}));

    // "Run SSE" holds the focus when the window opens.
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.ui->Command8);
}

void TestStartup::aFullStoreIsShownAgain()
{
    QTemporaryDir sse;
    Harness harness;
    harness.ownFolder.folder = sse.path();
    MemorySettings &store = harness.settings;
    store.setLastFolders(QStringLiteral("text1"), QStringLiteral("my game.sgh"));
    store.setLastFolders(QStringLiteral("text1tag"), QStringLiteral("my game.sgh"));
    store.setLastFolders(QStringLiteral("text3"), QStringLiteral("sat.bin"));
    store.setLastFolders(QStringLiteral("text3tag"), QStringLiteral("sat.bin"));
    store.setLastFolders(QStringLiteral("text4"), QStringLiteral("stv.bin"));
    store.setLastFolders(QStringLiteral("text4tag"), QStringLiteral("stv.bin"));
    store.setLastFolders(QStringLiteral("text5"), QStringLiteral("int back.bin"));
    store.setLastFolders(QStringLiteral("text5tag"), QStringLiteral("int back.bin"));
    store.setLastFolders(QStringLiteral("text6"), QStringLiteral("cart.bin"));
    store.setLastFolders(QStringLiteral("text6tag"), QStringLiteral("cart.bin"));
    store.setLastFolders(QStringLiteral("text7"), QStringLiteral("/emu/SSE"));
    store.setLastFolders(QStringLiteral("text7tag"), sse.path());
    for (int box = 1; box <= 6; ++box)
        store.setGeneral(QStringLiteral("opz%1").arg(box), QStringLiteral("1"));
    store.setGeneral(QStringLiteral("stvrom"), QStringLiteral("10"));
    store.setGeneral(QStringLiteral("res"), QStringLiteral("2"));
    store.setGeneral(QStringLiteral("stretch"), QStringLiteral("1"));
    store.setGeneral(QStringLiteral("drive"), QStringLiteral("9"));
    store.setGeneral(QStringLiteral("system-sat"), QStringLiteral("False"));
    store.setGeneral(QStringLiteral("system-stv"), QStringLiteral("True"));
    store.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));

    Form1 &form = harness.start();
    const auto &ui = form.ui;
    QCOMPARE(ui->Text1->text(), QStringLiteral("my game.sgh"));
    QCOMPARE(ui->Text5->tag(), QStringLiteral("int back.bin"));
    QCOMPARE(ui->Text7->text(), QStringLiteral("/emu/SSE"));
    QCOMPARE(ui->Text7->tag(), sse.path());
    QVERIFY(ui->Check1->isEnabled() && ui->Check2->isEnabled());
    // The backup switches were restored after the files they name.
    QCOMPARE(form.opzione1.text(), QStringLiteral(" -br int back.bin"));
    QCOMPARE(form.opzione1.arguments(),
             QStringList({QStringLiteral("-br"), QStringLiteral("int back.bin")}));
    QCOMPARE(form.opzione2.text(), QStringLiteral(" -bc cart.bin"));
    // The mode list is not kept: the fix starts at mode 0.
    QCOMPARE(form.opzione3.text(), QStringLiteral(" -polycoordfix 0"));
    QCOMPARE(form.opzione4.text(), QStringLiteral(" -nodsp"));
    QCOMPARE(form.opzione5.text(), QStringLiteral(" -nospritepri"));
    QCOMPARE(form.opzione6.text(), QStringLiteral(" -log"));
    QCOMPARE(ui->Combo2->editAreaText(), QStringLiteral("Final Fight Revenge"));
    QCOMPARE(form.selstvrom, QStringLiteral("ffreveng"));
    QCOMPARE(ui->Label15->text(), QStringLiteral("(Dir or Zip name for selected game: ffreveng)"));
    QCOMPARE(form.resolution.text(), QStringLiteral(" -res 1024 768"));
    QCOMPARE(ui->Combo4->editAreaText(), QStringLiteral("Full Screen Stretch"));
    QCOMPARE(form.stretchmode.text(), QStringLiteral(" -stretch 1"));
    QCOMPARE(form.drivelet.text(), QStringLiteral(" -d M:"));
    QVERIFY(ui->Option2->isChecked() && !ui->Option1->isChecked());
    QCOMPARE(store.general(QStringLiteral("system-stv")), QStringLiteral("True"));
    QCOMPARE(store.general(QStringLiteral("drive")), QStringLiteral("9"));
    QCOMPARE(
        form.stvCommandLine().text(),
        QStringLiteral("sse.exe -g ffreveng -b stv.bin -res 1024 768 -stretch 1 -br int back.bin"
                       " -bc cart.bin -polycoordfix 0 -nodsp -nospritepri -log"));
}

void TestStartup::theSavedSystemWinsOverTheOnesRestoredOnTheWay()
{
    Harness harness;
    MemorySettings &store = harness.settings;
    store.setLastFolders(QStringLiteral("text1"), QStringLiteral("daytona.sgh"));
    store.setGeneral(QStringLiteral("stvrom"), QStringLiteral("33"));
    store.setGeneral(QStringLiteral("system-sat"), QStringLiteral("True"));
    store.setGeneral(QStringLiteral("system-stv"), QStringLiteral("False"));
    Form1 &form = harness.start();
    // The header selected Saturn, the game ST-V, and the saved choice Saturn again.
    QVERIFY(form.ui->Option1->isChecked());
    QVERIFY(form.ui->Option2->isEnabled());
    QCOMPARE(form.selstvrom, QStringLiteral("sss"));
    const QStringList systemSaves = harness.settings.saves.filter(QStringLiteral("system-sat"));
    QCOMPARE(systemSaves,
             QStringList({QStringLiteral("system-sat=True"), QStringLiteral("system-sat=False"),
                          QStringLiteral("system-sat=True")}));
    QCOMPARE(store.general(QStringLiteral("system-sat")), QStringLiteral("True"));
    QCOMPARE(store.general(QStringLiteral("system-stv")), QStringLiteral("False"));

    // The store can say neither system is chosen; then "Run SSE" starts nothing.
    Harness neither;
    neither.settings.setGeneral(QStringLiteral("system-sat"), QStringLiteral("False"));
    neither.settings.setGeneral(QStringLiteral("system-stv"), QStringLiteral("False"));
    neither.settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    Form1 &none = neither.start();
    QVERIFY(!none.ui->Option1->isChecked() && !none.ui->Option2->isChecked());
}

void TestStartup::savedDrives()
{
    const QList<QPair<QString, QString>> cases{{QStringLiteral("0"), QStringLiteral("D:")},
                                               {QStringLiteral("22"), QStringLiteral("Z:")},
                                               {QStringLiteral("2"), QStringLiteral("F:")}};
    for (const auto &[saved, drive] : cases) {
        Harness harness;
        harness.settings.setGeneral(QStringLiteral("drive"), saved);
        Form1 &form = harness.start();
        QCOMPARE(form.ui->Combo5->editAreaText(), drive);
        QCOMPARE(form.drivelet.text(), QStringLiteral(" -d ") + drive);
        QCOMPARE(harness.settings.general(QStringLiteral("drive")), saved);
        // Restoring the default entry runs its handler once only, at the fill.
        QCOMPARE(harness.settings.saves.count(QStringLiteral("drive=2")), 1);
    }
}

void TestStartup::aSavedFolderWithoutItsShortFormFailsTheFolderCheck()
{
    QTemporaryDir sse;
    Harness harness;
    harness.ownFolder.folder = sse.path();
    harness.settings.setLastFolders(QStringLiteral("text7"), sse.path());
    harness.settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    Form1 &form = harness.start();
    QCOMPARE(form.ui->Text7->text(), sse.path());
    QCOMPARE(form.ui->Text7->tag(), QString());
    QCOMPARE(form.ssepath, QString());
    QVERIFY(form.apppath != form.ssepath);
}

void TestStartup::aLanguageThatIsNoneOfTheThree()
{
    for (const QString &stored : {QStringLiteral("english"), QStringLiteral("Francais")}) {
        Harness harness;
        harness.settings.setGeneral(QStringLiteral("language"), stored);
        Form1 &form = harness.start();
        QCOMPARE(form.lingua, stored);
        QVERIFY(form.ui->opz11->isChecked() && !form.ui->opz13->isChecked());
        QCOMPARE(form.ui->Text1->text(), QString());
        QCOMPARE(form.ui->Text3->text(), QString());
        QCOMPARE(form.ui->Text4->text(), QString());
        QCOMPARE(form.ui->Combo4->count(), 3);
        QCOMPARE(form.ui->Combo4->itemText(1), QString());
        QCOMPARE(form.ui->Frame1->title(), QStringLiteral("System and Game"));
        QCOMPARE(form.ui->Combo2->editAreaText(),
                 QStringLiteral("Select a rom to play an St-V game"));
        // The header field never changed, so nothing selected Saturn.
        QVERIFY(!form.ui->Option1->isChecked());
    }
}

void TestStartup::valuesThatCannotBeReadAreIgnored()
{
    Harness harness;
    MemorySettings &store = harness.settings;
    store.setGeneral(QStringLiteral("drive"), QStringLiteral("99"));
    store.setGeneral(QStringLiteral("res"), QStringLiteral("abc"));
    store.setGeneral(QStringLiteral("stretch"), QStringLiteral("-1"));
    store.setGeneral(QStringLiteral("stvrom"), QStringLiteral("40"));
    store.setGeneral(QStringLiteral("opz3"), QStringLiteral("7"));
    store.setGeneral(QStringLiteral("opz4"), QStringLiteral("yes"));
    store.setGeneral(QStringLiteral("system-sat"), QStringLiteral("maybe"));
    store.setGeneral(QStringLiteral("system-stv"), QStringLiteral("true"));
    Form1 &form = harness.start();
    QCOMPARE(form.ui->Combo5->editAreaText(), QStringLiteral("F:"));
    QCOMPARE(form.ui->Combo3->currentIndex(), 0);
    QCOMPARE(form.ui->Combo4->currentIndex(), 0);
    QCOMPARE(form.ui->Combo2->currentIndex(), -1);
    QCOMPARE(form.ui->Check3->checkState(), Qt::Unchecked);
    QCOMPARE(form.ui->Check4->checkState(), Qt::Unchecked);
    QVERIFY(form.ui->Option1->isChecked());
    QVERIFY(!form.ui->Option2->isEnabled());
    QCOMPARE(form.drivelet.text(), QStringLiteral(" -d F:"));
}

void TestStartup::savingTheStateAControlAlreadyHasRunsNothing()
{
    Harness harness;
    harness.settings.setGeneral(QStringLiteral("opz3"), QStringLiteral("0"));
    harness.settings.setGeneral(QStringLiteral("res"), QStringLiteral("0"));
    harness.start();
    QVERIFY(harness.settings.saves.filter(QStringLiteral("opz")).isEmpty());
    QCOMPARE(harness.settings.saves.count(QStringLiteral("res=0")), 1);
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"

#include "fakeplatform.h"

#include <QTest>

#include <optional>

// Each option a person sets turns into its piece of the emulator's command
// line at once, and is saved at once.
class TestLaunchOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void switchesGiveTheirFragmentsAndAreSaved();
    void backupSwitchesFollowTheirFiles();
    void polygonFixFollowsItsMode();
    void listsGiveTheirFragmentsInEveryLanguage();
    void choosingAGameSelectsStv();
    void listsTakeNoTypedCharacters();
    void backupFieldsEnableTheirSwitches();

private:
    std::optional<Harness> harness;
    Form1 *form = nullptr;
    void choose(ListBox *list, int index);
};

void TestLaunchOptions::init()
{
    harness.emplace();
    harness->settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    form = &harness->start();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    harness->settings.saves.clear();
}

// Picks an entry the way a keyboard user does: focus the list, move with arrows.
void TestLaunchOptions::choose(ListBox *list, int index)
{
    list->setFocus();
    while (list->currentIndex() < index)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > index)
        QTest::keyClick(list, Qt::Key_Up);
}

void TestLaunchOptions::switchesGiveTheirFragmentsAndAreSaved()
{
    const struct {
        QCheckBox *box;
        kivo::CommandLine *fragment;
        QString value;
        QString key;
    } switches[] = {
        {form->ui->Check4, &form->opzione4, QStringLiteral(" -nodsp"), QStringLiteral("opz4")},
        {form->ui->Check5, &form->opzione5, QStringLiteral(" -nospritepri"),
         QStringLiteral("opz5")},
        {form->ui->Check6, &form->opzione6, QStringLiteral(" -log"), QStringLiteral("opz6")}};
    for (const auto &option : switches) {
        QTest::mouseClick(option.box, Qt::LeftButton);
        QCOMPARE(option.fragment->text(), option.value);
        QCOMPARE(harness->settings.general(option.key), QStringLiteral("1"));
        QTest::mouseClick(option.box, Qt::LeftButton);
        QCOMPARE(option.fragment->text(), QString());
        QCOMPARE(harness->settings.general(option.key), QStringLiteral("0"));
    }
    // The keyboard toggles like the mouse.
    form->ui->Check4->setFocus();
    QTest::keyClick(form->ui->Check4, Qt::Key_Space);
    QCOMPARE(form->opzione4.text(), QStringLiteral(" -nodsp"));
}

void TestLaunchOptions::backupSwitchesFollowTheirFiles()
{
    form->ui->Text5->setText(QStringLiteral("intback.bin"));
    form->ui->Text5->setTag(QStringLiteral("intback.bin"));
    QTest::mouseClick(form->ui->Check1, Qt::LeftButton);
    QCOMPARE(form->opzione1.text(), QStringLiteral(" -br intback.bin"));
    QCOMPARE(harness->settings.general(QStringLiteral("opz1")), QStringLiteral("1"));

    // A new file while the switch is on goes to the emulator at once.
    harness->settings.saves.clear();
    form->ui->Text5->setText(QStringLiteral("other back.bin"));
    form->ui->Text5->setTag(QStringLiteral("other back.bin"));
    QCOMPARE(form->opzione1.text(), QStringLiteral(" -br other back.bin"));
    QCOMPARE(form->opzione1.arguments(),
             QStringList({QStringLiteral("-br"), QStringLiteral("other back.bin")}));
    QVERIFY(harness->settings.saves.isEmpty());

    QTest::mouseClick(form->ui->Check1, Qt::LeftButton);
    QCOMPARE(form->opzione1.text(), QString());
    QCOMPARE(harness->settings.general(QStringLiteral("opz1")), QStringLiteral("0"));
    // Off, the switch ignores new files.
    form->ui->Text5->setTag(QStringLiteral("third.bin"));
    QCOMPARE(form->opzione1.text(), QString());

    // No file chosen: no switch, which would take the next one for its file.
    form->ui->Text6->setText(QStringLiteral("x"));
    QTest::mouseClick(form->ui->Check2, Qt::LeftButton);
    QCOMPARE(form->opzione2.text(), QString());
    form->ui->Text6->setTag(QStringLiteral("cart.bin"));
    QCOMPARE(form->opzione2.text(), QStringLiteral(" -bc cart.bin"));
}

void TestLaunchOptions::polygonFixFollowsItsMode()
{
    choose(form->ui->Combo1, 2);
    QVERIFY(harness->settings.saves.isEmpty());
    QCOMPARE(form->opzione3.text(), QString());
    QTest::mouseClick(form->ui->Check3, Qt::LeftButton);
    QCOMPARE(form->opzione3.text(), QStringLiteral(" -polycoordfix 2"));
    QCOMPARE(harness->settings.saves, QStringList(QStringLiteral("opz3=1")));
    choose(form->ui->Combo1, 0);
    QCOMPARE(form->opzione3.text(), QStringLiteral(" -polycoordfix 0"));
    // The mode itself is never saved.
    QCOMPARE(harness->settings.saves, QStringList(QStringLiteral("opz3=1")));
}

void TestLaunchOptions::listsGiveTheirFragmentsInEveryLanguage()
{
    choose(form->ui->Combo3, 1);
    QCOMPARE(form->resolution.text(), QStringLiteral(" -res 800 600"));
    QCOMPARE(harness->settings.general(QStringLiteral("res")), QStringLiteral("1"));
    choose(form->ui->Combo3, 2);
    QCOMPARE(form->resolution.text(), QStringLiteral(" -res 1024 768"));

    choose(form->ui->Combo4, 2);
    QCOMPARE(form->ui->Combo4->editAreaText(), QStringLiteral("Proportional Stretch"));
    QCOMPARE(form->stretchmode.text(), QStringLiteral(" -stretch 2"));
    QCOMPARE(harness->settings.general(QStringLiteral("stretch")), QStringLiteral("2"));

    choose(form->ui->Combo5, 9);
    QCOMPARE(form->ui->Combo5->editAreaText(), QStringLiteral("M:"));
    QCOMPARE(form->drivelet.text(), QStringLiteral(" -d M:"));
    QCOMPARE(harness->settings.general(QStringLiteral("drive")), QStringLiteral("9"));
    choose(form->ui->Combo5, 2);
    QCOMPARE(form->drivelet.text(), QStringLiteral(" -d F:"));
    QCOMPARE(harness->settings.general(QStringLiteral("drive")), QStringLiteral("2"));

    // The stretch number is the entry's place, whatever its words.
    Harness italian;
    italian.settings.setGeneral(QStringLiteral("language"), QStringLiteral("Italiano"));
    Form1 &other = italian.start();
    QCOMPARE(other.ui->Combo4->itemText(2), QStringLiteral("Stretch Proporzionale"));
    other.ui->Combo4->setCurrentIndex(2);
    QCOMPARE(other.stretchmode.text(), QStringLiteral(" -stretch 2"));
}

void TestLaunchOptions::choosingAGameSelectsStv()
{
    choose(form->ui->Combo2, 33);
    QCOMPARE(form->ui->Combo2->editAreaText(), QStringLiteral("Steep Slope Sliders"));
    QCOMPARE(form->selstvrom, QStringLiteral("sss"));
    QVERIFY(form->ui->Option2->isEnabled() && form->ui->Option2->isChecked());
    QVERIFY(!form->ui->Option1->isChecked());
    QCOMPARE(form->ui->Label15->text(), QStringLiteral("(Dir or Zip name for selected game: sss)"));
    QCOMPARE(harness->settings.general(QStringLiteral("system-sat")), QStringLiteral("False"));
    QCOMPARE(harness->settings.general(QStringLiteral("system-stv")), QStringLiteral("True"));
    QCOMPARE(harness->settings.general(QStringLiteral("stvrom")), QStringLiteral("33"));

    const QList<QPair<int, QString>> games{
        {9, QStringLiteral("elandore")},   {10, QStringLiteral("ffreveng")},
        {13, QStringLiteral("finalarch")}, {35, QStringLiteral("twcup98")},
        {37, QStringLiteral("vfremix")},   {39, QStringLiteral("winterht")},
        {1, QStringLiteral("astrass")}};
    for (const auto &[index, romSet] : games) {
        form->ui->Combo2->setCurrentIndex(index);
        QCOMPARE(form->selstvrom, romSet);
    }
    QCOMPARE(form->ui->Combo2->itemText(35), QStringLiteral("Wold Cup '98"));
    QCOMPARE(form->ui->Combo2->itemText(37), QStringLiteral("Virtua Figher Remix"));
    QCOMPARE(form->ui->Combo2->itemText(32), QStringLiteral("Soukyu Gurentai / Terra Diver"));

    // Back to Saturn by hand, then the empty entry: no game, but still ST-V.
    QTest::mouseClick(form->ui->Option1, Qt::LeftButton);
    QCOMPARE(harness->settings.general(QStringLiteral("system-sat")), QStringLiteral("True"));
    form->ui->Combo2->setCurrentIndex(0);
    QCOMPARE(form->selstvrom, QString());
    QCOMPARE(form->ui->Label15->text(), QString());
    QVERIFY(form->ui->Option2->isChecked());
    QCOMPARE(harness->settings.general(QStringLiteral("stvrom")), QStringLiteral("0"));
    QCOMPARE(harness->settings.general(QStringLiteral("system-stv")), QStringLiteral("True"));
}

void TestLaunchOptions::listsTakeNoTypedCharacters()
{
    for (ListBox *list : {form->ui->Combo1, form->ui->Combo2, form->ui->Combo3, form->ui->Combo4,
                          form->ui->Combo5}) {
        list->setFocus();
        const int before = list->currentIndex();
        const QString shown = list->editAreaText();
        QTest::keyClicks(list, QStringLiteral("sWz1 9"));
        QCOMPARE(list->currentIndex(), before);
        QCOMPARE(list->editAreaText(), shown);
    }
    QCOMPARE(form->drivelet.text(), QStringLiteral(" -d F:"));
    QCOMPARE(form->selstvrom, QString());
    QVERIFY(harness->settings.saves.isEmpty());
}

void TestLaunchOptions::backupFieldsEnableTheirSwitches()
{
    Harness fresh;
    Form1 &other = fresh.start();
    other.ui->Text5->setText(QStringLiteral("-none-"));
    QVERIFY(!other.ui->Check1->isEnabled());
    other.ui->Text5->setText(QString());
    QVERIFY(other.ui->Check1->isEnabled());
    other.ui->Text5->setText(QStringLiteral("-none-"));
    QVERIFY(other.ui->Check1->isEnabled());
    other.ui->Text6->setText(QStringLiteral("cart.bin"));
    QVERIFY(other.ui->Check2->isEnabled());
}

QTEST_MAIN(TestLaunchOptions)
#include "test_launchoptions.moc"

// The Browse buttons and the picker on real folders: where each request
// opens, what the choice fills and saves, where the picker remembers, and
// drives and folders that are not there.

#include "harness.h"
#include "lang/messages.h"

class TestPicker : public QObject
{
    Q_OBJECT

private slots:
    void eachRequestOpensWhereItsFilesAre();
    void aChoiceFillsItsFieldAndIsSaved();
    void thePickerRemembersWhereItWas();
    void drivesAndFoldersThatAreNotThere();
};

namespace
{

void open(DirListBox *list, const QString &text)
{
    const QList<QTreeWidgetItem *> found =
        list->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollToItem(found.first());
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

void TestPicker::eachRequestOpensWhereItsFilesAre()
{
    SseFolder sse;
    // As Windows would find them: the names on disk are Headers and BIOS.
    QVERIFY(QDir(sse.path).rename(QStringLiteral("headers"), QStringLiteral("Headers")));
    QVERIFY(QDir(sse.path).rename(QStringLiteral("bios"), QStringLiteral("BIOS")));
    Harness harness(sse.path);
    const Ui::Form1 &ui = *harness.start().ui;
    const QPair<QPushButton *, QString> requests[] = {
        {ui.Command1, sse / QStringLiteral("Headers")},
        {ui.Command3, sse / QStringLiteral("BIOS")},
        {ui.Command4, sse / QStringLiteral("BIOS")},
        {ui.Command5, sse.path},
        {ui.Command6, sse.path}};
    for (const auto &[button, folder] : requests) {
        QTest::mouseClick(button, Qt::LeftButton);
        const Ui::ApriFile &p = harness.picker();
        QVERIFY(p.Dir1->isHidden() && p.File1->isVisible() && !p.Drive1->isEnabled());
        QCOMPARE(p.File1->x(), 0);
        QCOMPARE(p.File1->path(), folder);
        QCOMPARE(p.Text1->text(), folder);
    }
    // Hidden files left out; files without a dot in; numbers by value.
    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    QCOMPARE(listed(harness.picker().File1),
             QStringList({u"Disc2.sgh"_qs, u"disc10.sgh"_qs, oddHeader, u"README"_qs}));
    // The folder request: every drive and folder, from where the picker was.
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    const Ui::ApriFile &p = harness.picker();
    QVERIFY(p.File1->isHidden() && p.Dir1->isVisible() && p.Drive1->isEnabled());
    QCOMPARE(p.Dir1->path(), sse / QStringLiteral("Headers"));
    open(p.Dir1, QStringLiteral("sub folder"));
    QCOMPARE(p.Text1->text(), sse / QStringLiteral("Headers/sub folder"));
    QCOMPARE(harness.seams.boxes.size(), 0);
    QVERIFY(harness.settings.saves.size() == 5); // start-up's own

    // Folders truly missing are reported, over the main window, in the
    // language; the picker closes and nothing is written.
    QVERIFY(QDir(sse / QStringLiteral("BIOS")).removeRecursively());
    harness.form->lingua = QStringLiteral("Italiano");
    QTest::mouseClick(ui.Command4, Qt::LeftButton);
    QVERIFY(!harness.form->apriFile);
    const ShownBox box = harness.seams.boxes.value(0);
    QVERIFY(box.owner == harness.form.get() && box.icon == kivo::BoxIcon::Critical &&
            box.title == u"Error" && box.text == Messages::msgnobios(harness.form->lingua));
    ui.Text7->setText(sse / QStringLiteral("gone"));
    QTest::mouseClick(ui.Command5, Qt::LeftButton);
    QCOMPARE(harness.seams.boxes.value(1).text, Messages::msgnossepath(harness.form->lingua));
    QCOMPARE(harness.settings.saves.size(), 5);
}

void TestPicker::aChoiceFillsItsFieldAndIsSaved()
{
    SseFolder sse;
    Harness harness(sse.path);
    Form1 &form = harness.start();
    const Ui::Form1 &ui = *form.ui;
    const auto choose = [&](QPushButton *button, const QString &name, bool twice) {
        QTest::mouseClick(button, Qt::LeftButton);
        clickFile(harness.picker().File1, name, twice);
        if (!twice)
            QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
        QVERIFY(!form.apriFile);
    };
    ui.Combo2->setCurrentIndex(4);
    choose(ui.Command1, oddHeader, true);
    choose(ui.Command3, oddBios, false);
    choose(ui.Command4, QStringLiteral("stv.bin"), false);
    choose(ui.Command6, QStringLiteral("cart.bin"), true);
    const QPair<PathField *, QString> filled[] = {{ui.Text1, oddHeader},
                                                  {ui.Text3, oddBios},
                                                  {ui.Text4, u"stv.bin"_qs},
                                                  {ui.Text6, u"cart.bin"_qs}};
    for (const auto &[field, name] : filled) {
        const QString key = u"Last Folders/text"_qs + field->objectName().mid(4);
        QCOMPARE(field->text(), name);
        QCOMPARE(field->tag(), name);
        QCOMPARE(harness.settings.values[key], name);
        QCOMPARE(harness.settings.values[key + u"tag"_qs], name);
    }
    // The header chose Saturn; the cartridge's switch can now be ticked.
    QVERIFY(ui.Option1->isChecked() && ui.Check2->isEnabled() && !ui.Check1->isEnabled());

    // Confirmed with no file: empty field and tag, both saved.
    QTest::mouseClick(ui.Command6, Qt::LeftButton);
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(ui.Text6->text() + ui.Text6->tag() + harness.settings["Last Folders/text6tag"],
             QString());

    // A folder through a link: the path as chosen, its short form as the
    // tag, and the folder check follows at once.
    QVERIFY(QFile::link(sse.path, sse.temp.path() + QStringLiteral("/link")));
    ui.Text7->setText(sse.temp.path());
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    harness.picker().Dir1->setPath(sse.temp.path());
    open(harness.picker().Dir1, QStringLiteral("link"));
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(ui.Text7->text(), sse.temp.path() + QStringLiteral("/link"));
    QCOMPARE(ui.Text7->tag(), sse.path);
    QCOMPARE(harness.settings["Last Folders/text7tag"], sse.path);
    QCOMPARE(form.ssepath, form.apppath);
}

void TestPicker::thePickerRemembersWhereItWas()
{
    SseFolder sse;
    const QString disc = sse.temp.path() + QStringLiteral("/disc");
    QVERIFY(QDir().mkpath(disc + QStringLiteral("/a/b")));
    const QList<kivo::Volume> volumes{{QStringLiteral("/"), QStringLiteral("system")},
                                      {disc, QStringLiteral("DISC")}};
    const QString discEntry = disc + QStringLiteral(" [DISC]");
    QMap<QString, QString> store;
    {
        Harness harness(sse.path);
        harness.seams.volumes = volumes;
        const Ui::Form1 &ui = *harness.start().ui;
        QCOMPARE(harness.form->picker.dirselect1, QStringLiteral("-nope-"));
        // Moves count at once, confirmed or not; Cancel and Escape write nothing.
        QTest::mouseClick(ui.Command7, Qt::LeftButton);
        QTest::keyClick(harness.picker().Drive1, Qt::Key_Down);
        open(harness.picker().Dir1, QStringLiteral("a"));
        QCOMPARE(harness.form->picker.dirselect1, disc + QStringLiteral("/a"));
        harness.settings.saves.clear();
        QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
        QTest::mouseClick(ui.Command7, Qt::LeftButton);
        QCOMPARE(harness.picker().Drive1->drive(), discEntry);
        QCOMPARE(harness.picker().Dir1->path(), disc + QStringLiteral("/a"));
        QVERIFY(QTest::qWaitForWindowActive(harness.form->apriFile));
        QTest::keyClick(harness.picker().Dir1, Qt::Key_Escape);
        QVERIFY(!harness.form->apriFile);
        QCOMPARE(harness.settings.saves, QStringList());

        // Enter confirms without keeping the place; Ok keeps it.
        QTest::mouseClick(ui.Command1, Qt::LeftButton);
        clickFile(harness.picker().File1, QStringLiteral("Disc2.sgh"));
        QTest::keyClick(harness.picker().File1, Qt::Key_Return);
        QCOMPARE(ui.Text1->tag(), QStringLiteral("Disc2.sgh"));
        QCOMPARE(harness.settings["Last Folders/load-lastdir1"], QString());
        QTest::mouseClick(ui.Command7, Qt::LeftButton);
        harness.picker().Drive1->setDrive(discEntry);
        open(harness.picker().Dir1, QStringLiteral("b"));
        QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
        QCOMPARE(harness.settings["Last Folders/load-lastdrive1"], discEntry);
        QCOMPARE(harness.settings["Last Folders/load-lastdir1"], disc + QStringLiteral("/a/b"));
        store = harness.settings.values;
    }
    // In the next run the saved place wins over where the picker went since.
    Harness harness(sse.path);
    harness.seams.volumes = volumes;
    harness.settings.values = store;
    const Ui::Form1 &ui = *harness.start().ui;
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    harness.picker().Drive1->setDrive(QStringLiteral("/"));
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    QCOMPARE(harness.picker().Drive1->drive(), discEntry);
    QCOMPARE(harness.picker().Dir1->path(), disc + QStringLiteral("/a/b"));
}

void TestPicker::drivesAndFoldersThatAreNotThere()
{
    SseFolder sse;
    const QString stick = sse.temp.path() + QStringLiteral("/stick");
    const QString empty = sse.temp.path() + QStringLiteral("/no medium");
    QVERIFY(QDir().mkpath(stick + QStringLiteral("/games")));
    Harness harness(sse.path);
    harness.seams.volumes = {{QStringLiteral("/"), QStringLiteral("system")},
                             {stick, QStringLiteral("STICK")},
                             {empty, QStringLiteral("EMPTY")}};
    harness.settings["General/language"] = QStringLiteral("Français");
    const Ui::Form1 &ui = *harness.start().ui;

    // A drive without a medium is said so, in Italian whatever the
    // language, and the lists go back to the drive and folder before.
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    QTest::keyClick(harness.picker().Drive1, Qt::Key_Down);
    open(harness.picker().Dir1, QStringLiteral("games"));
    QTest::keyClick(harness.picker().Drive1, Qt::Key_Down);
    QCOMPARE(harness.seams.boxes.size(), 1);
    QCOMPARE(harness.seams.boxes[0].text, QStringLiteral("Errore: Drive non accessibile."));
    QCOMPARE(harness.seams.boxes[0].owner, harness.form->apriFile.data());
    QCOMPARE(harness.picker().Drive1->drive(), stick + QStringLiteral(" [STICK]"));
    QCOMPARE(harness.picker().File1->path(), stick + QStringLiteral("/games"));

    // The folder the picker shows goes away: the listed name a person picks
    // is handed over; the next request finds nothing there.
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    QVERIFY(QDir(sse / QStringLiteral("headers")).removeRecursively());
    clickFile(harness.picker().File1, oddHeader);
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(ui.Text1->tag(), oddHeader);
    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    QCOMPARE(harness.seams.boxes.last().text, Messages::msgnoheaders(harness.form->lingua));

    // The stick is pulled with the picker's place on it: the folder request
    // opens at the program's own folder.
    QVERIFY(QDir(stick).removeRecursively());
    QTest::mouseClick(ui.Command7, Qt::LeftButton);
    QVERIFY(harness.form->apriFile && harness.picker().Dir1->isVisible());
    QCOMPARE(harness.picker().Dir1->path(), sse.path);
}

QTEST_MAIN(TestPicker)
#include "test_picker.moc"

// The Browse buttons and the picker on real folders: where each request
// opens, what the choice fills and saves, where the picker remembers, and
// drives and folders that are not there.

#include "harness.h"

using namespace Messages;

class TestPicker : public QObject
{
    Q_OBJECT

private slots:
    void eachRequestOpensWhereItsFilesAre();
    void aChoiceFillsItsFieldAndIsSaved();
    void thePickerRemembersWhereItWasAndWhatIsGone();
};

void TestPicker::eachRequestOpensWhereItsFilesAre()
{
    SseFolder sse;
    // As Windows would find them: the names on disk are Headers and BIOS,
    // and a file named like a folder is passed over.
    QVERIFY(QDir(sse.path).rename(u"headers"_qs, u"Headers"_qs) &&
            QDir(sse.path).rename(u"bios"_qs, u"BIOS"_qs) && makeFile(sse / u"HEADERS"_qs));
    Harness harness(sse.path);
    Form1 &form = harness.start();
    const Ui::Form1 &ui = *form.ui;
    const QString bios = sse / u"BIOS"_qs;
    const QStringList folders{sse / u"Headers"_qs, bios, bios, sse.path, sse.path};
    int request = 0;
    for (QPushButton *button : {ui.Command1, ui.Command3, ui.Command4, ui.Command5, ui.Command6}) {
        const Ui::ApriFile &p = harness.request(button);
        QVERIFY(p.Dir1->isHidden() && p.File1->isVisible() && !p.Drive1->isEnabled());
        QCOMPARE(QStringList({p.File1->path(), p.Text1->text()}),
                 QStringList(2, folders[request++]));
    }
    // Hidden files left out; files without a dot in; numbers by value.
    harness.request(ui.Command1);
    QCOMPARE(harness.files(), words("Disc2.sgh disc10.sgh") << oddHeader << u"README"_qs);
    // The folder request: every drive and folder, from where the picker was.
    const Ui::ApriFile &p = harness.request(ui.Command7);
    QVERIFY(p.File1->isHidden() && p.Dir1->isVisible() && p.Drive1->isEnabled());
    QCOMPARE(p.Dir1->path(), sse / u"Headers"_qs);
    clickItem(p.Dir1, u"sub folder"_qs, true);
    QCOMPARE(p.Text1->text(), sse / u"Headers/sub folder"_qs);
    for (QTreeWidgetItemIterator item(p.Dir1); *item; ++item)
        QVERIFY(!(*item)->icon(0).isNull());
    QVERIFY(harness.seams.boxes.isEmpty() && harness.settings.saves.size() == 5);

    // Folders truly missing are reported, over the main window, in the
    // language; the picker closes and nothing is written.
    QVERIFY(QDir(bios).removeRecursively() && makeFile(sse / u"bios"_qs));
    form.lingua = u"Italiano"_qs;
    QTest::mouseClick(ui.Command4, Qt::LeftButton);
    const ShownBox box = harness.seams.boxes.value(0);
    QVERIFY(!form.apriFile && box.owner == &form && box.icon == kivo::BoxIcon::Critical &&
            box.title == u"Error" && box.text == msgnobios(form.lingua));
    ui.Text7->setText(sse / u"gone"_qs);
    QTest::mouseClick(ui.Command5, Qt::LeftButton);
    QCOMPARE(harness.seams.boxes.value(1).text, msgnossepath(form.lingua));
    QCOMPARE(harness.settings.saves.size(), 5);

    // A folder large enough to be sorted aside lists every file once sorted.
    for (int number = 1; number <= 6000; ++number)
        QVERIFY(makeFile(sse / u"many/disc %1.bin"_qs.arg(number)));
    ui.Text7->setText(sse / u"many"_qs);
    harness.request(ui.Command5);
    QTRY_COMPARE(harness.files().size(), 6000);
    QCOMPARE(harness.files().mid(8, 3).join(u','), u"disc 9.bin,disc 10.bin,disc 11.bin"_qs);
}

void TestPicker::aChoiceFillsItsFieldAndIsSaved()
{
    SseFolder sse;
    Harness harness(sse.path);
    Form1 &form = harness.start();
    const Ui::Form1 &ui = *form.ui;
    QMap<QString, QString> &saved = harness.settings.values;
    ui.Combo2->setCurrentIndex(4);
    // Opened by a double-click, or selected and confirmed; CommandN fills TextN.
    for (const auto &[button, name, twice] : {std::tuple{ui.Command1, oddHeader, true},
                                              {ui.Command3, oddBios, false},
                                              {ui.Command4, u"stv.bin"_qs, false},
                                              {ui.Command6, u"cart.bin"_qs, true}}) {
        clickItem(harness.request(button).File1, name, twice);
        if (!twice)
            QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
        const QString number = button->objectName().mid(7), key = u"Last Folders/text"_qs + number;
        const PathField *field = form.findChild<PathField *>(u"Text"_qs + number);
        QCOMPARE(QStringList({field->text(), field->tag(), saved[key], saved[key + u"tag"_qs]}),
                 QStringList(4, name));
        QVERIFY(!form.apriFile);
    }
    // A double-click keeps the place, as Ok does.
    QCOMPARE(saved[u"Last Folders/load-lastdir1"_qs], sse.path);
    // The header chose Saturn; the cartridge's switch can now be ticked.
    QVERIFY(ui.Option1->isChecked() && ui.Check2->isEnabled() && !ui.Check1->isEnabled());

    // Confirmed with no file: empty field and tag, both saved.
    QTest::mouseClick(harness.request(ui.Command6).OKButton, Qt::LeftButton);
    QCOMPARE(ui.Text6->text() + ui.Text6->tag() + saved[u"Last Folders/text6tag"_qs], QString());

    // A folder through a link: the path as chosen, its short form as the
    // tag, and the folder check follows at once.
    QVERIFY(QFile::link(sse.path, sse.temp.path() + u"/link"_qs));
    ui.Text7->setTag(sse.temp.path());
    QVERIFY(!form.inSseFolder());
    harness.request(ui.Command7).Dir1->setPath(sse.temp.path());
    clickItem(harness.picker().Dir1, u"link"_qs, true);
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(ui.Text7->text() + ui.Text7->tag(), sse.temp.path() + u"/link"_qs + sse.path);
    QCOMPARE(saved[u"Last Folders/text7tag"_qs] + form.ssepath, sse.path + form.apppath);
}

void TestPicker::thePickerRemembersWhereItWasAndWhatIsGone()
{
    SseFolder sse;
    const QString disc = sse.temp.path() + u"/disc"_qs, discEntry = disc + u" [DISC]"_qs;
    QVERIFY(QDir().mkpath(disc + u"/a/b"_qs));
    Harness harness(sse.path);
    harness.seams.volumes = {{u"/"_qs, u"system"_qs}, {disc, u"DISC"_qs}};
    const Ui::Form1 &ui = *harness.start().ui;
    // Where a folder request opens, by drive and folder.
    const auto place = [&] {
        const Ui::ApriFile &p = harness.request(harness.form->ui->Command7);
        return p.Drive1->drive() + u'|' + p.Dir1->path();
    };
    // With nothing saved, the folder request starts in the program's own
    // folder. Moves count at once, confirmed or not; Cancel writes nothing.
    QCOMPARE(place().section(u'|', 1), sse.path);
    QTest::keyClick(harness.picker().Drive1, Qt::Key_Down);
    clickItem(harness.picker().Dir1, u"a"_qs, true);
    harness.settings.saves.clear();
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QCOMPARE(place(), discEntry + u'|' + disc + u"/a"_qs);
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QCOMPARE(harness.settings.saves, QStringList());

    // Enter confirms without keeping the place; Ok keeps it.
    clickItem(harness.request(ui.Command1).File1, u"Disc2.sgh"_qs);
    QTest::keyClick(harness.picker().File1, Qt::Key_Return);
    QVERIFY(ui.Text1->tag() == u"Disc2.sgh" && !harness.form->apriFile);
    QCOMPARE(harness.settings["Last Folders/load-lastdir1"], QString());
    harness.request(ui.Command7).Drive1->setDrive(discEntry);
    clickItem(harness.picker().Dir1, u"b"_qs, true);
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(harness.settings["Last Folders/load-lastdrive1"], discEntry);
    QCOMPARE(harness.settings["Last Folders/load-lastdir1"], disc + u"/a/b"_qs);

    // In the next run the saved place wins over where the picker went since.
    harness.form.reset();
    harness.start();
    harness.request(harness.form->ui->Command7).Drive1->setDrive(u"/"_qs);
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QCOMPARE(place(), discEntry + u'|' + disc + u"/a/b"_qs);

    // Another run, in French, with nothing saved, a stick and a drive
    // without a medium.
    const QString stick = sse.temp.path() + u"/stick"_qs;
    QVERIFY(QDir().mkpath(stick + u"/games"_qs));
    harness.seams.volumes = {{u"/"_qs, u"system"_qs},
                             {stick, u"STICK"_qs},
                             {sse.temp.path() + u"/no medium"_qs, u"EMPTY"_qs}};
    harness.settings.values = {{u"General/language"_qs, u"Français"_qs}};
    harness.form.reset();
    Form1 &form = harness.start();

    // A drive without a medium is said so, in Italian whatever the
    // language, and the lists go back to the drive and folder before.
    QTest::keyClick(harness.request(form.ui->Command7).Drive1, Qt::Key_Down);
    clickItem(harness.picker().Dir1, u"games"_qs, true);
    QTest::keyClick(harness.picker().Drive1, Qt::Key_Down);
    const QList<ShownBox> &boxes = harness.seams.boxes;
    QVERIFY(boxes.size() == 1 && boxes[0].owner == form.apriFile);
    QCOMPARE(boxes[0].text, u"Errore: Drive non accessibile."_qs);
    QCOMPARE(harness.picker().Drive1->drive(), stick + u" [STICK]"_qs);
    QCOMPARE(harness.picker().File1->path(), stick + u"/games"_qs);

    // The folder the picker shows goes away: the listed name a person picks
    // is handed over; the next request finds nothing there.
    QTest::mouseClick(harness.picker().CancelButton, Qt::LeftButton);
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    QVERIFY(QDir(sse / u"headers"_qs).removeRecursively());
    clickItem(harness.picker().File1, oddHeader);
    QTest::mouseClick(harness.picker().OKButton, Qt::LeftButton);
    QCOMPARE(form.ui->Text1->tag(), oddHeader);
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    QCOMPARE(boxes.last().text, msgnoheaders(form.lingua));

    // The stick is pulled with the picker's place on it: the folder request
    // opens at the program's own folder.
    QVERIFY(QDir(stick).removeRecursively());
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QVERIFY(form.apriFile && harness.picker().Dir1->isVisible());
    QCOMPARE(harness.picker().Dir1->path(), sse.path);
    // A folder gone since it was listed leaves the list; the drive's root opens.
    QVERIFY(QDir(sse / u"bios"_qs).removeRecursively());
    clickItem(harness.picker().Dir1, u"bios"_qs, true);
    QVERIFY(harness.picker().Dir1->findItems(u"bios"_qs, Qt::MatchRecursive).isEmpty());
    clickItem(harness.picker().Dir1, u"/"_qs, true);
    QCOMPARE(harness.picker().Dir1->path(), u"/"_qs);
}

QTEST_MAIN(TestPicker)
#include "test_picker.moc"

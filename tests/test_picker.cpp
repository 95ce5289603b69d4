// The Browse buttons and the picker on real folders: where each request
// opens, what the choice fills and saves, where the picker remembers, and
// drives and folders that are not there.

#include "harness.h"

using namespace Messages;

class TestPicker : public QObject
{
    Q_OBJECT

    std::unique_ptr<SseFolder> sse;
    std::unique_ptr<Harness> h;

    QPushButton *button(const QString &name) { return h->form->findChild<QPushButton *>(name); }
    // Where a folder request opens now, by drive and folder; the picker stays open.
    QStringList folderRequestOpens()
    {
        const Ui::ApriFile &p = h->request(h->form->ui->Command7);
        return {p.Drive1->drive(), p.Dir1->path()};
    }

private slots:
    void init()
    {
        sse = std::make_unique<SseFolder>();
        h = std::make_unique<Harness>(sse->path);
    }
    void cleanup()
    {
        h.reset();
        sse.reset();
    }

    void eachFileRequestOpensWhereItsFilesAre_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("folder");
        QTest::newRow("the header") << u"Command1"_qs << u"Headers"_qs;
        QTest::newRow("the Saturn BIOS") << u"Command3"_qs << u"BIOS"_qs;
        QTest::newRow("the ST-V BIOS") << u"Command4"_qs << u"BIOS"_qs;
        QTest::newRow("the backup RAM") << u"Command5"_qs << QString();
        QTest::newRow("the cartridge") << u"Command6"_qs << QString();
    }
    // As Windows finds them: the names on disk are Headers and BIOS, and a
    // file named like a folder is passed over. The list is locked there.
    void eachFileRequestOpensWhereItsFilesAre()
    {
        QFETCH(QString, button);
        QFETCH(QString, folder);
        QVERIFY(QDir(sse->path).rename(u"headers"_qs, u"Headers"_qs));
        QVERIFY(QDir(sse->path).rename(u"bios"_qs, u"BIOS"_qs));
        QVERIFY(makeFile(*sse / u"HEADERS"_qs));
        h->start();
        const Ui::ApriFile &p = h->request(this->button(button));
        const QString expected = folder.isEmpty() ? sse->path : *sse / folder;
        QCOMPARE(p.File1->path(), expected);
        QCOMPARE(p.Text1->text(), expected);
        QVERIFY(p.File1->isVisible());
        for (QWidget *hidden : std::initializer_list<QWidget *>{p.Dir1, p.Label2, p.Combo1})
            QVERIFY2(hidden->isHidden(), qPrintable(hidden->objectName()));
        QVERIFY(!p.Drive1->isEnabled());
    }

    // Hidden files left out, files without a dot in, numbers by value.
    void theFileListShowsFilesAsAPersonExpects()
    {
        h->start();
        h->request(h->ui().Command1);
        QCOMPARE(h->files(),
                 QStringList({u"Disc2.sgh"_qs, u"disc10.sgh"_qs, oddHeader, u"README"_qs}));
    }

    // A folder large enough to be sorted aside lists every file once sorted,
    // and holds no second copy of them.
    void aLargeFolderListsEveryFileSorted()
    {
        for (int number = 1; number <= 6000; ++number)
            QVERIFY(makeFile(*sse / u"many/disc %1.bin"_qs.arg(number)));
        h->start().ui->Text7->setText(*sse / u"many"_qs);
        h->request(h->ui().Command5);
        QTRY_COMPARE(h->files().size(), 6000);
        QCOMPARE(h->files().mid(8, 3),
                 QStringList({u"disc 9.bin"_qs, u"disc 10.bin"_qs, u"disc 11.bin"_qs}));
        // The sort's copy of the names is not kept while the picker stays open.
        QTRY_COMPARE(h->picker().File1->findChildren<QFutureWatcherBase *>().size(), 0);
    }

    // Every drive and folder, from where the picker was; each folder with its icon.
    void theFolderRequestMovesFreely()
    {
        h->start();
        QTest::mouseClick(h->ui().Command1, Qt::LeftButton);
        const Ui::ApriFile &p = h->request(h->ui().Command7);
        QVERIFY(p.Dir1->isVisible());
        QVERIFY(p.File1->isHidden());
        QVERIFY(p.Drive1->isEnabled());
        QCOMPARE(p.Dir1->path(), *sse / u"headers"_qs);
        openItem(p.Dir1, u"sub folder"_qs);
        QCOMPARE(p.Text1->text(), *sse / u"headers/sub folder"_qs);
        // By keyboard: up to the folder above, and Enter opens it.
        QTest::keyClick(p.Dir1, Qt::Key_Up);
        QTest::keyClick(p.Dir1, Qt::Key_Return);
        QCOMPARE(p.Text1->text(), *sse / u"headers"_qs);
        for (QTreeWidgetItemIterator item(p.Dir1); *item; ++item)
            QVERIFY(!(*item)->icon(0).isNull());
    }

    void aMissingFolderIsSaidAndNothingWritten_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("gone");
        QTest::addColumn<QString>("message");
        QTest::newRow("no BIOS folder, a file of its name")
            << u"Command4"_qs << u"bios"_qs << msgnobios(u"Italiano"_qs);
        QTest::newRow("no header folder")
            << u"Command1"_qs << u"headers"_qs << msgnoheaders(u"Italiano"_qs);
        QTest::newRow("no SSE folder")
            << u"Command5"_qs << QString() << msgnossepath(u"Italiano"_qs);
    }
    // Over the main window, in the language; the picker closes.
    void aMissingFolderIsSaidAndNothingWritten()
    {
        QFETCH(QString, button);
        QFETCH(QString, gone);
        QFETCH(QString, message);
        h->settings.values[u"General/language"_qs] = u"Italiano"_qs;
        Form1 &form = h->start();
        if (gone.isEmpty())
            form.ui->Text7->setText(*sse / u"gone"_qs);
        else
            QVERIFY(QDir(*sse / gone).removeRecursively() && makeFile(*sse / gone));
        h->settings.saves.clear();
        QTest::mouseClick(this->button(button), Qt::LeftButton);
        QCOMPARE(h->takeBox(), (ShownBox{&form, message, kivo::BoxIcon::Critical, u"Error"_qs}));
        QVERIFY(!form.apriFile);
        QCOMPARE(h->settings.saves, QStringList());
    }

    void aChoiceFillsItsFieldAndIsSaved_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("a header, double-clicked") << u"1"_qs << oddHeader << true;
        QTest::newRow("the Saturn BIOS, with Ok") << u"3"_qs << oddBios << false;
        QTest::newRow("the ST-V BIOS, with Ok") << u"4"_qs << u"stv.bin"_qs << false;
        QTest::newRow("the cartridge, double-clicked") << u"6"_qs << u"cart.bin"_qs << true;
    }
    // CommandN fills TextN, its text and tag, both saved, and the place is kept.
    void aChoiceFillsItsFieldAndIsSaved()
    {
        QFETCH(QString, number);
        QFETCH(QString, name);
        QFETCH(bool, doubleClick);
        h->start();
        const Ui::ApriFile &p = h->request(button(u"Command"_qs + number));
        const QString place = p.Dir1->path();
        if (doubleClick) {
            openItem(p.File1, name);
        } else {
            clickItem(p.File1, name);
            QTest::mouseClick(p.OKButton, Qt::LeftButton);
        }
        const PathField *field = h->form->findChild<PathField *>(u"Text"_qs + number);
        QCOMPARE(field->text(), name);
        QCOMPARE(field->tag(), name);
        QCOMPARE(h->lastFolders(qPrintable(u"text"_qs + number)), name);
        QCOMPARE(h->lastFolders(qPrintable(u"text"_qs + number + u"tag"_qs)), name);
        QCOMPARE(h->lastFolders("load-lastdir1"), place);
        QVERIFY(!h->form->apriFile);
    }

    // The header chooses Saturn; the cartridge's switch can now be ticked.
    void aChosenHeaderAndCartridgeEnableWhatNeedsThem()
    {
        const Ui::Form1 &ui = *h->start().ui;
        ui.Combo2->setCurrentIndex(4);
        openItem(h->request(ui.Command1).File1, oddHeader);
        QVERIFY(ui.Option1->isChecked());
        QVERIFY(!ui.Check2->isEnabled());
        openItem(h->request(ui.Command6).File1, u"cart.bin"_qs);
        QVERIFY(ui.Check2->isEnabled());
        QVERIFY(!ui.Check1->isEnabled());
    }

    void confirmingNoFileEmptiesTheField()
    {
        const Ui::Form1 &ui = *h->start().ui;
        openItem(h->request(ui.Command6).File1, u"cart.bin"_qs);
        QTest::mouseClick(h->request(ui.Command6).OKButton, Qt::LeftButton);
        QCOMPARE(ui.Text6->text(), QString());
        QCOMPARE(ui.Text6->tag(), QString());
        QCOMPARE(h->lastFolders("text6tag"), QString());
    }

    // Through a link: the path as chosen, its short form as the tag, and the
    // folder check follows at once.
    void theSseFolderChosenThroughALinkIsTheSseFolder()
    {
        QVERIFY(QFile::link(sse->path, sse->temp.path() + u"/link"_qs));
        Form1 &form = h->start();
        form.ui->Text7->setTag(sse->temp.path());
        QVERIFY(!form.inSseFolder());
        h->request(form.ui->Command7).Dir1->setPath(sse->temp.path());
        openItem(h->picker().Dir1, u"link"_qs);
        QTest::mouseClick(h->picker().OKButton, Qt::LeftButton);
        QCOMPARE(form.ui->Text7->text(), sse->temp.path() + u"/link"_qs);
        QCOMPARE(form.ui->Text7->tag(), sse->path);
        QCOMPARE(h->lastFolders("text7tag"), sse->path);
        QCOMPARE(form.ssepath, form.apppath);
    }

    // With nothing saved, the folder request starts in the program's own
    // folder. Moves count at once, confirmed or not; Cancel writes nothing.
    // Where a dialog box opens, wherever the main window was moved (give or
    // take the few pixels its layout settles by after it is placed).
    void thePickerOpensOverTheMiddleOfTheMainWindow()
    {
        Form1 &form = h->start();
        form.move(310, 170);
        h->request(form.ui->Command1);
        const QPoint off = form.apriFile->geometry().center() - form.geometry().center();
        QVERIFY2(off.manhattanLength() <= 8, qPrintable(u"%1, %2"_qs.arg(off.x()).arg(off.y())));
    }

    // As a dialog box of its design: its border does not resize it.
    void thePickerKeepsItsSize()
    {
        h->start();
        const QWidget &picker = *h->request(h->ui().Command1).File1->window();
        QCOMPARE(picker.minimumSize(), picker.maximumSize());
    }

    void thePickerReturnsWhereItWasInThisRun()
    {
        const QString disc = sse->temp.path() + u"/disc"_qs;
        QVERIFY(QDir().mkpath(disc + u"/a"_qs));
        h->seams.volumes = {{u"/"_qs, u"system"_qs}, {disc, u"DISC"_qs}};
        h->start();
        QCOMPARE(folderRequestOpens().value(1), sse->path);
        QTest::keyClick(h->picker().Drive1, Qt::Key_Down);
        openItem(h->picker().Dir1, u"a"_qs);
        h->settings.saves.clear();
        QTest::mouseClick(h->picker().CancelButton, Qt::LeftButton);
        QCOMPARE(folderRequestOpens(), QStringList({disc + u" [DISC]"_qs, disc + u"/a"_qs}));
        QCOMPARE(h->settings.saves, QStringList());
    }

    // Enter confirms without keeping the place; Ok keeps it, and in the next
    // run the saved place wins over where the picker went since.
    void okKeepsThePlaceForTheNextRun()
    {
        const QString disc = sse->temp.path() + u"/disc"_qs, entry = disc + u" [DISC]"_qs;
        QVERIFY(QDir().mkpath(disc + u"/b"_qs));
        h->seams.volumes = {{u"/"_qs, u"system"_qs}, {disc, u"DISC"_qs}};
        const Ui::Form1 &ui = *h->start().ui;
        clickItem(h->request(ui.Command1).File1, u"Disc2.sgh"_qs);
        QTest::keyClick(h->picker().File1, Qt::Key_Return);
        QCOMPARE(ui.Text1->tag(), u"Disc2.sgh"_qs);
        QVERIFY(!h->form->apriFile);
        QCOMPARE(h->lastFolders("load-lastdir1"), QString());
        h->request(ui.Command7).Drive1->setDrive(entry);
        openItem(h->picker().Dir1, u"b"_qs);
        QTest::mouseClick(h->picker().OKButton, Qt::LeftButton);
        QCOMPARE(h->lastFolders("load-lastdrive1"), entry);
        QCOMPARE(h->lastFolders("load-lastdir1"), disc + u"/b"_qs);
        h->start();
        h->request(h->form->ui->Command7).Drive1->setDrive(u"/"_qs);
        QTest::mouseClick(h->picker().CancelButton, Qt::LeftButton);
        QCOMPARE(folderRequestOpens(), QStringList({entry, disc + u"/b"_qs}));
    }

    // Said in Italian whatever the language, over the picker, and the lists
    // go back to the drive and folder before.
    void aDriveWithoutAMediumIsSaid()
    {
        const QString stick = sse->temp.path() + u"/stick"_qs;
        QVERIFY(QDir().mkpath(stick + u"/games"_qs));
        h->seams.volumes = {{u"/"_qs, u"system"_qs},
                            {stick, u"STICK"_qs},
                            {sse->temp.path() + u"/no medium"_qs, u"EMPTY"_qs}};
        h->settings.values[u"General/language"_qs] = u"Français"_qs;
        Form1 &form = h->start();
        QTest::keyClick(h->request(form.ui->Command7).Drive1, Qt::Key_Down);
        openItem(h->picker().Dir1, u"games"_qs);
        QTest::keyClick(h->picker().Drive1, Qt::Key_Down);
        QCOMPARE(h->seams.boxes,
                 (QList<ShownBox>{{form.apriFile, u"Errore: Drive non accessibile."_qs,
                                   kivo::BoxIcon::None, u"KIVO"_qs}}));
        QCOMPARE(h->picker().Drive1->drive(), stick + u" [STICK]"_qs);
        QCOMPARE(h->picker().File1->path(), stick + u"/games"_qs);
    }

    // The folder the picker shows goes away: the listed name a person picks
    // is handed over; the next request finds nothing there.
    void aFolderGoneWhileShownHandsOverWhatWasListed()
    {
        Form1 &form = h->start();
        QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
        QVERIFY(QDir(*sse / u"headers"_qs).removeRecursively());
        clickItem(h->picker().File1, oddHeader);
        QTest::mouseClick(h->picker().OKButton, Qt::LeftButton);
        QCOMPARE(form.ui->Text1->tag(), oddHeader);
        QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
        QCOMPARE(h->takeBox().text, msgnoheaders(form.lingua));
    }

    // A stick pulled with the picker's place on it: the folder request opens
    // at the program's own folder. A folder gone since it was listed leaves
    // the list; the drive's root opens.
    void aPlaceGoneSendsThePickerToTheOwnFolder()
    {
        const QString stick = sse->temp.path() + u"/stick"_qs;
        QVERIFY(QDir().mkpath(stick + u"/games"_qs));
        h->seams.volumes = {{u"/"_qs, u"system"_qs}, {stick, u"STICK"_qs}};
        h->start();
        // Somewhere else on the first drive first, which that drive keeps.
        openItem(h->request(h->ui().Command7).Dir1, u"headers"_qs);
        QTest::keyClick(h->picker().Drive1, Qt::Key_Down);
        openItem(h->picker().Dir1, u"games"_qs);
        QTest::mouseClick(h->picker().OKButton, Qt::LeftButton);
        QVERIFY(QDir(stick).removeRecursively());
        const QStringList opens = folderRequestOpens();
        QCOMPARE(opens.value(0), u"/ [system]"_qs);
        QCOMPARE(opens.value(1), sse->path);
        QVERIFY(QDir(*sse / u"bios"_qs).removeRecursively());
        openItem(h->picker().Dir1, u"bios"_qs);
        QCOMPARE(h->picker().Dir1->findItems(u"bios"_qs, Qt::MatchRecursive).size(), 0);
        openItem(h->picker().Dir1, u"/"_qs);
        QCOMPARE(h->picker().Dir1->path(), u"/"_qs);
    }
};

QTEST_MAIN(TestPicker)
#include "test_picker.moc"

#include "lang/messages.h"
#include "picker/shortpath.h"
#include "test_pickerhelpers.h"

using namespace pickertest;

// The six Browse buttons, driven as a person drives them, and what they
// leave in the main window and the store.
class TestBrowse : public QObject
{
    Q_OBJECT

private slots:
    void eachRequestOpensInItsModeAndStartFolder();
    void handOverWritesFieldsAndStore();
    void folderRequestChangesTheSseFolderAtOnce();
    void missingFoldersAreReportedAndNothingIsWritten();
    void okAndDoubleClickSaveTheLastPlaceEnterDoesNot();
    void cancelAndTheCloseBoxWriteNothing();
    void lastPlaceCarriesOverWithinAndAcrossRuns();
};

void TestBrowse::eachRequestOpensInItsModeAndStartFolder()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    harness.settings.saves.clear();
    const QString header = form.ui->Text1->text();

    const struct {
        QPushButton *button;
        qint16 code;
        QString folder;
    } requests[] = {{form.ui->Command1, 1, sse / QStringLiteral("headers")},
                    {form.ui->Command3, 3, sse / QStringLiteral("bios")},
                    {form.ui->Command4, 4, sse / QStringLiteral("bios")},
                    {form.ui->Command5, 5, sse.path},
                    {form.ui->Command6, 6, sse.path}};
    for (const auto &request : requests) {
        QTest::mouseClick(request.button, Qt::LeftButton);
        ApriFile *picker = harness.picker();
        QVERIFY(picker && picker->isVisible());
        const Ui::ApriFile &p = *picker->ui;
        QCOMPARE(form.commandreqn, request.code);
        QCOMPARE(picker->windowTitle(), QStringLiteral("Select file/Path"));
        QCOMPARE(p.Dir1->path(), request.folder);
        QCOMPARE(p.File1->path(), request.folder);
        QVERIFY(!p.Dir1->isVisible());
        QVERIFY(p.File1->isVisible());
        QCOMPARE(p.File1->geometry().left(), 0);
        QCOMPARE(p.File1->width(), twips(7600));
        QVERIFY(!p.Label2->isVisible() && !p.Combo1->isVisible());
        QVERIFY(p.Text1->isVisible());
        QVERIFY(!p.Text1->isEnabled());
        QVERIFY(!p.Drive1->isEnabled());
        QCOMPARE(p.Text1->text(), request.folder);
        QCOMPARE(p.Text1->y(), p.Label2->y());
        QCOMPARE(p.File1->pattern(), QStringLiteral("*.*"));
        QCOMPARE(p.Combo1->itemText(0), QStringLiteral("All Files *.*"));
        QCOMPARE(picker->size(), QSize(twips(7665), twips(3525)));
        QTest::mouseClick(p.CancelButton, Qt::LeftButton);
        QVERIFY(!harness.picker());
    }
    // The BIOS requests list the same folder for two different fields.
    QCOMPARE(form.picker.dirselect1, sse.path);

    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    ApriFile *picker = harness.picker();
    QVERIFY(picker && picker->isVisible());
    const Ui::ApriFile &p = *picker->ui;
    QCOMPARE(form.commandreqn, 7);
    // Where the preparation leaves it: the folder last shown in this run.
    QCOMPARE(p.Dir1->path(), sse.path);
    QVERIFY(p.Dir1->isVisible());
    QVERIFY(!p.File1->isVisible());
    QCOMPARE(p.Dir1->geometry().left(), 0);
    QCOMPARE(p.Dir1->width(), twips(7600));
    QVERIFY(p.Drive1->isEnabled());
    QVERIFY(p.Text1->isVisible() && p.Text1->isEnabled());
    QCOMPARE(p.Text1->text(), sse.path);
    QCOMPARE(p.Text1->y(), p.Label2->y());
    QTest::mouseClick(p.CancelButton, Qt::LeftButton);

    QCOMPARE(harness.settings.saves, QStringList());
    QCOMPARE(form.ui->Text1->text(), header);
}

void TestBrowse::handOverWritesFieldsAndStore()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    harness.settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    Form1 &form = harness.startShown();

    const auto choose = [&](QPushButton *button, const QString &name) {
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(harness.picker());
        clickFile(harness.picker()->ui->File1, name);
        QCOMPARE(harness.picker()->ui->File1->fileName(), name);
        QTest::mouseClick(harness.picker()->ui->OKButton, Qt::LeftButton);
        QVERIFY(!harness.picker());
    };
    const auto stored = [&](const QString &key) { return harness.settings.lastFolders(key); };

    choose(form.ui->Command1, oddHeader);
    QCOMPARE(form.ui->Text1->text(), oddHeader);
    QCOMPARE(form.ui->Text1->tag(), oddHeader);
    QCOMPARE(stored(QStringLiteral("text1")), oddHeader);
    QCOMPARE(stored(QStringLiteral("text1tag")), oddHeader);
    QVERIFY(form.ui->Option1->isEnabled() && form.ui->Option1->isChecked());

    choose(form.ui->Command3, oddBios);
    choose(form.ui->Command4, QStringLiteral("stv bios.bin"));
    QCOMPARE(form.ui->Text3->text(), oddBios);
    QCOMPARE(form.ui->Text3->tag(), oddBios);
    QCOMPARE(stored(QStringLiteral("text3")), oddBios);
    QCOMPARE(stored(QStringLiteral("text3tag")), oddBios);
    QCOMPARE(form.ui->Text4->tag(), QStringLiteral("stv bios.bin"));
    QCOMPARE(stored(QStringLiteral("text4")), QStringLiteral("stv bios.bin"));
    QCOMPARE(stored(QStringLiteral("text4tag")), QStringLiteral("stv bios.bin"));

    QVERIFY(!form.ui->Check1->isEnabled());
    choose(form.ui->Command5, oddBackup);
    choose(form.ui->Command6, QStringLiteral("cart.bin"));
    QCOMPARE(form.ui->Text5->tag(), oddBackup);
    QCOMPARE(stored(QStringLiteral("text5tag")), oddBackup);
    QCOMPARE(form.ui->Text6->text(), QStringLiteral("cart.bin"));
    QCOMPARE(stored(QStringLiteral("text6")), QStringLiteral("cart.bin"));
    QVERIFY(form.ui->Check1->isEnabled() && form.ui->Check2->isEnabled());
    QTest::mouseClick(form.ui->Check1, Qt::LeftButton);
    QVERIFY(form.ui->Check1->isChecked());
    // How the names go on to the emulator: test_oddnames, on the real store
    // and the real process start.
}

void TestBrowse::folderRequestChangesTheSseFolderAtOnce()
{
    SseFolder sse;
    const QString top = sse.temp.path();
    const QString real = top + QStringLiteral("/other SSE ö");
    const QString link = top + QStringLiteral("/link to it");
    QVERIFY(QDir().mkpath(real + QStringLiteral("/headers")));
    QVERIFY(makeFile(real + QStringLiteral("/headers/linked.sgh")));
    QVERIFY(QFile::link(real, link));

    PickerHarness harness(sse.path);
    harness.volumes.volumes = {{QStringLiteral("/"), QStringLiteral("system")},
                               {top, QStringLiteral("TEST")}};
    Form1 &form = harness.startShown();
    QCOMPARE(form.ssepath, form.apppath);

    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &p = *harness.picker()->ui;
    p.Drive1->setFocus();
    QTest::keyClick(p.Drive1, Qt::Key_Down);
    QCOMPARE(p.Drive1->drive(), top + QStringLiteral(" [TEST]"));
    QCOMPARE(p.Dir1->path(), top);
    openFolder(p.Dir1, QStringLiteral("link to it"));
    QCOMPARE(p.Dir1->path(), link);
    QCOMPARE(p.Text1->text(), link);
    QTest::mouseClick(p.OKButton, Qt::LeftButton);

    QCOMPARE(form.ui->Text7->text(), link);
    QCOMPARE(form.ui->Text7->tag(), real);
    QCOMPARE(form.ui->Text7->tag(), GetShortPathName(link));
    QCOMPARE(harness.settings.lastFolders(QStringLiteral("text7")), link);
    QCOMPARE(harness.settings.lastFolders(QStringLiteral("text7tag")), real);
    // The launch and the folder check take the new folder at once.
    QCOMPARE(form.ssepath, real);
    QVERIFY(form.ssepath != form.apppath);

    // The start folder of a file request comes from the displayed text.
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    QVERIFY(harness.picker());
    QCOMPARE(harness.picker()->ui->Dir1->path(), link + QStringLiteral("/headers"));
    QCOMPARE(listedFiles(harness.picker()->ui->File1), QStringList({QStringLiteral("linked.sgh")}));
}

void TestBrowse::missingFoldersAreReportedAndNothingIsWritten()
{
    QTemporaryDir temp;
    const QString bare = temp.path() + QStringLiteral("/SSE without subfolders");
    QVERIFY(QDir().mkpath(bare));
    PickerHarness harness(bare);
    harness.settings.setGeneral(QStringLiteral("language"), QStringLiteral("Italiano"));
    Form1 &form = harness.startShown();
    QCOMPARE(form.lingua, QStringLiteral("Italiano"));
    harness.settings.saves.clear();
    const QString header = form.ui->Text1->text();
    const QString bios = form.ui->Text3->text();

    const struct {
        QPushButton *button;
        QString message;
    } requests[] = {{form.ui->Command1, Messages::msgnoheaders(QStringLiteral("Italiano"))},
                    {form.ui->Command3, Messages::msgnobios(QStringLiteral("Italiano"))},
                    {form.ui->Command4, Messages::msgnobios(QStringLiteral("Italiano"))}};
    for (const auto &request : requests) {
        harness.boxes.shown.clear();
        QTest::mouseClick(request.button, Qt::LeftButton);
        QCOMPARE(harness.boxes.shown.size(), 1);
        QCOMPARE(harness.boxes.shown.first().text, request.message);
        QCOMPARE(harness.boxes.shown.first().icon, kivo::BoxIcon::Critical);
        QCOMPARE(harness.boxes.shown.first().title, QStringLiteral("Error"));
        QVERIFY(!harness.picker());
        QCOMPARE(form.picker.dirselect1, bare);
    }
    QCOMPARE(form.ui->Text1->text(), header);
    QCOMPARE(form.ui->Text3->text(), bios);
    QCOMPARE(harness.settings.saves, QStringList());

    // The SSE folder itself gone: the backup requests say so.
    QTemporaryDir elsewhere;
    PickerHarness moved(elsewhere.path());
    moved.settings.setLastFolders(QStringLiteral("text7"), bare + QStringLiteral("/gone"));
    moved.settings.setLastFolders(QStringLiteral("text7tag"), bare + QStringLiteral("/gone"));
    Form1 &second = moved.startShown();
    moved.settings.saves.clear();
    for (QPushButton *button : {second.ui->Command5, second.ui->Command6}) {
        moved.boxes.shown.clear();
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(moved.boxes.shown.size(), 1);
        QCOMPARE(moved.boxes.shown.first().text, Messages::msgnossepath(QStringLiteral("English")));
        QCOMPARE(moved.boxes.shown.first().title, QStringLiteral("Error"));
        QVERIFY(!moved.picker());
        QCOMPARE(second.picker.dirselect1, elsewhere.path());
    }
    QCOMPARE(second.ui->Text5->text(), QStringLiteral("-none-"));
    QCOMPARE(moved.settings.saves, QStringList());

    // The next request opens normally.
    QTest::mouseClick(second.ui->Command7, Qt::LeftButton);
    QVERIFY(moved.picker() && moved.picker()->isVisible());
    QCOMPARE(moved.picker()->ui->Dir1->path(), elsewhere.path());
}

void TestBrowse::okAndDoubleClickSaveTheLastPlaceEnterDoesNot()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    const auto stored = [&](const QString &key) { return harness.settings.lastFolders(key); };

    // Enter: handed over, the last place not saved.
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    FileListBox *files = harness.picker()->ui->File1;
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down);
    QCOMPARE(files->fileName(), QStringLiteral("apple.sgh"));
    QTest::keyClick(files, Qt::Key_Down);
    QTest::keyClick(files, Qt::Key_Return);
    QVERIFY(!harness.picker());
    QCOMPARE(form.ui->Text1->tag(), QStringLiteral("disc2.sgh"));
    QCOMPARE(stored(QStringLiteral("text1tag")), QStringLiteral("disc2.sgh"));
    QCOMPARE(stored(QStringLiteral("load-lastdrive1")), QString());
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), QString());

    // A double-click: handed over, and the last place saved.
    QTest::mouseClick(form.ui->Command3, Qt::LeftButton);
    const QString drive = harness.picker()->ui->Drive1->drive();
    doubleClickFile(harness.picker()->ui->File1, oddBios);
    QVERIFY(!harness.picker());
    QCOMPARE(form.ui->Text3->tag(), oddBios);
    QCOMPARE(stored(QStringLiteral("load-lastdrive1")), drive);
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sse / QStringLiteral("bios"));

    // Enter again leaves that saved place alone.
    QTest::mouseClick(form.ui->Command5, Qt::LeftButton);
    files = harness.picker()->ui->File1;
    files->setFocus();
    QTest::keyClick(files, Qt::Key_Down);
    QTest::keyClick(files, Qt::Key_Enter);
    QCOMPARE(form.ui->Text5->tag(), oddBackup);
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sse / QStringLiteral("bios"));

    // OK with nothing selected hands over empty strings, and saves the place.
    QTest::mouseClick(form.ui->Command6, Qt::LeftButton);
    QTest::mouseClick(harness.picker()->ui->OKButton, Qt::LeftButton);
    QCOMPARE(form.ui->Text6->text(), QString());
    QCOMPARE(form.ui->Text6->tag(), QString());
    QVERIFY(harness.settings.values.contains(
        {QStringLiteral("Last Folders"), QStringLiteral("text6")}));
    QCOMPARE(stored(QStringLiteral("text6tag")), QString());
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sse.path);
}

void TestBrowse::cancelAndTheCloseBoxWriteNothing()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    harness.settings.saves.clear();
    const QString header = form.ui->Text1->text();

    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    clickFile(harness.picker()->ui->File1, oddHeader);
    QTest::mouseClick(harness.picker()->ui->CancelButton, Qt::LeftButton);
    QVERIFY(!harness.picker());
    QCOMPARE(form.ui->Text1->text(), header);

    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &p = *harness.picker()->ui;
    openFolder(p.Dir1, QStringLiteral("headers"));
    openFolder(p.Dir1, QStringLiteral("a subfolder"));
    const QString moved = sse / QStringLiteral("headers/a subfolder");
    QCOMPARE(form.picker.dirselect1, moved);
    // The window system's close command.
    harness.picker()->windowHandle()->close();
    QVERIFY(!harness.picker());

    QCOMPARE(form.ui->Text7->text(), sse.path);
    QCOMPARE(harness.settings.saves, QStringList());
    // The moves made in the closed picker are still remembered in this run.
    QCOMPARE(form.picker.dirselect1, moved);
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QCOMPARE(harness.picker()->ui->Dir1->path(), moved);
}

void TestBrowse::lastPlaceCarriesOverWithinAndAcrossRuns()
{
    SseFolder sse;
    const QString disc = sse.temp.path() + QStringLiteral("/disc");
    QVERIFY(QDir().mkpath(disc + QStringLiteral("/a/b")));
    QVERIFY(QDir().mkpath(disc + QStringLiteral("/c")));
    const QList<kivo::Volume> volumes{{QStringLiteral("/"), QStringLiteral("system")},
                                      {disc, QStringLiteral("DISC")}};
    const QString discEntry = disc + QStringLiteral(" [DISC]");

    QMap<QPair<QString, QString>, QString> store;
    {
        PickerHarness harness(sse.path);
        harness.volumes.volumes = volumes;
        Form1 &form = harness.startShown();
        QCOMPARE(form.picker.driveselect1, QStringLiteral("-nope-"));
        QCOMPARE(form.picker.dirselect1, QStringLiteral("-nope-"));

        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        Ui::ApriFile *p = harness.picker()->ui.get();
        p->Drive1->setFocus();
        QTest::keyClick(p->Drive1, Qt::Key_Down);
        openFolder(p->Dir1, QStringLiteral("a"));
        QCOMPARE(form.picker.driveselect1, discEntry);
        QCOMPARE(form.picker.dirselect1, disc + QStringLiteral("/a"));
        QTest::mouseClick(p->CancelButton, Qt::LeftButton);

        // Within the run: back where it was, though nothing was confirmed.
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        p = harness.picker()->ui.get();
        QCOMPARE(p->Drive1->drive(), discEntry);
        QCOMPARE(p->Dir1->path(), disc + QStringLiteral("/a"));
        openFolder(p->Dir1, QStringLiteral("b"));
        QTest::mouseClick(p->OKButton, Qt::LeftButton);
        QCOMPARE(harness.settings.lastFolders(QStringLiteral("load-lastdrive1")), discEntry);
        QCOMPARE(harness.settings.lastFolders(QStringLiteral("load-lastdir1")),
                 disc + QStringLiteral("/a/b"));
        store = harness.settings.values;
    }

    PickerHarness harness(sse.path);
    harness.volumes.volumes = volumes;
    harness.settings.values = store;
    Form1 &form = harness.startShown();
    QCOMPARE(form.picker.dirselect1, QStringLiteral("-nope-"));
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    Ui::ApriFile *p = harness.picker()->ui.get();
    QCOMPARE(p->Drive1->drive(), discEntry);
    QCOMPARE(p->Dir1->path(), disc + QStringLiteral("/a/b"));
    QCOMPARE(form.picker.driveselect1, discEntry);

    // The saved folder wins over a move made in this run.
    openFolder(p->Dir1, disc);
    openFolder(p->Dir1, QStringLiteral("c"));
    QCOMPARE(form.picker.dirselect1, disc + QStringLiteral("/c"));
    QTest::mouseClick(p->CancelButton, Qt::LeftButton);
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QCOMPARE(harness.picker()->ui->Dir1->path(), disc + QStringLiteral("/a/b"));
    QTest::mouseClick(harness.picker()->ui->CancelButton, Qt::LeftButton);

    // A saved folder that is gone sends the picker to the program's own folder.
    QVERIFY(QDir(disc + QStringLiteral("/a/b")).removeRecursively());
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    QVERIFY(harness.picker() && harness.picker()->isVisible());
    QCOMPARE(harness.picker()->ui->Dir1->path(), sse.path);
    QCOMPARE(harness.picker()->ui->Drive1->drive(), QStringLiteral("/ [system]"));
    QCOMPARE(form.picker.dirselect1, sse.path);
}

QTEST_MAIN(TestBrowse)
#include "test_browse.moc"

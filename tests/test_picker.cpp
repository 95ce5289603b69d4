#include "lang/lang.h"
#include "test_pickerhelpers.h"

#include <QApplication>
#include <QScopeGuard>

#include <cstdio>

using namespace pickertest;

// The picker window itself: its lists, its drives and what it does when
// one is not ready, its captions, and how it keeps in front.
class TestPicker : public QObject
{
    Q_OBJECT

private slots:
    void filesAreListedAsAPersonExpects();
    void foldersAreShownAsATreeAndOpened();
    void aDriveThatIsNotReadyIsReportedAndLeft();
    void captionsInEachLanguage();
    void keepsInFrontWithoutFighting();
};

void TestPicker::filesAreListedAsAPersonExpects()
{
    SseFolder sse;
    const QString many = sse / QStringLiteral("many");
    QVERIFY(QDir().mkpath(many + QStringLiteral("/folder.bin")));
    QStringList expected;
    for (int number = 1; number <= 20; ++number) {
        const QString name = QStringLiteral("file%1").arg(number);
        QVERIFY(makeFile(many + QLatin1Char('/') + name));
        expected.append(name);
    }
    QVERIFY(makeFile(many + QStringLiteral("/.hidden")));
    QVERIFY(QFile::link(many + QStringLiteral("/file1"), many + QStringLiteral("/link to a file")));
    QVERIFY(QFile::link(many + QStringLiteral("/nowhere"), many + QStringLiteral("/broken link")));
    expected.append(QStringLiteral("link to a file"));
    // Bytes that are no UTF-8 would not come back as the same name.
    const QByteArray badName = QFile::encodeName(many) + "/bad\xff.bin";
    FILE *raw = std::fopen(badName.constData(), "w");
    QVERIFY(raw);
    std::fclose(raw);
    // QTemporaryDir could not remove it by name either.
    const auto removeBad = qScopeGuard([&] { std::remove(badName.constData()); });

    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    FileListBox *files = harness.picker()->ui->File1;
    QCOMPARE(listedFiles(files),
             QStringList({QStringLiteral("apple.sgh"), QStringLiteral("disc2.sgh"),
                          QStringLiteral("Disc10.sgh"), oddHeader, QStringLiteral("README")}));
    QCOMPARE(files->fileName(), QString());

    QTest::mouseClick(harness.picker()->ui->CancelButton, Qt::LeftButton);
    form.ui->Text7->setText(many);
    QTest::mouseClick(form.ui->Command5, Qt::LeftButton);
    files = harness.picker()->ui->File1;
    QCOMPARE(listedFiles(files), expected);
    // Another pattern lists only what matches it, letter case aside.
    files->setPattern(QStringLiteral("FILE1?"));
    QCOMPARE(listedFiles(files), expected.mid(9, 10));
}

void TestPicker::foldersAreShownAsATreeAndOpened()
{
    SseFolder sse;
    const QString top = sse.temp.path() + QStringLiteral("/volume");
    for (const char *folder :
         {"games/Saturn 10", "games/saturn 9", "games/.hidden", "games/ST-V", "other"})
        QVERIFY(QDir().mkpath(top + QLatin1Char('/') + QString::fromUtf8(folder)));
    QVERIFY(makeFile(top + QStringLiteral("/games/not a folder.bin")));

    PickerHarness harness(sse.path);
    harness.volumes.volumes = {{QStringLiteral("/"), QStringLiteral("system")},
                               {top, QStringLiteral("VOL")},
                               {top + QStringLiteral("/games/ST-V"), QString()}};
    Form1 &form = harness.startShown();
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &p = *harness.picker()->ui;
    QCOMPARE(p.Drive1->count(), 3);
    QCOMPARE(p.Drive1->itemText(0), QStringLiteral("/ [system]"));
    QCOMPARE(p.Drive1->itemText(2), top + QStringLiteral("/games/ST-V"));

    // The drive holding a path is the one with the longest root leading it.
    p.Drive1->setDrive(top + QStringLiteral("/games/saturn 9"));
    QCOMPARE(p.Drive1->currentIndex(), 1);
    QCOMPARE(p.Dir1->path(), top);
    QCOMPARE(shownFolders(p.Dir1),
             QStringList({top, QStringLiteral(" games"), QStringLiteral(" other")}));

    openFolder(p.Dir1, QStringLiteral("games"));
    QCOMPARE(shownFolders(p.Dir1),
             QStringList({top, QStringLiteral(" games"), QStringLiteral("  saturn 9"),
                          QStringLiteral("  Saturn 10"), QStringLiteral("  ST-V")}));
    QCOMPARE(p.Text1->text(), top + QStringLiteral("/games"));

    // Enter opens the highlighted folder; arrows alone only move the highlight.
    p.Dir1->setFocus();
    QTest::keyClick(p.Dir1, Qt::Key_Down);
    QCOMPARE(p.Dir1->path(), top + QStringLiteral("/games"));
    QTest::keyClick(p.Dir1, Qt::Key_Return);
    QCOMPARE(p.Dir1->path(), top + QStringLiteral("/games/saturn 9"));
    QCOMPARE(form.picker.dirselect1, top + QStringLiteral("/games/saturn 9"));
    QCOMPARE(p.Text1->text(), top + QStringLiteral("/games/saturn 9"));
    // Up the tree, to the root.
    openFolder(p.Dir1, top);
    QCOMPARE(p.Dir1->path(), top);

    // Each volume keeps its current folder for the run, and a new picker
    // starts from it.
    openFolder(p.Dir1, QStringLiteral("games"));
    QTest::keyClick(p.Drive1, Qt::Key_Up);
    QCOMPARE(p.Dir1->path().startsWith(top), false);
    QTest::keyClick(p.Drive1, Qt::Key_Down);
    QCOMPARE(p.Dir1->path(), top + QStringLiteral("/games"));
}

void TestPicker::aDriveThatIsNotReadyIsReportedAndLeft()
{
    SseFolder sse;
    const QString disc = sse.temp.path() + QStringLiteral("/disc");
    const QString empty = sse.temp.path() + QStringLiteral("/no medium");
    QVERIFY(QDir().mkpath(disc + QStringLiteral("/games")));
    QVERIFY(makeFile(disc + QStringLiteral("/games/game.sgh")));
    const QList<kivo::Volume> volumes{{QStringLiteral("/"), QStringLiteral("system")},
                                      {disc, QStringLiteral("DISC")},
                                      {empty, QStringLiteral("EMPTY")}};

    {
        PickerHarness harness(sse.path);
        harness.volumes.volumes = volumes;
        harness.settings.setGeneral(QStringLiteral("language"), QStringLiteral("Français"));
        Form1 &form = harness.startShown();
        harness.settings.saves.clear();
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        const Ui::ApriFile &p = *harness.picker()->ui;
        p.Drive1->setFocus();
        QTest::keyClick(p.Drive1, Qt::Key_Down);
        openFolder(p.Dir1, QStringLiteral("games"));
        QCOMPARE(harness.boxes.shown.size(), 0);

        QTest::keyClick(p.Drive1, Qt::Key_Down);
        QCOMPARE(harness.boxes.shown.size(), 1);
        QCOMPARE(harness.boxes.shown.first().text,
                 QStringLiteral("Errore: Drive non accessibile."));
        QCOMPARE(harness.boxes.shown.first().icon, kivo::BoxIcon::None);
        QCOMPARE(harness.boxes.shown.first().title, QStringLiteral("KIVO"));
        QCOMPARE(p.Drive1->drive(), disc + QStringLiteral(" [DISC]"));
        QCOMPARE(p.Dir1->path(), disc + QStringLiteral("/games"));
        QCOMPARE(p.File1->path(), disc + QStringLiteral("/games"));
        QCOMPARE(form.picker.driveselect1, disc + QStringLiteral(" [DISC]"));
        QCOMPARE(form.picker.dirselect1, disc + QStringLiteral("/games"));
        QCOMPARE(form.picker.driveiniziale, disc + QStringLiteral(" [DISC]"));

        // The medium is in now.
        QVERIFY(QDir().mkpath(empty));
        QTest::keyClick(p.Drive1, Qt::Key_Down);
        QCOMPARE(harness.boxes.shown.size(), 1);
        QCOMPARE(p.Dir1->path(), empty);
        QTest::keyClick(p.Drive1, Qt::Key_Up);
        QCOMPARE(p.Dir1->path(), disc + QStringLiteral("/games"));
        QCOMPARE(harness.settings.saves, QStringList());
        QVERIFY(QDir(empty).removeRecursively());
    }

    // In a new run no drive was entered yet: back to the program's own drive.
    PickerHarness harness(sse.path);
    harness.volumes.volumes = volumes;
    Form1 &form = harness.startShown();
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &p = *harness.picker()->ui;
    p.Drive1->setFocus();
    QTest::keyClick(p.Drive1, Qt::Key_End);
    QCOMPARE(harness.boxes.shown.size(), 1);
    QCOMPARE(p.Drive1->drive(), QStringLiteral("/ [system]"));
    QCOMPARE(form.picker.driveselect1, QStringLiteral("/ [system]"));
    QCOMPARE(form.picker.driveiniziale, QStringLiteral("/ [system]"));

    // A root that is there but no folder is no medium either.
    QVERIFY(makeFile(empty));
    QTest::keyClick(p.Drive1, Qt::Key_End);
    QCOMPARE(harness.boxes.shown.size(), 2);
    QCOMPARE(p.Drive1->drive(), QStringLiteral("/ [system]"));
}

void TestPicker::captionsInEachLanguage()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    QVERIFY(!form.apriFile);

    // Applying the captions makes the window, hidden, in its design state.
    Lang::langaprifile(form, QStringLiteral("Italiano"));
    ApriFile *picker = harness.picker();
    QVERIFY(picker && !picker->isVisible());
    const Ui::ApriFile &p = *picker->ui;
    QCOMPARE(picker->windowTitle(), QStringLiteral("Scegli file/Cartella"));
    QCOMPARE(p.Label1->text(), QStringLiteral("Cerca in:"));
    QCOMPARE(p.Label2->text(), QStringLiteral("Tipo File:"));
    QCOMPARE(p.CancelButton->text(), QStringLiteral("&Annulla"));
    QCOMPARE(p.OKButton->text(), QStringLiteral("&Ok"));
    QCOMPARE(p.Combo1->editAreaText(), QStringLiteral("Combo1"));
    QCOMPARE(p.Text1->text(), QStringLiteral("Text1"));

    Lang::langaprifile(form, QStringLiteral("Français"));
    QCOMPARE(harness.picker(), picker);
    QCOMPARE(picker->windowTitle(), QStringLiteral("Sélectionner un fichier/chemin"));
    QCOMPARE(p.Label1->text(), QStringLiteral("Trouver dans:"));
    QCOMPARE(p.Label2->text(), QStringLiteral("Type de fichier:"));
    QCOMPARE(p.CancelButton->text(), QStringLiteral("Annuler"));

    Lang::langaprifile(form, QStringLiteral("english"));
    QCOMPARE(p.Label1->text(), QStringLiteral("Trouver dans:"));

    // A Browse request uses the current language.
    form.lingua = QStringLiteral("English");
    QTest::mouseClick(form.ui->Command5, Qt::LeftButton);
    picker = harness.picker();
    QCOMPARE(picker->windowTitle(), QStringLiteral("Select file/Path"));
    QCOMPARE(picker->ui->Label1->text(), QStringLiteral("Find in:"));
    QCOMPARE(picker->ui->Label2->text(), QStringLiteral("File Type:"));
    QCOMPARE(picker->ui->CancelButton->text(), QStringLiteral("&Cancel"));
    QCOMPARE(picker->ui->Combo1->editAreaText(), QStringLiteral("All Files *.*"));
}

void TestPicker::keepsInFrontWithoutFighting()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    harness.volumes.volumes.append({sse.temp.path() + QStringLiteral("/gone"), QString()});
    Form1 &form = harness.startShown();
    const auto settle = [] {
        for (int round = 0; round < 10; ++round)
            QCoreApplication::processEvents();
    };

    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    ApriFile *picker = harness.picker();
    settle();
    QCOMPARE(QApplication::activeWindow(), picker);

    // The user activates the main window: the picker takes it back.
    form.activateWindow();
    settle();
    QCOMPARE(QApplication::activeWindow(), picker);

    // A box the picker shows keeps the activation while it is up.
    bool boxKeptIt = false;
    harness.boxes.whileShown = [&](const ShownBox &) {
        QWidget box(picker, Qt::Dialog);
        box.setWindowModality(Qt::ApplicationModal);
        box.show();
        box.activateWindow();
        settle();
        boxKeptIt = QApplication::activeWindow() == &box;
    };
    picker->ui->Drive1->setFocus();
    QTest::keyClick(picker->ui->Drive1, Qt::Key_End);
    harness.boxes.whileShown = nullptr;
    QCOMPARE(harness.boxes.shown.size(), 1);
    QVERIFY(boxKeptIt);
    picker->activateWindow();
    settle();
    QCOMPARE(QApplication::activeWindow(), picker);

    // With other windows kept in front, the one opened last wins, and none
    // fights it: test_extras_front, on the same KeepInFront.
}

QTEST_MAIN(TestPicker)
#include "test_picker.moc"

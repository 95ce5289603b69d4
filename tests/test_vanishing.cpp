#include "lang/messages.h"
#include "test_pickerhelpers.h"

using namespace pickertest;

// Folders and volumes that go away while the picker shows them: the picker
// stays usable, each request afterwards reports what is missing or starts
// where it still can, and nothing is written that was not chosen.
class TestVanishing : public QObject
{
    Q_OBJECT

private slots:
    void foldersRemovedWhileThePickerShowsThem();
    void aVolumeThatDisappears();
};

void TestVanishing::foldersRemovedWhileThePickerShowsThem()
{
    SseFolder sse;
    PickerHarness harness(sse.path);
    Form1 &form = harness.startShown();
    harness.settings.saves.clear();
    const QString biosPrompt = form.ui->Text3->text();
    const auto lastBox = [&] {
        return harness.boxes.shown.isEmpty() ? QString() : harness.boxes.shown.last().text;
    };

    // "headers" goes while its files are listed: the name a person picks
    // from the list is handed over as chosen, and the next request says
    // the folder is missing.
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    QVERIFY(QDir(sse / QStringLiteral("headers")).removeRecursively());
    FileListBox *files = harness.picker()->ui->File1;
    QVERIFY(listedFiles(files).contains(oddHeader));
    clickFile(files, oddHeader);
    QTest::mouseClick(harness.picker()->ui->OKButton, Qt::LeftButton);
    QVERIFY(!harness.picker());
    QCOMPARE(form.ui->Text1->tag(), oddHeader);
    QCOMPARE(harness.settings.lastFolders(QStringLiteral("text1tag")), oddHeader);
    QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
    QVERIFY(!harness.picker());
    QCOMPARE(lastBox(), Messages::msgnoheaders(QStringLiteral("English")));
    QCOMPARE(harness.boxes.shown.size(), 1);

    // "bios" goes while it is shown: the list is read again as empty, a
    // cancel writes nothing, and both BIOS requests say the folder is missing.
    QTest::mouseClick(form.ui->Command3, Qt::LeftButton);
    QVERIFY(QDir(sse / QStringLiteral("bios")).removeRecursively());
    harness.picker()->ui->File1->refresh();
    QCOMPARE(listedFiles(harness.picker()->ui->File1), QStringList());
    harness.settings.saves.clear();
    QTest::mouseClick(harness.picker()->ui->CancelButton, Qt::LeftButton);
    for (QPushButton *request : {form.ui->Command3, form.ui->Command4}) {
        QTest::mouseClick(request, Qt::LeftButton);
        QVERIFY(!harness.picker());
        QCOMPARE(lastBox(), Messages::msgnobios(QStringLiteral("English")));
    }
    QCOMPARE(form.ui->Text3->text(), biosPrompt);
    QCOMPARE(harness.settings.saves, QStringList());

    // The SSE folder goes while the folder request shows it: a listed
    // subfolder no longer opens, the folder above still does, and the
    // backup requests say the SSE folder is missing.
    QVERIFY(QDir().mkpath(sse / QStringLiteral("saves")));
    QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
    const Ui::ApriFile &p = *harness.picker()->ui;
    QCOMPARE(p.Dir1->path(), sse.path);
    QVERIFY(QDir(sse.path).removeRecursively());
    openFolder(p.Dir1, QStringLiteral("saves"));
    QCOMPARE(p.Dir1->path(), sse.path);
    QVERIFY(!folderItem(p.Dir1, QStringLiteral("saves")));
    openFolder(p.Dir1, QFileInfo(sse.temp.path()).fileName());
    QCOMPARE(p.Dir1->path(), sse.temp.path());
    QVERIFY(!folderItem(p.Dir1, QFileInfo(sse.path).fileName()));
    QTest::mouseClick(p.CancelButton, Qt::LeftButton);
    for (QPushButton *request : {form.ui->Command5, form.ui->Command6}) {
        QTest::mouseClick(request, Qt::LeftButton);
        QVERIFY(!harness.picker());
        QCOMPARE(lastBox(), Messages::msgnossepath(QStringLiteral("English")));
    }
    QCOMPARE(harness.settings.saves, QStringList());
    QVERIFY(form.isVisible());
}

void TestVanishing::aVolumeThatDisappears()
{
    // An SSE folder on a stick, which is pulled.
    SseFolder sse;
    const QString stick = sse.temp.path() + QStringLiteral("/stick");
    const QString onStick = stick + QStringLiteral("/SSE");
    QVERIFY(QDir().mkpath(onStick + QStringLiteral("/headers/old")));
    QVERIFY(makeFile(onStick + QStringLiteral("/headers/stick.sgh")));
    const QList<kivo::Volume> mounted{{QStringLiteral("/"), QStringLiteral("system")},
                                      {stick, QStringLiteral("STICK")}};
    const QString notReady = QStringLiteral("Errore: Drive non accessibile.");

    QMap<QPair<QString, QString>, QString> store;
    {
        PickerHarness harness(sse.path);
        harness.volumes.volumes = mounted;
        Form1 &form = harness.startShown();
        const auto boxTexts = [&] {
            QStringList texts;
            for (const ShownBox &box : std::as_const(harness.boxes.shown))
                texts.append(box.text);
            return texts;
        };

        // The folder on the stick becomes the SSE folder.
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        const Ui::ApriFile *p = harness.picker()->ui.get();
        p->Drive1->setFocus();
        QTest::keyClick(p->Drive1, Qt::Key_Down);
        openFolder(p->Dir1, QStringLiteral("SSE"));
        QTest::mouseClick(p->OKButton, Qt::LeftButton);
        QCOMPARE(form.ui->Text7->text(), onStick);

        // Pulled while the folder request shows a folder on it: a listed
        // folder no longer opens, nothing is written.
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        p = harness.picker()->ui.get();
        openFolder(p->Dir1, QStringLiteral("headers"));
        QCOMPARE(p->Dir1->path(), onStick + QStringLiteral("/headers"));
        harness.settings.saves.clear();
        QVERIFY(QDir(stick).removeRecursively());
        openFolder(p->Dir1, QStringLiteral("old"));
        QCOMPARE(p->Dir1->path(), onStick + QStringLiteral("/headers"));
        QVERIFY(!folderItem(p->Dir1, QStringLiteral("old")));
        QCOMPARE(harness.boxes.shown.size(), 0);
        QTest::mouseClick(p->CancelButton, Qt::LeftButton);

        // A file request says its folder is missing, as for a folder that
        // was deleted; the picker does not open elsewhere.
        QTest::mouseClick(form.ui->Command1, Qt::LeftButton);
        QVERIFY(!harness.picker());
        QCOMPARE(boxTexts().last(), Messages::msgnoheaders(QStringLiteral("English")));
        QVERIFY(boxTexts().mid(0, boxTexts().size() - 1).count(notReady) >= 1);

        // The folder request opens, at the program's own folder; the gone
        // drive is reported when chosen, and left.
        harness.boxes.shown.clear();
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        QVERIFY(harness.picker() && harness.picker()->isVisible());
        p = harness.picker()->ui.get();
        QCOMPARE(p->Dir1->path(), sse.path);
        QVERIFY(!harness.boxes.shown.isEmpty());
        QCOMPARE(boxTexts().count(notReady), harness.boxes.shown.size());
        harness.boxes.shown.clear();
        p->Drive1->setFocus();
        QTest::keyClick(p->Drive1, Qt::Key_Down);
        QCOMPARE(boxTexts(), QStringList{notReady});
        QCOMPARE(p->Drive1->currentIndex(), 0);
        QCOMPARE(p->Dir1->path(), sse.path);
        QTest::mouseClick(p->CancelButton, Qt::LeftButton);
        QCOMPARE(harness.settings.saves, QStringList());
        store = harness.settings.values;
    }

    // A new run, with the last place saved on the stick: still listed as a
    // drive (and reported), or no longer mounted at all.
    for (const QList<kivo::Volume> &volumes : {mounted, mounted.mid(0, 1)}) {
        PickerHarness harness(sse.path);
        harness.volumes.volumes = volumes;
        harness.settings.values = store;
        Form1 &form = harness.startShown();
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        QVERIFY(harness.picker() && harness.picker()->isVisible());
        QCOMPARE(harness.picker()->ui->Dir1->path(), sse.path);
        QCOMPARE(harness.boxes.shown.isEmpty(), volumes.size() == 1);
    }
}

QTEST_MAIN(TestVanishing)
#include "test_vanishing.moc"

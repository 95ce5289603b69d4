#include "e2e/ssefolder.h"
#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/settingsstore.h"
#include "test_pickerhelpers.h"

#include <QDirIterator>
#include <QScopeGuard>
#include <QSettings>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace pickertest;

// File names a shell would act on, with line breaks, and bytes that are no
// UTF-8, in the header, BIOS and backup folders of an SSE folder whose own
// name is as odd: listed, chosen with the picker, saved in the real
// KIVO.ini, shown again by a new start, and given to the stand-in emulator
// by the real process start, each unchanged and as one argument. Nothing
// is ever run from them.

namespace
{

const QString header = QStringLiteral("two\nlines \"q\" 'q' $(touch marker); \\ é.sgh");
const QString saturnBios = QStringLiteral("bios\n`touch marker`;$(touch marker) $HOME.bin");
const QString stvBios = QStringLiteral("stv | touch marker & \\\\ 'x'.bin");
const QString internalBackup = QStringLiteral("int\r\nback > marker $(touch marker).bin");
const QString cartridge = QStringLiteral("\n'cart' \"; touch marker\"\n");
// Bytes that decode to no name that would encode back to them.
const QByteArray badHeader = "bad\xff.sgh";
const QByteArray badBios = "bad\xc3.bin";
const QByteArray badBackup = "bad\xed\xa0\x80.bin";
const QByteArray badFolder = "bad\xfe folder";

// The real store, the real process start; boxes, folder and volumes recorded.
struct RealHarness {
    explicit RealHarness(const QString &ini, const QString &sse) : settings(ini)
    {
        ownFolder.folder = sse;
    }
    kivo::IniSettingsStore settings;
    kivo::InstalledWine wine;
    kivo::DetachedProcessStarter processes{wine};
    RecordingBoxes boxes;
    FixedFolder ownFolder;
    ListedVolumes volumes;
    kivo::Platform platform{settings, processes, boxes, ownFolder, volumes};
};

bool makeRaw(const QByteArray &path, bool folder)
{
    if (folder)
        return ::mkdir(path.constData(), 0755) == 0;
    FILE *file = std::fopen(path.constData(), "w");
    return file && std::fclose(file) == 0;
}

} // namespace

class TestOddNames : public QObject
{
    Q_OBJECT

private slots:
    void oddNamesGoThroughWhole();
};

void TestOddNames::oddNamesGoThroughWhole()
{
    QTemporaryDir base;
    QVERIFY(base.isValid());
    const QString top = QDir(base.path()).canonicalPath();
    const QString sse = top + QStringLiteral("/SSE $(touch marker); 'q' \"d\" \\ \n folder");
    QVERIFY(QDir().mkpath(sse + QStringLiteral("/headers")));
    QVERIFY(QDir().mkpath(sse + QStringLiteral("/bios")));
    QVERIFY(copyProgram(QStringLiteral(SSE_STANDIN_BINARY), sse + QStringLiteral("/sse.exe")));
    QVERIFY(makeFile(sse + QStringLiteral("/sse.cfg")));
    for (const QString &file :
         {QStringLiteral("headers/") + header, QStringLiteral("bios/") + saturnBios,
          QStringLiteral("bios/") + stvBios, internalBackup, cartridge})
        QVERIFY2(makeFile(sse + u'/' + file), qPrintable(file));

    const QByteArray raw = QFile::encodeName(sse);
    const QList<QByteArray> bad{raw + "/headers/" + badHeader, raw + "/bios/" + badBios,
                                raw + '/' + badBackup};
    for (const QByteArray &path : bad)
        QVERIFY2(makeRaw(path, false), path.constData());
    QVERIFY(makeRaw(raw + '/' + badFolder, true));
    // QTemporaryDir cannot remove what it cannot name.
    const auto removeBad = qScopeGuard([&] {
        for (const QByteArray &path : bad)
            std::remove(path.constData());
        ::rmdir((raw + '/' + badFolder).constData());
    });

    const QString ini = top + QStringLiteral("/KIVO.ini");
    QVERIFY(QSettings(ini, QSettings::IniFormat).isWritable());
    QSettings(ini, QSettings::IniFormat).setValue(QStringLiteral("firstrun"), QStringLiteral("no"));

    {
        RealHarness harness(ini, sse);
        Form1 form(harness.platform);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const auto choose = [&](QPushButton *button, const QStringList &listed,
                                const QString &name) {
            QTest::mouseClick(button, Qt::LeftButton);
            QVERIFY(form.apriFile);
            FileListBox *files = form.apriFile->ui->File1;
            QCOMPARE(listedFiles(files), listed);
            clickFile(files, name);
            QTest::mouseClick(form.apriFile->ui->OKButton, Qt::LeftButton);
            QVERIFY(!form.apriFile);
        };
        choose(form.ui->Command1, {header}, header);
        choose(form.ui->Command3, {saturnBios, stvBios}, saturnBios);
        choose(form.ui->Command4, {saturnBios, stvBios}, stvBios);
        const QStringList backups{cartridge, internalBackup, QStringLiteral("sse.cfg"),
                                  QStringLiteral("sse.exe")};
        choose(form.ui->Command5, backups, internalBackup);
        choose(form.ui->Command6, backups, cartridge);
        if (QTest::currentTestFailed())
            return;
        QTest::mouseClick(form.ui->Check1, Qt::LeftButton);
        QTest::mouseClick(form.ui->Check2, Qt::LeftButton);

        // The folder list leaves out the folder it could not name either.
        QTest::mouseClick(form.ui->Command7, Qt::LeftButton);
        QVERIFY(form.apriFile);
        const QTreeWidgetItem *current = form.apriFile->ui->Dir1->currentItem();
        QVERIFY(current);
        QCOMPARE(current->data(0, Qt::UserRole).toString(), sse);
        QStringList folders;
        for (int child = 0; child < current->childCount(); ++child)
            folders.append(current->child(child)->text(0));
        QCOMPARE(folders, QStringList({QStringLiteral("bios"), QStringLiteral("headers")}));
        QTest::mouseClick(form.apriFile->ui->CancelButton, Qt::LeftButton);
    }

    // In the file, each name as it was.
    const QSettings stored(ini, QSettings::IniFormat);
    const QList<QPair<int, QString>> fields{
        {1, header}, {3, saturnBios}, {4, stvBios}, {5, internalBackup}, {6, cartridge}};
    for (const auto &[number, name] : fields) {
        const QString key = QStringLiteral("Last Folders/text%1").arg(number);
        QCOMPARE(stored.value(key).toString(), name);
        QCOMPARE(stored.value(key + QStringLiteral("tag")).toString(), name);
    }

    // A new start shows them, and "Run SSE" passes them on.
    RealHarness harness(ini, sse);
    Form1 form(harness.platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QList<QPair<PathField *, QString>> shown{{form.ui->Text1, header},
                                                   {form.ui->Text3, saturnBios},
                                                   {form.ui->Text4, stvBios},
                                                   {form.ui->Text5, internalBackup},
                                                   {form.ui->Text6, cartridge}};
    for (const auto &[field, name] : shown)
        QCOMPARE(field->tag(), name);
    QVERIFY(form.ui->Check1->isChecked() && form.ui->Check2->isChecked());
    QVERIFY(form.ui->Option1->isChecked());

    const QString log = sse + QStringLiteral("/sse-standin.log");
    const QStringList tail = words("-res 640 480 -stretch 0 -br") +
                             QStringList{internalBackup, QStringLiteral("-bc"), cartridge};
    QTest::mouseClick(form.ui->Command8, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return readLog(log).size() == 1; }, 10000));
    QCOMPARE(argumentsOf(readLog(log).at(0)), saturnArguments(header, saturnBios, tail));
    QCOMPARE(readLog(log).at(0).value(u"cwd").toString(), sse);
    QVERIFY(readLog(log).at(0).value(u"accepted").toBool());

    // ST-V, with the other BIOS.
    form.ui->Combo2->setCurrentIndex(10);
    QTest::mouseClick(form.ui->Command8, Qt::LeftButton);
    QVERIFY(QTest::qWaitFor([&] { return readLog(log).size() == 2; }, 10000));
    QCOMPARE(argumentsOf(readLog(log).at(1)),
             words("-g ffreveng -b") + QStringList{stvBios} + tail);
    QVERIFY(readLog(log).at(1).value(u"accepted").toBool());
    QCOMPARE(harness.boxes.shown.size(), 0);

    QDirIterator everything(top, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
    while (everything.hasNext())
        QVERIFY2(everything.next().section(u'/', -1) != u"marker", "something ran");
}

QTEST_MAIN(TestOddNames)
#include "test_oddnames.moc"

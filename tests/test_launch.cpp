#include "fakeplatform.h"
#include "lang/messages.h"
#include "picker/shortpath.h"
#include "systemplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kivo::BoxIcon;

namespace
{

const QString kivoTitle = QStringLiteral("KIVO");
const QString errorTitle = QStringLiteral("Error");

QStringList args(std::initializer_list<const char *> words)
{
    QStringList list;
    for (const char *word : words)
        list.append(QString::fromUtf8(word));
    return list;
}

} // namespace

// "Run SSE": what it starts, with which arguments, and what it refuses.
class TestLaunch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void theFirstPressPreparesTheEmulator();
    void workedExamples();
    void namesReachTheEmulatorWhole();
    void missingFilesAreRefused();
    void outsideTheSseFolderTheProgramCloses();
    void noEmulatorBesideTheProgram();
    void aStartThatFailsOtherwiseShowsNothing();
    void whatTheRealProcessStartRefuses();
    void theButtonTellsWhatItWouldStart();
    void folderComparison();
    void shortPaths();

private:
    QTemporaryDir *sse = nullptr;
    Harness *harness = nullptr;
    Form1 *form = nullptr;
    void startIn(bool firstRunDone);
    void chooseSaturnFiles(const QString &header, const QString &bios);
    void press() { QTest::mouseClick(form->ui.Command8, Qt::LeftButton); }
};

void TestLaunch::init()
{
    sse = new QTemporaryDir;
    harness = new Harness;
    harness->ownFolder.folder = sse->path();
}

void TestLaunch::cleanup()
{
    delete harness;
    delete sse;
}

void TestLaunch::startIn(bool firstRunDone)
{
    if (firstRunDone)
        harness->settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    form = &harness->start();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TestLaunch::chooseSaturnFiles(const QString &header, const QString &bios)
{
    form->ui.Text1->setText(header);
    form->ui.Text1->setTag(header);
    form->ui.Text3->setText(bios);
    form->ui.Text3->setTag(bios);
}

void TestLaunch::theFirstPressPreparesTheEmulator()
{
    startIn(false);
    chooseSaturnFiles(QStringLiteral("daytona.sgh"), QStringLiteral("satbios.bin"));
    press();
    QCOMPARE(harness->processes.starts.size(), 1);
    QCOMPARE(harness->processes.starts[0].folder, sse->path());
    QCOMPARE(harness->processes.starts[0].arguments, args({"sse.exe", "-resetcfg"}));
    QCOMPARE(harness->settings.general(QStringLiteral("firstrun")), QStringLiteral("no"));
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].text, Messages::msgfirstrun(QStringLiteral("English")));
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::Information);
    QCOMPARE(harness->boxes.shown[0].title, kivoTitle);

    press();
    QCOMPARE(harness->processes.starts.size(), 2);
    QCOMPARE(harness->processes.starts[1].arguments,
             args({"sse.exe", "daytona.sgh", "-d", "F:", "-b", "satbios.bin", "-res", "640", "480",
                   "-stretch", "0"}));
    // Any value counts as done, and every press starts one more emulator.
    harness->settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("yes please"));
    press();
    QCOMPARE(harness->processes.starts.size(), 3);
    QCOMPARE(harness->boxes.shown.size(), 1);
    QVERIFY(form->isVisible());
}

void TestLaunch::workedExamples()
{
    startIn(true);
    chooseSaturnFiles(QStringLiteral("daytona.sgh"), QStringLiteral("satbios.bin"));
    form->ui.Combo3->setCurrentIndex(1);
    form->ui.Combo4->setCurrentIndex(2);
    QTest::mouseClick(form->ui.Check4, Qt::LeftButton);
    QTest::mouseClick(form->ui.Check6, Qt::LeftButton);
    QCOMPARE(form->saturnCommandLine().text(),
             QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 800 600 -stretch 2 "
                            "-nodsp -log"));
    press();
    QCOMPARE(harness->processes.starts.last().arguments,
             args({"sse.exe", "daytona.sgh", "-d", "F:", "-b", "satbios.bin", "-res", "800", "600",
                   "-stretch", "2", "-nodsp", "-log"}));

    form->ui.Combo3->setCurrentIndex(0);
    form->ui.Combo4->setCurrentIndex(0);
    for (PathField *field : {form->ui.Text5, form->ui.Text6}) {
        const QString name =
            field == form->ui.Text5 ? QStringLiteral("intback.bin") : QStringLiteral("cart.bin");
        field->setText(name);
        field->setTag(name);
    }
    for (QCheckBox *box : {form->ui.Check1, form->ui.Check2, form->ui.Check3, form->ui.Check5})
        QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(form->saturnCommandLine().text(),
             QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 640 480 -stretch 0 -br "
                            "intback.bin -bc cart.bin -polycoordfix 0 -nodsp -nospritepri -log"));

    QTest::mouseClick(form->ui.Check1, Qt::LeftButton);
    for (QCheckBox *box : {form->ui.Check4, form->ui.Check5, form->ui.Check6})
        QTest::mouseClick(box, Qt::LeftButton);
    form->ui.Combo1->setCurrentIndex(1);
    form->ui.Text4->setTag(QStringLiteral("stvbios.bin"));
    form->ui.Combo2->setCurrentIndex(33);
    QCOMPARE(form->stvCommandLine().text(),
             QStringLiteral("sse.exe -g sss -b stvbios.bin -res 640 480 -stretch 0 -bc cart.bin "
                            "-polycoordfix 1"));
    press();
    QCOMPARE(harness->processes.starts.last().arguments,
             args({"sse.exe", "-g", "sss", "-b", "stvbios.bin", "-res", "640", "480", "-stretch",
                   "0", "-bc", "cart.bin", "-polycoordfix", "1"}));
    QVERIFY(!harness->processes.starts.last().arguments.contains(QStringLiteral("-d")));
    QCOMPARE(harness->boxes.shown.size(), 0);
}

void TestLaunch::namesReachTheEmulatorWhole()
{
    startIn(true);
    const QString header = QString::fromUtf16(u"my game; $(rm -rf ~) \"q\" 'x' \\ é.sgh");
    const QString bios = QStringLiteral("  ");
    chooseSaturnFiles(header, bios);
    form->ui.Text5->setText(QStringLiteral("a b"));
    form->ui.Text5->setTag(QStringLiteral("a b"));
    QTest::mouseClick(form->ui.Check1, Qt::LeftButton);
    // The text is the plain joining; the emulator gets each name whole.
    QCOMPARE(form->saturnCommandLine().text(),
             QStringLiteral("sse.exe ") + header + QStringLiteral(" -d F: -b ") + bios +
                 QStringLiteral(" -res 640 480 -stretch 0 -br a b"));
    press();
    QCOMPARE(harness->processes.starts.last().arguments,
             QStringList({QStringLiteral("sse.exe"), header, QStringLiteral("-d"),
                          QStringLiteral("F:"), QStringLiteral("-b"), bios, QStringLiteral("-res"),
                          QStringLiteral("640"), QStringLiteral("480"), QStringLiteral("-stretch"),
                          QStringLiteral("0"), QStringLiteral("-br"), QStringLiteral("a b")}));
}

void TestLaunch::missingFilesAreRefused()
{
    startIn(true);
    form->ui.Text4->setTag(QStringLiteral("stvbios.bin"));
    form->ui.Combo2->setCurrentIndex(5);
    form->ui.Option1->setChecked(true);
    for (const auto &[header, bios] :
         {QPair<QString, QString>{QStringLiteral("daytona.sgh"), QString()},
          QPair<QString, QString>{QString(), QStringLiteral("satbios.bin")}}) {
        chooseSaturnFiles(header, bios);
        press();
    }
    QCOMPARE(harness->processes.starts.size(), 0);
    QCOMPARE(harness->boxes.shown.size(), 2);
    for (const ShownBox &box : harness->boxes.shown) {
        QCOMPARE(box.text, Messages::msgneedbioshdr(QStringLiteral("English")));
        QCOMPARE(box.icon, BoxIcon::Information);
        QCOMPARE(box.title, errorTitle);
    }

    // ST-V with the empty first entry: no game, though a BIOS is set.
    form->ui.Combo2->setCurrentIndex(0);
    press();
    QCOMPARE(harness->boxes.shown.last().text, Messages::msgneedbiosrom(QStringLiteral("English")));
    QCOMPARE(harness->boxes.shown.last().title, errorTitle);
    form->ui.Combo2->setCurrentIndex(7);
    form->ui.Text4->setTag(QString());
    press();
    QCOMPARE(harness->boxes.shown.size(), 4);
    QCOMPARE(harness->processes.starts.size(), 0);
    QVERIFY(form->isVisible());
}

void TestLaunch::outsideTheSseFolderTheProgramCloses()
{
    startIn(true);
    chooseSaturnFiles(QStringLiteral("daytona.sgh"), QStringLiteral("satbios.bin"));
    QTemporaryDir other;
    form->ui.Text7->setTag(other.path());
    press();
    QCOMPARE(harness->processes.starts.size(), 0);
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].text, Messages::msgnotinssedir(QStringLiteral("English")));
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::Critical);
    QCOMPARE(harness->boxes.shown[0].title, kivoTitle);
    QVERIFY(!form->isVisible());
}

void TestLaunch::noEmulatorBesideTheProgram()
{
    // The first press, before any folder check: no emulator means the wrong folder.
    startIn(false);
    harness->processes.result = kivo::StartResult::NotFound;
    form->lingua = QStringLiteral("Italiano");
    press();
    QCOMPARE(harness->settings.general(QStringLiteral("firstrun")), QString());
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].text, Messages::msgnotinssedir(QStringLiteral("Italiano")));
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::Critical);
    QVERIFY(!form->isVisible());

    // The same for a launch.
    cleanup();
    init();
    startIn(true);
    harness->processes.result = kivo::StartResult::NotFound;
    chooseSaturnFiles(QStringLiteral("daytona.sgh"), QStringLiteral("satbios.bin"));
    press();
    QCOMPARE(harness->boxes.shown.size(), 1);
    QCOMPARE(harness->boxes.shown[0].icon, BoxIcon::Critical);
    QVERIFY(!form->isVisible());
}

void TestLaunch::aStartThatFailsOtherwiseShowsNothing()
{
    startIn(false);
    harness->processes.result = kivo::StartResult::Failed;
    press();
    QCOMPARE(harness->boxes.shown.size(), 0);
    QCOMPARE(harness->settings.general(QStringLiteral("firstrun")), QString());
    QVERIFY(form->isVisible());
}

// What it starts, natively and through wine, is checked end to end:
// test_oddnames and test_e2e_emulator.
void TestLaunch::whatTheRealProcessStartRefuses()
{
    const QString folder = sse->path();
    const QString exe = sse->filePath(QStringLiteral("sse.exe"));
    const auto write = [&](const QByteArray &content) {
        QFile out(exe);
        return out.open(QIODevice::WriteOnly) && out.write(content) == content.size();
    };
    kivo::DetachedProcessStarter starter;
    const QStringList line{QStringLiteral("sse.exe"), QStringLiteral("-resetcfg")};
    // No emulator beside the program.
    QCOMPARE(starter.start(folder, line), kivo::StartResult::NotFound);
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sse.exe")));
    QCOMPARE(starter.start(folder, line), kivo::StartResult::NotFound);
    QVERIFY(QDir(folder).rmdir(QStringLiteral("sse.exe")));

    // There, but nothing that runs: a plain file, or a Windows program without wine.
    QVERIFY(write("not a program\n"));
    QCOMPARE(starter.start(folder, line), kivo::StartResult::Failed);
    QVERIFY(write(QByteArray("MZ") + QByteArray(62, '\0')));
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir noWine;
    qputenv("PATH", QFile::encodeName(noWine.path()));
    const kivo::StartResult withoutWine = starter.start(folder, line);
    qputenv("PATH", path);
    QCOMPARE(withoutWine, kivo::StartResult::Failed);
}

void TestLaunch::theButtonTellsWhatItWouldStart()
{
    startIn(false);
    auto tip = [this] {
        QHelpEvent event(QEvent::ToolTip, QPoint(1, 1),
                         form->ui.Command8->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(form->ui.Command8, &event);
        return form->ui.Command8->toolTip();
    };
    QCOMPARE(tip(), QStringLiteral("sse.exe -resetcfg"));
    harness->settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    QCOMPARE(tip(), QString());
    chooseSaturnFiles(QStringLiteral("my game.sgh"), QStringLiteral("satbios.bin"));
    QCOMPARE(tip(),
             QStringLiteral("sse.exe my game.sgh -d F: -b satbios.bin -res 640 480 -stretch 0"));
    form->ui.Text7->setTag(QStringLiteral("/elsewhere"));
    QCOMPARE(tip(), QString());
}

void TestLaunch::folderComparison()
{
    QCOMPARE(Form1::lowerDriveLetters(QStringLiteral("C:\\PROGRA~1\\SSE")),
             QStringLiteral("c:\\PROGRA~1\\SSE"));
    QCOMPARE(Form1::lowerDriveLetters(QStringLiteral("Z:M:a:/A:/x")),
             QStringLiteral("z:m:a:/a:/x"));
    QCOMPARE(Form1::lowerDriveLetters(QStringLiteral("C:\\EMU\\SSE")),
             Form1::lowerDriveLetters(QStringLiteral("c:\\EMU\\SSE")));
    QVERIFY(Form1::lowerDriveLetters(QStringLiteral("c:\\EMU\\SSE")) !=
            Form1::lowerDriveLetters(QStringLiteral("c:\\emu\\sse")));

    // The program started through a link to its folder is still in it.
    QTemporaryDir base;
    QVERIFY(QDir(base.path()).mkdir(QStringLiteral("SSE")));
    const QString real = base.filePath(QStringLiteral("SSE"));
    QVERIFY(QFile::link(real, base.filePath(QStringLiteral("link"))));
    harness->ownFolder.folder = base.filePath(QStringLiteral("link"));
    harness->settings.setLastFolders(QStringLiteral("text7"), real);
    harness->settings.setLastFolders(QStringLiteral("text7tag"), GetShortPathName(real));
    startIn(true);
    QCOMPARE(form->apppath, form->ssepath);
    form->ui.Text7->setTag(GetShortPathName(real + QStringLiteral("/../SSE/.")));
    form->fixssekivopath();
    QCOMPARE(form->apppath, form->ssepath);
    form->ui.Text7->setTag(real.toUpper());
    form->fixssekivopath();
    QVERIFY(form->apppath != form->ssepath);
}

void TestLaunch::shortPaths()
{
    QTemporaryDir dir;
    const QString canonical = QDir(dir.path()).canonicalPath();
    QCOMPARE(GetShortPathName(dir.path() + QStringLiteral("/")), canonical);
    QCOMPARE(GetShortPathName(dir.path() + QStringLiteral("/./")), canonical);
    QCOMPARE(GetShortPathName(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(GetShortPathName(GetShortPathName(dir.path())), canonical);
    const QString missing = dir.filePath(QStringLiteral("no such folder"));
    QCOMPARE(GetShortPathName(missing),
             QStringLiteral("Impossibile trovare il file o la cartella: ") + missing);
    QCOMPARE(GetShortPathName(QString()),
             QStringLiteral("Impossibile trovare il file o la cartella: "));

    QCOMPARE(StripTerminator(QStringLiteral("abc")), QStringLiteral("abc"));
    QCOMPARE(StripTerminator(QString(QChar(0)) + QStringLiteral("abc")), QString());
    QCOMPARE(StripTerminator(QStringLiteral("ab") + QChar(0) + QStringLiteral("c")),
             QStringLiteral("ab"));
}

QTEST_MAIN(TestLaunch)
#include "test_launch.moc"

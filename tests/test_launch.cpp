#include "fakeplatform.h"
#include "lang/messages.h"
#include "mainwindow/messageboxes.h"
#include "mainwindow/processstart.h"
#include "mainwindow/wine.h"
#include "picker/shortpath.h"

#include <QDir>
#include <QFile>
#include <QSet>
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
    void aStartThatFailsIsReported();
    void whatTheRealProcessStartDecides();
    void wineThirtyTwoBitSupport();
    void wineGetsAUtf8Locale();
    void theDriveListTellsWinesDrives();
    void theButtonTellsWhatItWouldStart();
    void folderComparison();
    void shortPaths();

private:
    QTemporaryDir *sse = nullptr;
    Harness *harness = nullptr;
    Form1 *form = nullptr;
    void startIn(bool firstRunDone);
    void chooseSaturnFiles(const QString &header, const QString &bios);
    void press() { QTest::mouseClick(form->ui->Command8, Qt::LeftButton); }
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
    form->ui->Text1->setText(header);
    form->ui->Text1->setTag(header);
    form->ui->Text3->setText(bios);
    form->ui->Text3->setTag(bios);
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
    form->ui->Combo3->setCurrentIndex(1);
    form->ui->Combo4->setCurrentIndex(2);
    QTest::mouseClick(form->ui->Check4, Qt::LeftButton);
    QTest::mouseClick(form->ui->Check6, Qt::LeftButton);
    QCOMPARE(form->saturnCommandLine().text(),
             QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 800 600 -stretch 2 "
                            "-nodsp -log"));
    press();
    QCOMPARE(harness->processes.starts.last().arguments,
             args({"sse.exe", "daytona.sgh", "-d", "F:", "-b", "satbios.bin", "-res", "800", "600",
                   "-stretch", "2", "-nodsp", "-log"}));

    form->ui->Combo3->setCurrentIndex(0);
    form->ui->Combo4->setCurrentIndex(0);
    for (PathField *field : {form->ui->Text5, form->ui->Text6}) {
        const QString name =
            field == form->ui->Text5 ? QStringLiteral("intback.bin") : QStringLiteral("cart.bin");
        field->setText(name);
        field->setTag(name);
    }
    for (QCheckBox *box : {form->ui->Check1, form->ui->Check2, form->ui->Check3, form->ui->Check5})
        QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(form->saturnCommandLine().text(),
             QStringLiteral("sse.exe daytona.sgh -d F: -b satbios.bin -res 640 480 -stretch 0 -br "
                            "intback.bin -bc cart.bin -polycoordfix 0 -nodsp -nospritepri -log"));

    QTest::mouseClick(form->ui->Check1, Qt::LeftButton);
    for (QCheckBox *box : {form->ui->Check4, form->ui->Check5, form->ui->Check6})
        QTest::mouseClick(box, Qt::LeftButton);
    form->ui->Combo1->setCurrentIndex(1);
    form->ui->Text4->setTag(QStringLiteral("stvbios.bin"));
    form->ui->Combo2->setCurrentIndex(33);
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
    form->ui->Text5->setText(QStringLiteral("a b"));
    form->ui->Text5->setTag(QStringLiteral("a b"));
    QTest::mouseClick(form->ui->Check1, Qt::LeftButton);
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
    form->ui->Text4->setTag(QStringLiteral("stvbios.bin"));
    form->ui->Combo2->setCurrentIndex(5);
    form->ui->Option1->setChecked(true);
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
    form->ui->Combo2->setCurrentIndex(0);
    press();
    QCOMPARE(harness->boxes.shown.last().text, Messages::msgneedbiosrom(QStringLiteral("English")));
    QCOMPARE(harness->boxes.shown.last().title, errorTitle);
    form->ui->Combo2->setCurrentIndex(7);
    form->ui->Text4->setTag(QString());
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
    form->ui->Text7->setTag(other.path());
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

// A start that fails says why and what to do, in the current language,
// over the main window; a first run that did not start is not recorded.
void TestLaunch::aStartThatFailsIsReported()
{
    using kivo::StartResult;
    startIn(false);
    chooseSaturnFiles(QStringLiteral("daytona.sgh"), QStringLiteral("satbios.bin"));
    QSet<QString> texts;
    for (const QStringView language : Messages::languages) {
        form->lingua = language.toString();
        for (const StartResult result : {StartResult::NotExecutable, StartResult::NoWine,
                                         StartResult::NoWine32, StartResult::Failed}) {
            harness->processes.result = result;
            harness->processes.reason = QStringLiteral("execve: Exec format error");
            press();
            const ShownBox &box = harness->boxes.shown.last();
            QCOMPARE(box.owner, form);
            QCOMPARE(box.icon, BoxIcon::Critical);
            QCOMPARE(box.title, errorTitle);
            QVERIFY2(box.text.startsWith(u"sse.exe") || box.text.contains(u" sse.exe"),
                     qPrintable(box.text));
            if (result == StartResult::NoWine32)
                QVERIFY(box.text.contains(u"\rapt install wine32:i386"));
            if (result == StartResult::Failed)
                QVERIFY(box.text.endsWith(harness->processes.reason));
            texts.insert(box.text);
        }
    }
    QCOMPARE(texts.size(), 12);
    QCOMPARE(harness->settings.general(QStringLiteral("firstrun")), QString());
    QVERIFY(form->isVisible());

    // The same for a launch once prepared.
    harness->processes.result = StartResult::Started;
    press();
    QCOMPARE(harness->settings.general(QStringLiteral("firstrun")), QStringLiteral("no"));
    harness->processes.result = StartResult::NoWine;
    press();
    QCOMPARE(harness->processes.starts.size(), 14);
    QCOMPARE(harness->processes.starts.last().arguments.first(), QStringLiteral("sse.exe"));
    QCOMPARE(harness->boxes.shown.last().title, errorTitle);
    QVERIFY(form->isVisible());
}

namespace
{

struct FakeWine : kivo::WineSupport {
    QString found;
    bool both = true;
    QString program() const override { return found; }
    bool runs32Bit(const QString &) const override { return both; }
};

bool writeFile(const QString &path, const QByteArray &content, QFile::Permissions permissions)
{
    QFile::remove(path);
    QFile out(path);
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size() &&
           out.setPermissions(permissions);
}

// The start of a Windows program for the machine given.
QByteArray windowsProgram(quint16 machine)
{
    QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
    bytes[0x3c] = char(0x40);
    bytes += QByteArray("PE\0\0", 4);
    bytes += char(machine & 0xff);
    bytes += char(machine >> 8);
    return bytes;
}

} // namespace

// What the real process start decides before anything runs, and the rules
// it decides by. What it starts is checked end to end: test_e2e_emulator.
void TestLaunch::whatTheRealProcessStartDecides()
{
    const QString folder = sse->path();
    const QString exe = sse->filePath(QStringLiteral("sse.exe"));
    FakeWine wine;
    kivo::DetachedProcessStarter starter(wine);
    const auto start = [&] {
        return starter.start(folder, {QStringLiteral("sse.exe"), QStringLiteral("-resetcfg")});
    };
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    using kivo::StartResult;

    QCOMPARE(start().result, StartResult::NotFound);
    QVERIFY(QDir(folder).mkdir(QStringLiteral("sse.exe")));
    QCOMPARE(start().result, StartResult::NotFound);
    QVERIFY(QDir(folder).rmdir(QStringLiteral("sse.exe")));

    QVERIFY(writeFile(exe, "not a program\n", QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(start().result, StartResult::NotExecutable);
    QVERIFY(writeFile(exe, "not a program\n", runnable));
    const kivo::StartOutcome garbage = start();
    QCOMPARE(garbage.result, StartResult::Failed);
    QVERIFY(!garbage.reason.isEmpty());

    // Windows programs need no right to run: wine runs them.
    const QByteArray program32 = windowsProgram(0x14c);
    QVERIFY(writeFile(exe, program32, QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(start().result, StartResult::NoWine);
    wine.found = QStringLiteral("/nonexistent/wine");
    wine.both = false;
    QCOMPARE(start().result, StartResult::NoWine32);
    // A 64-bit one goes to wine, which is not there to start.
    QVERIFY(writeFile(exe, windowsProgram(0x8664), runnable));
    QCOMPARE(start().result, StartResult::Failed);

    using kivo::ProgramKind;
    QCOMPARE(kivo::programKind(exe), ProgramKind::Windows64);
    QVERIFY(writeFile(exe, windowsProgram(0xaa64), runnable));
    QCOMPARE(kivo::programKind(exe), ProgramKind::Windows64);
    QVERIFY(writeFile(exe, program32, runnable));
    QCOMPARE(kivo::programKind(exe), ProgramKind::Windows32);
    // An old program without a PE header runs as a 32-bit one does.
    QVERIFY(writeFile(exe, "MZ", runnable));
    QCOMPARE(kivo::programKind(exe), ProgramKind::Windows32);
    QVERIFY(writeFile(exe,
                      "\x7f"
                      "ELF",
                      runnable));
    QCOMPARE(kivo::programKind(exe), ProgramKind::Native);
}

// Debian's layout: bin/wine runs lib/wine/wine (package wine32) when it is
// there, else lib/wine/wine64 (package wine64), which runs 64-bit programs only.
void TestLaunch::wineThirtyTwoBitSupport()
{
    QTemporaryDir prefix;
    const QFile::Permissions runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(prefix.path()).mkpath(QStringLiteral("lib/wine")));
    const QString wine = prefix.filePath(QStringLiteral("bin/wine"));
    QVERIFY(writeFile(wine, "#!/bin/sh\n", runnable));
    kivo::InstalledWine installed;
    QVERIFY(installed.runs32Bit(wine));
    QVERIFY(writeFile(prefix.filePath(QStringLiteral("lib/wine/wine64")), "", runnable));
    QVERIFY(!installed.runs32Bit(wine));
    // Found through a link, as Debian's alternatives do.
    const QString link = prefix.filePath(QStringLiteral("wine-link"));
    QVERIFY(QFile::link(wine, link));
    QVERIFY(!installed.runs32Bit(link));
    QVERIFY(writeFile(prefix.filePath(QStringLiteral("lib/wine/wine")), "", runnable));
    QVERIFY(installed.runs32Bit(link));
}

// Wine reads names in the character locale: a locale that is not UTF-8
// gets one that is, for characters only.
void TestLaunch::wineGetsAUtf8Locale()
{
    const auto character = [](const QProcessEnvironment &environment) {
        for (const char *name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const QString value = environment.value(QString::fromLatin1(name));
            if (!value.isEmpty())
                return value;
        }
        return QString();
    };
    const struct {
        QStringList set;
        bool unchanged;
    } cases[] = {
        {{}, false},
        {{QStringLiteral("LANG=C")}, false},
        {{QStringLiteral("LANG=it_IT.UTF-8")}, true},
        {{QStringLiteral("LANG=fr_FR.utf8")}, true},
        {{QStringLiteral("LANG=it_IT.UTF-8"), QStringLiteral("LC_ALL=POSIX")}, false},
        {{QStringLiteral("LANG=C"), QStringLiteral("LC_CTYPE=de_DE.UTF-8")}, true},
        {{QStringLiteral("LANG=de_DE.ISO-8859-1"), QStringLiteral("LC_MESSAGES=de_DE")}, false},
    };
    for (const auto &with : cases) {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin"));
        for (const QString &pair : with.set)
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        const QProcessEnvironment forWine = kivo::wineEnvironment(environment);
        if (with.unchanged) {
            QCOMPARE(forWine, environment);
            continue;
        }
        QCOMPARE(character(forWine), QStringLiteral("C.UTF-8"));
        QCOMPARE(forWine.value(QStringLiteral("PATH")), QStringLiteral("/usr/bin"));
        // What LC_ALL said goes on for everything but characters.
        const QString all = environment.value(QStringLiteral("LC_ALL"));
        if (!all.isEmpty())
            QCOMPARE(forWine.value(QStringLiteral("LANG")), all);
        else
            QCOMPARE(forWine.value(QStringLiteral("LANG")),
                     environment.value(QStringLiteral("LANG")));
    }
}

// The drive list tells which letters the Wine prefix defines.
void TestLaunch::theDriveListTellsWinesDrives()
{
    startIn(true);
    QTemporaryDir prefix;
    const QByteArray saved = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    auto tip = [this] {
        QHelpEvent event(QEvent::ToolTip, QPoint(1, 1),
                         form->ui->Combo5->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(form->ui->Combo5, &event);
        return form->ui->Combo5->toolTip();
    };
    const QString none = tip();
    QVERIFY(none.contains(prefix.path()));
    QVERIFY(!none.contains(u"d:"));

    QVERIFY(QDir(prefix.path()).mkdir(QStringLiteral("dosdevices")));
    const QDir devices(prefix.filePath(QStringLiteral("dosdevices")));
    QVERIFY(
        QFile::link(QStringLiteral("/media/<cd> & more"), devices.filePath(QStringLiteral("d:"))));
    QVERIFY(QFile::link(QStringLiteral("/dev/sr0"), devices.filePath(QStringLiteral("d::"))));
    QVERIFY(QFile::link(QStringLiteral("/"), devices.filePath(QStringLiteral("z:"))));
    const QString drives = tip();
    QVERIFY(drives.contains(u"d: → /media/&lt;cd&gt; &amp; more"));
    QVERIFY(drives.indexOf(u"d:: → /dev/sr0") > drives.indexOf(u"d: →"));
    QVERIFY(drives.contains(u"z: → /"));
    form->lingua = QStringLiteral("Italiano");
    QVERIFY(tip() != drives);
    // The list's entries stay what they are.
    QCOMPARE(form->ui->Combo5->count(), 23);
    QCOMPARE(form->ui->Combo5->itemText(0), QStringLiteral("D:"));
    qputenv("WINEPREFIX", saved);
}

void TestLaunch::theButtonTellsWhatItWouldStart()
{
    startIn(false);
    auto tip = [this] {
        QHelpEvent event(QEvent::ToolTip, QPoint(1, 1),
                         form->ui->Command8->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(form->ui->Command8, &event);
        return form->ui->Command8->toolTip();
    };
    QCOMPARE(tip(), QStringLiteral("sse.exe -resetcfg"));
    harness->settings.setGeneral(QStringLiteral("firstrun"), QStringLiteral("no"));
    QCOMPARE(tip(), QString());
    chooseSaturnFiles(QStringLiteral("my game.sgh"), QStringLiteral("satbios.bin"));
    QCOMPARE(tip(),
             QStringLiteral("sse.exe my game.sgh -d F: -b satbios.bin -res 640 480 -stretch 0"));
    form->ui->Text7->setTag(QStringLiteral("/elsewhere"));
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
    form->ui->Text7->setTag(GetShortPathName(real + QStringLiteral("/../SSE/.")));
    form->fixssekivopath();
    QCOMPARE(form->apppath, form->ssepath);
    form->ui->Text7->setTag(real.toUpper());
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

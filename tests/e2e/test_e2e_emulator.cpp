// The real kivo pressing "Run SSE" for each kind of sse.exe a Linux user
// may have: missing, not runnable, a Windows program without wine or with a
// wine that runs 64-bit programs only, and one that wine starts, under a
// locale that is not UTF-8. Each start either works or says why.

#include "ssefolder.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <memory>

namespace
{

const QString header = QStringLiteral("ゲーム 'x'.sgh");
const QString bios = QStringLiteral("saturn bios.bin");
const QString refusalName = QStringLiteral("^KIVO$");
const QString errorName = QStringLiteral("^Error$");
const QString boxName = QStringLiteral("^(KIVO|Error)$");

bool writeFile(const QString &path, const QByteArray &content, QFile::Permissions permissions)
{
    QFile::remove(path);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.setPermissions(permissions);
}

QByteArray windowsProgram(quint16 machine)
{
    QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
    bytes[0x3c] = char(0x40);
    return bytes + QByteArray("PE\0\0", 4) + char(machine & 0xff) + char(machine >> 8);
}

} // namespace

class TestE2eEmulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void eachKindOfEmulatorGivesItsReaction();

private:
    // Starts kivo under LANG=C with this PATH, and presses "Run SSE".
    bool startAndPress(const QString &path);
    // Waits for one box of that name and confirms it.
    bool confirm(const QString &name);

    XSession x;
    SseFolder sse;
    QTemporaryDir runtime;
    std::unique_ptr<QProcess> kivo;
    QString mainWindow;
};

void TestE2eEmulator::initTestCase()
{
    QVERIFY2(x.start(), qPrintable(x.error()));
    QVERIFY(sse.isValid() && runtime.isValid());
    // A folder and names that a locale without UTF-8 cannot spell.
    QVERIFY(sse.enter(QStringLiteral("My SSé")));
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + bios, "Saturn BIOS"));
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")},
                               {QStringLiteral("Last Folders/text1"), header},
                               {QStringLiteral("Last Folders/text1tag"), header},
                               {QStringLiteral("Last Folders/text3"), bios},
                               {QStringLiteral("Last Folders/text3tag"), bios},
                               {QStringLiteral("Last Folders/text7"), sse.path()},
                               {QStringLiteral("Last Folders/text7tag"), sse.path()}}));
}

bool TestE2eEmulator::startAndPress(const QString &path)
{
    if (kivo) {
        kivo->kill();
        kivo->waitForFinished();
        if (!x.waitUntilGone(mainWindowName, patience))
            return false;
    }
    QProcessEnvironment environment = x.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QFileInfo(QFileInfo(sse.iniPath()).path()).path());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("PATH"), path);
    environment.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    environment.remove(QStringLiteral("LC_ALL"));
    environment.remove(QStringLiteral("LC_CTYPE"));
    kivo = std::make_unique<QProcess>();
    kivo->setProgram(sse.filePath(QStringLiteral("kivo")));
    kivo->setWorkingDirectory(sse.top());
    kivo->setProcessEnvironment(environment);
    kivo->start();
    if (!kivo->waitForStarted(patience))
        return false;
    const QStringList windows = x.waitForWindows(mainWindowName, patience);
    if (windows.size() != 1)
        return false;
    mainWindow = windows.first();
    return x.focusAndKey(mainWindow, {QStringLiteral("space")});
}

bool TestE2eEmulator::confirm(const QString &name)
{
    const QStringList box = x.waitForWindows(name, patience);
    return box.size() == 1 && x.focusAndKey(box.first(), {QStringLiteral("Return")}) &&
           x.waitUntilGone(name, patience);
}

void TestE2eEmulator::eachKindOfEmulatorGivesItsReaction()
{
    const QString exe = sse.filePath(QStringLiteral("sse.exe"));
    const QString wineLog = sse.filePath(QStringLiteral("wine-standin.log"));
    const QString system = QStringLiteral(":/usr/bin:/bin");
    const QString withWine = QStringLiteral(WINE_STANDIN_DIR) + system;
    // Debian's wine64 alone: bin/wine beside lib/wine/wine64, no lib/wine/wine.
    QTemporaryDir only64;
    QVERIFY(QDir(only64.path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(only64.path()).mkpath(QStringLiteral("lib/wine")));
    QVERIFY(copyProgram(QStringLiteral(WINE_STANDIN_DIR) + QStringLiteral("/wine"),
                        only64.filePath(QStringLiteral("bin/wine"))));
    QVERIFY(copyProgram(QStringLiteral(WINE_STANDIN_DIR) + QStringLiteral("/wine"),
                        only64.filePath(QStringLiteral("lib/wine/wine64"))));
    QTemporaryDir noWine;
    const QString withWine64Only = only64.filePath(QStringLiteral("bin")) + system;
    const QFile::Permissions runnable =
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    const QFile::Permissions notRunnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther;

    // Missing: KIVO is not in the SSE folder; it says so, and closes once
    // the box is confirmed.
    QVERIFY2(startAndPress(withWine), qPrintable(x.error()));
    QVERIFY2(confirm(refusalName), qPrintable(x.error()));
    QVERIFY(kivo->waitForFinished(patience));
    QCOMPARE(kivo->exitCode(), 0);

    // There, but it cannot start: a box titled "Error" says why, KIVO stays
    // open, and a first run that did not start is not recorded.
    const struct {
        QByteArray content;
        QFile::Permissions permissions;
        QString path;
        bool firstRun;
    } failing[] = {
        {QByteArray("\x7f"
                    "ELF not really\n"),
         notRunnable, withWine, true},
        {QByteArray("\x7f"
                    "ELF not really\n"),
         runnable, withWine, false},
        {windowsProgram(0x8664), runnable, noWine.path(), true},
        {windowsProgram(0x14c), runnable, withWine64Only, false},
        {windowsProgram(0x14c), runnable, withWine64Only, true},
    };
    for (const auto &with : failing) {
        QVERIFY(sse.writeSettings(
            {{QStringLiteral("firstrun"), with.firstRun ? QString() : QStringLiteral("no")}}));
        QVERIFY(writeFile(exe, with.content, with.permissions));
        QVERIFY2(startAndPress(with.path), qPrintable(x.error()));
        QVERIFY2(confirm(errorName), qPrintable(x.error()));
        QVERIFY2(x.waitUntilGone(boxName, 1000), qPrintable(x.error()));
        QCOMPARE(kivo->state(), QProcess::Running);
        QCOMPARE(x.waitForWindows(mainWindowName, patience), QStringList{mainWindow});
        QCOMPARE(sse.setting(QStringLiteral("firstrun")),
                 with.firstRun ? QString() : QStringLiteral("no"));
        QVERIFY(!QFile::exists(wineLog));
    }

    // A Windows program with wine on the PATH: wine gets the program's
    // full path, then the arguments unchanged, in the SSE folder and a
    // UTF-8 character locale although KIVO runs under LANG=C.
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")}}));
    QVERIFY(writeFile(exe, windowsProgram(0x8664), runnable));
    QVERIFY2(startAndPress(withWine), qPrintable(x.error()));
    QVERIFY(QTest::qWaitFor([&] { return !readLog(wineLog).isEmpty(); }, patience));
    const QList<QJsonObject> log = readLog(wineLog);
    QCOMPARE(log.size(), 1);
    QCOMPARE(argumentsOf(log.first()),
             QStringList{exe} + saturnArguments(header, bios, words("-res 640 480 -stretch 0")));
    QCOMPARE(log.first().value(u"codeset").toString(), QStringLiteral("UTF-8"));
    QCOMPARE(log.first().value(u"cwd").toString(), sse.path());
    QVERIFY2(x.waitUntilGone(boxName, 1000), qPrintable(x.error()));
    QCOMPARE(kivo->state(), QProcess::Running);
    kivo->kill();
    kivo->waitForFinished();
}

QTEST_GUILESS_MAIN(TestE2eEmulator)
#include "test_e2e_emulator.moc"

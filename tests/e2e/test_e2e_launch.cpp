// The real kivo in a real SSE folder on a private X server: the first press
// of "Run SSE" prepares the emulator, the second starts the chosen Saturn
// game, and every choice is in KIVO.ini.

#include "ssefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString header = QStringLiteral("my game.sgh");
// Quotes, blanks, $ and ; reach the emulator as they are, in one argument.
const QString bios = QStringLiteral("Saturn BIOS 'v1.01' \"JP\" $HOME;é.bin");
const QString boxName = QStringLiteral("^KIVO$");
const QString mainWindowName = QStringLiteral("^KIVO - ");
constexpr int patience = 10000;

} // namespace

class TestE2eLaunch : public QObject
{
    Q_OBJECT

private slots:
    void firstRunThenSaturnLaunch();
};

void TestE2eLaunch::firstRunThenSaturnLaunch()
{
    XSession x;
    QVERIFY2(x.start(), qPrintable(x.error()));

    SseFolder sse;
    QVERIFY(sse.isValid());
    const QString sseFolder = sse.path();
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + bios, "Saturn BIOS"));

    const QString iniPath = sse.iniPath();
    {
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Last Folders"));
        ini.setValue(QStringLiteral("text1"), header);
        ini.setValue(QStringLiteral("text1tag"), header);
        ini.setValue(QStringLiteral("text3"), bios);
        ini.setValue(QStringLiteral("text3tag"), bios);
        ini.setValue(QStringLiteral("text7"), sseFolder);
        ini.setValue(QStringLiteral("text7tag"), sseFolder);
        ini.endGroup();
        ini.sync();
        QCOMPARE(ini.status(), QSettings::NoError);
    }

    QProcess *kivo = sse.launchKivo(x);
    QVERIFY2(kivo, qPrintable(x.error()));

    const QStringList mainWindow = x.waitForWindows(mainWindowName, patience);
    QVERIFY2(mainWindow.size() == 1, qPrintable(x.error()));

    // "Run SSE" has the focus at start; the first press prepares the emulator.
    QVERIFY2(x.focusAndKey(mainWindow.first(), {QStringLiteral("space")}), qPrintable(x.error()));
    const QStringList box = x.waitForWindows(boxName, patience);
    QVERIFY2(box.size() == 1, qPrintable(x.error()));

    const QString logPath = sse.filePath(QStringLiteral("sse-standin.log"));
    QVERIFY(QTest::qWaitFor([&] { return readLog(logPath).size() >= 1; }, patience));
    QVERIFY(QFileInfo(sse.filePath(QStringLiteral("sse.cfg"))).isFile());
    QList<QJsonObject> log = readLog(logPath);
    QCOMPARE(log.size(), 1);
    QCOMPARE(argumentsOf(log.at(0)), QStringList{QStringLiteral("-resetcfg")});
    QCOMPARE(log.at(0).value(u"cwd").toString(), sseFolder);
    QVERIFY(log.at(0).value(u"accepted").toBool());

    QVERIFY2(x.focusAndKey(box.first(), {QStringLiteral("Return")}), qPrintable(x.error()));
    QVERIFY2(x.waitUntilGone(boxName, patience), qPrintable(x.error()));

    // The second press starts the Saturn game.
    QVERIFY2(x.focusAndKey(mainWindow.first(), {QStringLiteral("space")}), qPrintable(x.error()));
    QVERIFY(QTest::qWaitFor([&] { return readLog(logPath).size() >= 2; }, patience));
    log = readLog(logPath);
    QCOMPARE(log.size(), 2);
    const QStringList expected{header,
                               QStringLiteral("-d"),
                               QStringLiteral("F:"),
                               QStringLiteral("-b"),
                               bios,
                               QStringLiteral("-res"),
                               QStringLiteral("640"),
                               QStringLiteral("480"),
                               QStringLiteral("-stretch"),
                               QStringLiteral("0")};
    QCOMPARE(argumentsOf(log.at(1)), expected);
    QCOMPARE(log.at(1).value(u"cwd").toString(), sseFolder);
    QCOMPARE(log.at(1).value(u"problems").toArray(), QJsonArray());
    QVERIFY(log.at(1).value(u"accepted").toBool());

    // A launch closes nothing, and opens no other box.
    QCOMPARE(kivo->state(), QProcess::Running);
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));

    QSettings ini(iniPath, QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("firstrun")).toString(), QStringLiteral("no"));
    QCOMPARE(ini.value(QStringLiteral("system-sat")).toString(), QStringLiteral("True"));
    QCOMPARE(ini.value(QStringLiteral("system-stv")).toString(), QStringLiteral("False"));
    QCOMPARE(ini.value(QStringLiteral("drive")).toString(), QStringLiteral("2"));
    QCOMPARE(ini.value(QStringLiteral("res")).toString(), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("stretch")).toString(), QStringLiteral("0"));
    QCOMPARE(ini.value(QStringLiteral("Last Folders/text1tag")).toString(), header);
    QCOMPARE(ini.value(QStringLiteral("Last Folders/text3tag")).toString(), bios);
    QCOMPARE(ini.value(QStringLiteral("Last Folders/text7tag")).toString(), sseFolder);
}

QTEST_GUILESS_MAIN(TestE2eLaunch)
#include "test_e2e_launch.moc"

// The real kivo in a real SSE folder on a private X server: the first press
// of "Run SSE" prepares the emulator, the second starts the chosen Saturn
// game, and every choice is in KIVO.ini.

#include "ssefolder.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QtTest>

namespace
{

const QString header = QStringLiteral("my game.sgh");
// Quotes, blanks, $ and ; reach the emulator as they are, in one argument.
const QString bios = QStringLiteral("Saturn BIOS 'v1.01' \"JP\" $HOME;é.bin");
const QString boxName = QStringLiteral("^KIVO$");

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

    QVERIFY(sse.writeSettings({{QStringLiteral("Last Folders/text1"), header},
                               {QStringLiteral("Last Folders/text1tag"), header},
                               {QStringLiteral("Last Folders/text3"), bios},
                               {QStringLiteral("Last Folders/text3tag"), bios},
                               {QStringLiteral("Last Folders/text7"), sseFolder},
                               {QStringLiteral("Last Folders/text7tag"), sseFolder}}));

    QProcess *kivo = nullptr;
    const QString mainWindow = sse.startKivo(x, &kivo);
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));

    // "Run SSE" has the focus at start; the first press prepares the emulator.
    QVERIFY2(x.focusAndKey(mainWindow, {QStringLiteral("space")}), qPrintable(x.error()));
    const QStringList box = x.waitForWindows(boxName, patience);
    QVERIFY2(box.size() == 1, qPrintable(x.error()));

    QVERIFY(QTest::qWaitFor([&] { return sse.emulatorLog().size() >= 1; }, patience));
    QVERIFY(QFileInfo(sse.filePath(QStringLiteral("sse.cfg"))).isFile());
    QList<QJsonObject> log = sse.emulatorLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(argumentsOf(log.at(0)), QStringList{QStringLiteral("-resetcfg")});
    QCOMPARE(log.at(0).value(u"cwd").toString(), sseFolder);
    QVERIFY(log.at(0).value(u"accepted").toBool());

    QVERIFY2(x.focusAndKey(box.first(), {QStringLiteral("Return")}), qPrintable(x.error()));
    QVERIFY2(x.waitUntilGone(boxName, patience), qPrintable(x.error()));

    // The second press starts the Saturn game.
    QVERIFY2(x.focusAndKey(mainWindow, {QStringLiteral("space")}), qPrintable(x.error()));
    QVERIFY(QTest::qWaitFor([&] { return sse.emulatorLog().size() >= 2; }, patience));
    log = sse.emulatorLog();
    QCOMPARE(log.size(), 2);
    QCOMPARE(argumentsOf(log.at(1)),
             saturnArguments(header, bios, words("-res 640 480 -stretch 0")));
    QCOMPARE(log.at(1).value(u"cwd").toString(), sseFolder);
    QCOMPARE(log.at(1).value(u"problems").toArray(), QJsonArray());
    QVERIFY(log.at(1).value(u"accepted").toBool());

    // A launch closes nothing, and opens no other box.
    QCOMPARE(kivo->state(), QProcess::Running);
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));

    QCOMPARE(sse.setting(QStringLiteral("firstrun")), QStringLiteral("no"));
    QCOMPARE(sse.setting(QStringLiteral("system-sat")), QStringLiteral("True"));
    QCOMPARE(sse.setting(QStringLiteral("system-stv")), QStringLiteral("False"));
    QCOMPARE(sse.setting(QStringLiteral("drive")), QStringLiteral("2"));
    QCOMPARE(sse.setting(QStringLiteral("res")), QStringLiteral("0"));
    QCOMPARE(sse.setting(QStringLiteral("stretch")), QStringLiteral("0"));
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text1tag")), header);
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text3tag")), bios);
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text7tag")), sseFolder);
}

QTEST_GUILESS_MAIN(TestE2eLaunch)
#include "test_e2e_launch.moc"

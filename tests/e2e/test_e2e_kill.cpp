// The real kivo killed with SIGKILL right after each kind of choice (first
// run, path hand-over through the picker, check box, list, system): the
// next start shows the choice, and its "Run SSE" passes it on. The language
// is covered by test_e2e_language, which kills the program the same way.

#include "ssefolder.h"

#include <QtTest>

namespace
{

const QString header = QStringLiteral("killed 'game'.sgh");
const QString saturnBios = QStringLiteral("saturn bios.bin");
const QString stvBios = QStringLiteral("stv bios.bin");
const QString boxName = QStringLiteral("^(KIVO|Error)$");

} // namespace

class TestE2eKill : public QObject
{
    Q_OBJECT

private slots:
    void everyChoiceSurvivesAKill();

private:
    // Starts kivo and waits for its main window.
    bool start();
    // Waits until the store holds the value, then kills kivo at once.
    bool killOnceStored(const QString &key, const QString &value);
    // Presses "Run SSE" and returns what the emulator received.
    QStringList runSse();

    XSession x;
    SseFolder sse;
    QProcess *kivo = nullptr;
    QString mainWindow;
    qsizetype launches = 0;
};

bool TestE2eKill::start()
{
    mainWindow = sse.startKivo(x, &kivo);
    return !mainWindow.isEmpty();
}

bool TestE2eKill::killOnceStored(const QString &key, const QString &value)
{
    const bool stored = QTest::qWaitFor([&] { return sse.setting(key) == value; }, patience);
    kivo->kill();
    kivo->waitForFinished();
    return stored && x.waitUntilGone(mainWindowName, patience);
}

QStringList TestE2eKill::runSse()
{
    if (!x.focusAndKey(mainWindow, {QStringLiteral("space")}) ||
        !QTest::qWaitFor([&] { return sse.emulatorLog().size() > launches; }, patience))
        return {QStringLiteral("no launch: ") + x.error()};
    return argumentsOf(sse.emulatorLog().at(launches++));
}

void TestE2eKill::everyChoiceSurvivesAKill()
{
    QVERIFY2(x.start(), qPrintable(x.error()));
    QVERIFY(sse.isValid());
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + saturnBios, "Saturn BIOS"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + stvBios, "ST-V BIOS"));
    // Both BIOS files were chosen in an earlier run.
    QVERIFY(sse.writeSettings({{QStringLiteral("Last Folders/text3"), saturnBios},
                               {QStringLiteral("Last Folders/text3tag"), saturnBios},
                               {QStringLiteral("Last Folders/text4"), stvBios},
                               {QStringLiteral("Last Folders/text4tag"), stvBios}}));
    const QString tab = QStringLiteral("Tab");
    const QString backTab = QStringLiteral("shift+Tab");
    const QString down = QStringLiteral("Down");
    const QString space = QStringLiteral("space");

    // First run: the emulator prepares itself; killed with the box still up.
    QVERIFY2(start(), qPrintable(x.error()));
    QCOMPARE(runSse(), QStringList{QStringLiteral("-resetcfg")});
    QVERIFY2(killOnceStored(QStringLiteral("firstrun"), QStringLiteral("no")),
             qPrintable(x.error()));

    // A header handed over by the picker ("Select Header" is two steps on
    // from "Run SSE"; the picker's file list two steps on from OK).
    QVERIFY2(start(), qPrintable(x.error()));
    QVERIFY2(x.focusAndKey(mainWindow, {tab, tab, space}), qPrintable(x.error()));
    const QStringList picker = x.waitForWindows(pickerName, patience);
    QVERIFY2(picker.size() == 1, qPrintable(x.error()));
    QVERIFY2(x.focusAndKey(picker.first(), {tab, tab, down, QStringLiteral("Return")}),
             qPrintable(x.error()));
    QVERIFY2(killOnceStored(QStringLiteral("Last Folders/text1tag"), header),
             qPrintable(x.error()));

    // Both came back: the press starts the game, not the preparation, and
    // no box asks for a header. Then "Disable Math DSP Emulation" is ticked.
    QVERIFY2(start(), qPrintable(x.error()));
    QCOMPARE(runSse(), saturnArguments(header, saturnBios, words("-res 640 480 -stretch 0")));
    QVERIFY2(x.waitUntilGone(boxName, 1000), qPrintable(x.error()));
    QVERIFY2(x.focusAndKey(mainWindow, repeated(tab, 8) + QStringList{space}),
             qPrintable(x.error()));
    QVERIFY2(killOnceStored(QStringLiteral("opz4"), QStringLiteral("1")), qPrintable(x.error()));

    // The box is still ticked; then a list: an ST-V game, which also
    // selects the ST-V system.
    QVERIFY2(start(), qPrintable(x.error()));
    const QStringList tail = words("-res 640 480 -stretch 0 -nodsp");
    QCOMPARE(runSse(), saturnArguments(header, saturnBios, tail));
    QVERIFY2(x.focusAndKey(mainWindow, repeated(backTab, 4) + QStringList{down, down}),
             qPrintable(x.error()));
    QVERIFY2(killOnceStored(QStringLiteral("system-stv"), QStringLiteral("True")),
             qPrintable(x.error()));
    QCOMPARE(sse.setting(QStringLiteral("stvrom")), QStringLiteral("1"));

    // ST-V and its game came back; then the system alone, back to Saturn.
    QVERIFY2(start(), qPrintable(x.error()));
    QCOMPARE(runSse(), words("-g astrass -b") + QStringList{stvBios} + tail);
    // "Saturn", the first step from "Run SSE", with the blank key.
    QVERIFY2(x.focusAndKey(mainWindow, {tab, space}), qPrintable(x.error()));
    QVERIFY2(killOnceStored(QStringLiteral("system-sat"), QStringLiteral("True")),
             qPrintable(x.error()));

    QVERIFY2(start(), qPrintable(x.error()));
    QCOMPARE(runSse(), saturnArguments(header, saturnBios, tail));
    QCOMPARE(sse.setting(QStringLiteral("system-stv")), QStringLiteral("False"));
    QCOMPARE(sse.setting(QStringLiteral("stvrom")), QStringLiteral("1"));
    QCOMPARE(kivo->state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(TestE2eKill)
#include "test_e2e_kill.moc"

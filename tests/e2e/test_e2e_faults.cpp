// The real kivo on a private X server, pressed as a screen reader would
// press it: a second Browse while the picker is open, and a backup switch
// whose file was taken away.

#include "screenreader.h"
#include "ssefolder.h"

#include <QtTest>

namespace
{

const QString header = QStringLiteral("game.sgh");
const QString bios = QStringLiteral("saturn bios.bin");
const QString internalBackup = QStringLiteral("intback.bin");
const QString mainWindowTitle = QStringLiteral("KIVO - Olvar's SSE Frontend 0.2");
const QString button = QStringLiteral("push button");

} // namespace

class TestE2eFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aSecondBrowseMakesAFreshPicker();
    void aBackupSwitchWithoutItsFile();

private:
    // Starts kivo and finds its main window as a screen reader sees it.
    bool start();
    // Presses the nth button of that name in the frame of that name.
    bool press(const QString &frame, const QString &name, int nth = 0);
    // Presses "Run SSE" and waits for the emulator's next log entry.
    bool run(QStringList *arguments);

    XSession x;
    SseFolder sse;
    ScreenReader reader;
    QProcess *kivo = nullptr;
    QString mainWindow;
    ScreenReader::Node window;
};

void TestE2eFaults::initTestCase()
{
    QVERIFY2(x.start(), qPrintable(x.error()));
    QVERIFY2(reader.connect(x.sessionBus()), qPrintable(reader.error()));
    QVERIFY(sse.isValid());
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + bios, "Saturn BIOS"));
    QVERIFY(sse.addDemoFile(internalBackup, "internal backup"));
    QVERIFY(sse.addDemoFile(QStringLiteral("sse.cfg"), "emulator configuration"));
}

bool TestE2eFaults::start()
{
    if (kivo) {
        kivo->kill();
        kivo->waitForFinished();
        if (!x.waitUntilGone(mainWindowName, patience))
            return false;
    }
    mainWindow = sse.startKivo(x, &kivo);
    const std::optional<ScreenReader::Node> program =
        mainWindow.isEmpty() ? std::nullopt : reader.application(QStringLiteral("KIVO"), patience);
    const std::optional<ScreenReader::Node> found =
        program ? reader.find(*program, QStringLiteral("frame"), mainWindowTitle) : std::nullopt;
    if (found)
        window = *found;
    return found.has_value();
}

bool TestE2eFaults::press(const QString &frame, const QString &name, int nth)
{
    const std::optional<ScreenReader::Node> panel =
        reader.find(window, QStringLiteral("panel"), frame);
    const QList<ScreenReader::Node> buttons =
        panel ? reader.findAll(*panel, button, name) : QList<ScreenReader::Node>();
    return nth < buttons.size() && reader.press(buttons.at(nth));
}

bool TestE2eFaults::run(QStringList *arguments)
{
    const qsizetype before = sse.emulatorLog().size();
    const std::optional<ScreenReader::Node> runButton =
        reader.find(window, button, QStringLiteral("Run SSE"));
    if (!runButton || !reader.press(*runButton) ||
        !QTest::qWaitFor([&] { return sse.emulatorLog().size() > before; }, patience))
        return false;
    *arguments = argumentsOf(sse.emulatorLog().last());
    return true;
}

// A Browse while the picker is open gives the picker of the new request,
// whose choice is the one handed over.
void TestE2eFaults::aSecondBrowseMakesAFreshPicker()
{
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")},
                               {QStringLiteral("Last Folders/text1"), header},
                               {QStringLiteral("Last Folders/text1tag"), header}}));
    QVERIFY2(start(), qPrintable(x.error() + reader.error()));

    // Header, then SSE folder: the folder picker opens in the headers
    // folder, shows its folders, and one level up is the SSE folder.
    QVERIFY2(press(QStringLiteral("System and Game"), QStringLiteral("Select Header")),
             qPrintable(reader.error()));
    QVERIFY2(x.waitForWindows(pickerName, patience).size() == 1, qPrintable(x.error()));
    QVERIFY2(press(QStringLiteral("Emulator Path"), QStringLiteral("Browse")),
             qPrintable(reader.error()));
    // The picker opens with "Ok" focused; the folder list is three Tabs on.
    QTest::qWait(500);
    QVERIFY2(inPicker(x, repeated(QStringLiteral("Tab"), 3) + QStringList{QStringLiteral("Up"),
                                                                          QStringLiteral("Return"),
                                                                          QStringLiteral("alt+o")}),
             qPrintable(x.error()));
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text7")), sse.path());
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text7tag")), sse.path());

    // SSE folder, then Saturn BIOS: a file picker of the bios folder.
    QVERIFY2(press(QStringLiteral("Emulator Path"), QStringLiteral("Browse")),
             qPrintable(reader.error()));
    QVERIFY2(x.waitForWindows(pickerName, patience).size() == 1, qPrintable(x.error()));
    QVERIFY2(press(QStringLiteral("Bios"), QStringLiteral("Browse")), qPrintable(reader.error()));
    // In a file request, the file list comes right after "Cancel".
    QTest::qWait(500);
    QVERIFY2(inPicker(x, {QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Down"),
                          QStringLiteral("alt+o")}),
             qPrintable(x.error()));
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text3")), bios);

    QStringList arguments;
    QVERIFY(run(&arguments));
    QCOMPARE(arguments, saturnArguments(header, bios, words("-res 640 480 -stretch 0")));
}

// Confirming the backup's picker with no file leaves the switch without a
// file: the emulator is not told "-br", and the switch can be cleared.
void TestE2eFaults::aBackupSwitchWithoutItsFile()
{
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")},
                               {QStringLiteral("opz1"), QStringLiteral("1")},
                               {QStringLiteral("opz6"), QStringLiteral("1")},
                               {QStringLiteral("Last Folders/text1"), header},
                               {QStringLiteral("Last Folders/text1tag"), header},
                               {QStringLiteral("Last Folders/text3"), bios},
                               {QStringLiteral("Last Folders/text3tag"), bios},
                               {QStringLiteral("Last Folders/text5"), internalBackup},
                               {QStringLiteral("Last Folders/text5tag"), internalBackup},
                               {QStringLiteral("Last Folders/text7"), sse.path()},
                               {QStringLiteral("Last Folders/text7tag"), sse.path()}}));
    QVERIFY2(start(), qPrintable(x.error() + reader.error()));
    QStringList arguments;
    QVERIFY(run(&arguments));
    QVERIFY(arguments.contains(internalBackup));

    QVERIFY2(press(QStringLiteral("Advanced Settings"), QStringLiteral("Browse")),
             qPrintable(reader.error()));
    QVERIFY2(inPicker(x, {QStringLiteral("alt+o")}), qPrintable(x.error()));
    QCOMPARE(sse.setting(QStringLiteral("Last Folders/text5tag")), QString());
    QVERIFY(run(&arguments));
    QCOMPARE(arguments, saturnArguments(header, bios, words("-res 640 480 -stretch 0 -log")));

    // After a new start the switch is still on, and can be cleared.
    QVERIFY2(start(), qPrintable(x.error() + reader.error()));
    const std::optional<ScreenReader::Node> backup =
        reader.find(window, QStringLiteral("check box"), QStringLiteral("Internal Backup:"));
    QVERIFY2(backup && reader.press(*backup), qPrintable(reader.error()));
    QVERIFY(QTest::qWaitFor([&] { return sse.setting(QStringLiteral("opz1")) == u"0"; }, patience));
}

QTEST_GUILESS_MAIN(TestE2eFaults)
#include "test_e2e_faults.moc"

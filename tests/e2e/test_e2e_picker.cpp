// The real kivo in a real SSE folder on a private X server: a whole
// configuration made through the picker alone, with the keyboard and the
// mouse (SSE folder, header, both BIOS files, both backup files), then
// "Run SSE", and what the stand-in emulator received.

#include "ssefolder.h"

#include <QFile>
#include <QJsonArray>
#include <QtTest>

namespace
{

// Blanks, quotes, shell characters, a backslash and letters beyond ASCII:
// each must reach the emulator as it is, as one argument, and run nothing.
const QString header = QStringLiteral("my \"game\" $(touch pwned); x \\ é.sgh");
const QString otherHeader = QStringLiteral("other.sgh");
const QString saturnBios = QStringLiteral("Saturn BIOS 'v1' ; $HOME é.bin");
const QString stvBios = QStringLiteral("ST-V bios `id`.bin");
const QString cartridge = QStringLiteral("cart 'ï'.bin");
const QString internalBackup = QStringLiteral("int back $(x);.bin");

} // namespace

class TestE2ePicker : public QObject
{
    Q_OBJECT

private slots:
    void wholeConfigurationThroughThePicker();

private:
    // Double-clicks the first file of a file request's list.
    bool doubleClickFirstFile(XSession &x);
};

bool TestE2ePicker::doubleClickFirstFile(XSession &x)
{
    const QStringList picker = x.waitForWindows(pickerName, patience);
    if (picker.size() != 1 || !x.focus(picker.first()))
        return false;
    // The file list spans the window from the top of the folder list's
    // place, 480 twips (32 pixels) down; its first row lies just below.
    const XSession::Result clicked =
        x.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), picker.first(),
                   QStringLiteral("40"), QStringLiteral("42"), QStringLiteral("click"),
                   QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("--delay"),
                   QStringLiteral("80"), QStringLiteral("1")});
    return clicked.ok() && x.waitUntilGone(pickerName, patience);
}

void TestE2ePicker::wholeConfigurationThroughThePicker()
{
    XSession x;
    QVERIFY2(x.start(), qPrintable(x.error()));

    SseFolder sse;
    QVERIFY(sse.isValid() && sse.enter(QStringLiteral("SSE folder é")));
    const QString sseFolder = sse.path();
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + otherHeader, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + saturnBios, "Saturn BIOS"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + stvBios, "ST-V BIOS"));
    QVERIFY(sse.addDemoFile(cartridge, "backup cartridge"));
    QVERIFY(sse.addDemoFile(internalBackup, "internal backup"));
    // The emulator has been prepared before; the store knows nothing else.
    QVERIFY(sse.addDemoFile(QStringLiteral("sse.cfg"), "emulator configuration"));
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")}}));
    const auto stored = [&](const QString &key) {
        return sse.setting(QStringLiteral("Last Folders/") + key);
    };

    // Started from the folder above: the program finds its own folder all the same.
    QProcess *kivo = nullptr;
    const QString mainWindow = sse.startKivo(x, &kivo, sse.top());
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));
    const auto inMainWindow = [&](const QStringList &typed) {
        return x.focusAndKey(mainWindow, typed);
    };
    const QString tab = QStringLiteral("Tab");
    const QString space = QStringLiteral("space");
    const QString down = QStringLiteral("Down");
    const QString enter = QStringLiteral("Return");

    // "Run SSE" has the focus; "Select Header" is two steps on. In the
    // picker, OK has the focus and the file list is two steps on.
    QVERIFY2(inMainWindow({tab, tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, enter}), qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text1tag")), header);
    // Confirmed by Enter: the last place is not saved.
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), QString());

    // Saturn BIOS, by a double-click on the first file.
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(doubleClickFirstFile(x), qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text3tag")), saturnBios);
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sseFolder + QStringLiteral("/bios"));

    // ST-V BIOS, the second file of the same folder.
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, down, enter}), qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text4tag")), stvBios);

    // Backup cartridge, past the two backup switches, still disabled.
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, enter}), qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text6tag")), cartridge);

    // The SSE folder. The saved last place wins over the one of this run,
    // so the folder list shows "bios": up to the folder above, and "&Ok".
    QVERIFY2(inMainWindow(repeated(tab, 6) + QStringList{space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, tab, QStringLiteral("Up"), enter, QStringLiteral("alt+o")}),
             qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text7")), sseFolder);
    QCOMPARE(stored(QStringLiteral("text7tag")), sseFolder);
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sseFolder);
    QVERIFY(stored(QStringLiteral("load-lastdrive1")).startsWith(u'/'));

    // Internal backup, the second file of the SSE folder.
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, down, enter}), qPrintable(x.error()));
    QCOMPARE(stored(QStringLiteral("text5tag")), internalBackup);

    // Both backup switches on, then back to "Run SSE" and press it.
    const QString backTab = QStringLiteral("shift+Tab");
    QVERIFY2(inMainWindow(repeated(backTab, 8) + QStringList{space, backTab, space} +
                          repeated(backTab, 5) + QStringList{space}),
             qPrintable(x.error()));

    QVERIFY(QTest::qWaitFor([&] { return sse.emulatorLog().size() >= 1; }, patience));
    const QList<QJsonObject> log = sse.emulatorLog();
    QCOMPARE(log.size(), 1);
    QCOMPARE(argumentsOf(log.at(0)),
             saturnArguments(header, saturnBios,
                             words("-res 640 480 -stretch 0 -br") +
                                 QStringList{internalBackup, QStringLiteral("-bc"), cartridge}));
    QCOMPARE(log.at(0).value(u"cwd").toString(), sseFolder);
    QCOMPARE(log.at(0).value(u"problems").toArray(), QJsonArray());
    QVERIFY(log.at(0).value(u"accepted").toBool());
    QVERIFY(!QFile::exists(sse.filePath(QStringLiteral("pwned"))));
    QVERIFY(!QFile::exists(sse.filePath(QStringLiteral("headers/pwned"))));
    QCOMPARE(kivo->state(), QProcess::Running);

    // Every displayed text is the chosen name, as the store shows.
    QCOMPARE(stored(QStringLiteral("text1")), header);
    QCOMPARE(stored(QStringLiteral("text3")), saturnBios);
    QCOMPARE(stored(QStringLiteral("text4")), stvBios);
    QCOMPARE(stored(QStringLiteral("text5")), internalBackup);
    QCOMPARE(stored(QStringLiteral("text6")), cartridge);
    QCOMPARE(sse.setting(QStringLiteral("opz1")), QStringLiteral("1"));
    QCOMPARE(sse.setting(QStringLiteral("opz2")), QStringLiteral("1"));
    QCOMPARE(sse.setting(QStringLiteral("system-sat")), QStringLiteral("True"));
}

QTEST_GUILESS_MAIN(TestE2ePicker)
#include "test_e2e_picker.moc"

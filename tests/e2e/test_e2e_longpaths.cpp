// The real kivo in an SSE folder more than 4,000 characters deep, a little
// below the system's limit for a path: the header, the BIOS, the SSE folder
// and a backup file chosen with the picker, the emulator started there with
// them, and all of it again after a new start.

#include "ssefolder.h"

#include <QDir>
#include <QtTest>

namespace
{

const QString header = QStringLiteral("long path game.sgh");
const QString bios = QStringLiteral("long path bios.bin");
const QString backup = QStringLiteral("cart.bin");
// Linux refuses paths of 4,096 bytes and more, the final NUL included.
constexpr int deepest = 4095;

} // namespace

class TestE2eLongPaths : public QObject
{
    Q_OBJECT

private slots:
    void anSseFolderOverFourThousandCharactersDeep();

private:
    XSession x;
};

void TestE2eLongPaths::anSseFolderOverFourThousandCharactersDeep()
{
    QVERIFY2(x.start(), qPrintable(x.error()));
    SseFolder sse;
    QVERIFY(sse.isValid());

    // Nested folders of 200 characters each, blanks included.
    for (int level = 1; sse.path().size() <= 4000; ++level) {
        const QString name = QStringLiteral("level %1 ").arg(level, 2, 10, QLatin1Char('0'));
        QVERIFY(sse.enter(name + QString(199 - name.size(), QLatin1Char('x'))));
    }
    const QString sseFolder = sse.path();
    const QString longest = sse.filePath(QStringLiteral("bios/") + bios);
    QVERIFY2(longest.size() < deepest, qPrintable(QString::number(longest.size())));
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + bios, "Saturn BIOS"));
    QVERIFY(sse.addDemoFile(backup, "backup cartridge"));
    QVERIFY(sse.addDemoFile(QStringLiteral("sse.cfg"), "emulator configuration"));
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")}}));

    QProcess *kivo = nullptr;
    QString mainWindow = sse.startKivo(x, &kivo);
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));
    const auto inMainWindow = [&](const QStringList &typed) {
        return x.focusAndKey(mainWindow, typed);
    };
    const QString tab = QStringLiteral("Tab");
    const QString backTab = QStringLiteral("shift+Tab");
    const QString space = QStringLiteral("space");
    const QString down = QStringLiteral("Down");
    const QString enter = QStringLiteral("Return");

    // Header and BIOS, the first file of each folder.
    QVERIFY2(inMainWindow({tab, tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, enter}), qPrintable(x.error()));
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, enter}), qPrintable(x.error()));

    // The SSE folder: from "bios" up one, and OK.
    QVERIFY2(inMainWindow(repeated(tab, 8) + QStringList{space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, tab, QStringLiteral("Up"), enter, QStringLiteral("alt+o")}),
             qPrintable(x.error()));

    // The internal backup, the first file there, then its switch, and "Run SSE".
    QVERIFY2(inMainWindow({tab, space}), qPrintable(x.error()));
    QVERIFY2(inPicker(x, {tab, tab, down, enter}), qPrintable(x.error()));
    QVERIFY2(inMainWindow(repeated(backTab, 8) + QStringList{space} + repeated(backTab, 5) +
                          QStringList{space}),
             qPrintable(x.error()));

    const QStringList expected =
        saturnArguments(header, bios, words("-res 640 480 -stretch 0 -br") + QStringList{backup});
    QVERIFY(QTest::qWaitFor([&] { return sse.emulatorLog().size() == 1; }, patience));
    QCOMPARE(argumentsOf(sse.emulatorLog().at(0)), expected);
    QCOMPARE(sse.emulatorLog().at(0).value(u"cwd").toString(), sseFolder);
    QVERIFY(sse.emulatorLog().at(0).value(u"accepted").toBool());

    const auto stored = [&](const QString &key) {
        return sse.setting(QStringLiteral("Last Folders/") + key);
    };
    QCOMPARE(stored(QStringLiteral("text7")), sseFolder);
    QCOMPARE(stored(QStringLiteral("text7tag")), sseFolder);
    QCOMPARE(stored(QStringLiteral("load-lastdir1")), sseFolder);
    QCOMPARE(stored(QStringLiteral("text1tag")), header);
    QCOMPARE(stored(QStringLiteral("text3tag")), bios);
    QCOMPARE(stored(QStringLiteral("text5tag")), backup);

    // A new start finds itself in the folder it saved, and starts the same.
    kivo->kill();
    kivo->waitForFinished();
    QVERIFY2(x.waitUntilGone(mainWindowName, patience), qPrintable(x.error()));
    mainWindow = sse.startKivo(x);
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));
    QVERIFY2(inMainWindow({space}), qPrintable(x.error()));
    QVERIFY(QTest::qWaitFor([&] { return sse.emulatorLog().size() == 2; }, patience));
    QCOMPARE(argumentsOf(sse.emulatorLog().at(1)), expected);
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));
}

QTEST_GUILESS_MAIN(TestE2eLongPaths)
#include "test_e2e_longpaths.moc"

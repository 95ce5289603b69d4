// The real kivo pressing "Run SSE" when sse.exe is a Windows program and
// the real Wine is on the PATH, under a locale that is not UTF-8. The
// program is a recorder built with mingw: it writes down what Windows handed
// it. Without wine or mingw this test is skipped.

#include "mainwindow/wine.h"
#include "ssefolder.h"

#include <QFile>
#include <QJsonArray>
#include <QStandardPaths>
#include <QtTest>

#include <cstdio>

namespace
{

// SKIP_RETURN_CODE in tests/CMakeLists.txt.
constexpr int skipped = 77;
// A first start of Wine creates its prefix, which takes a while.
constexpr int winePatience = 180000;
const QString header = QStringLiteral("ゲーム 'x'.sgh");
// No '"': Windows forbids it in file names, and Wine shows such a file only
// under a made-up short name, so no Windows program opens it by its name.
const QString bios = QStringLiteral("Saturn BIOS 'JP';é.bin");
const QString recorder64 = QStringLiteral(RECORDER64);
const QString recorder32 = QStringLiteral(RECORDER32);

// How a Windows program sees a path of this machine: Wine's drive Z: is /.
QString windowsPath(const QString &path)
{
    return QStringLiteral("Z:") + QString(path).replace(u'/', u'\\');
}

} // namespace

class TestE2eRealWine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aWindowsProgramGetsItsArgumentsUnchanged();
    void a32BitProgramRunsOnlyWhereWineCan();

private:
    // Makes the recorder sse.exe and presses "Run SSE".
    bool runRecorder(const QString &recorder);
    QString log() const { return sse.filePath(QStringLiteral("recorder.log")); }

    QTemporaryDir home;
    XSession x;
    SseFolder sse;
    QProcess *kivo = nullptr;
    QString mainWindow;
};

void TestE2eRealWine::initTestCase()
{
    QVERIFY(home.isValid() && sse.isValid());
    // Wine's prefix, and whatever else it would write into the home folder,
    // stay in the test's own folder; no prompt to install Mono or Gecko.
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("WINEPREFIX", QFile::encodeName(home.filePath(QStringLiteral("prefix"))));
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    qputenv("LANG", "C");
    qunsetenv("LC_ALL");
    qunsetenv("LC_CTYPE");

    QVERIFY2(x.start(), qPrintable(x.error()));
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
    mainWindow = sse.startKivo(x, &kivo);
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));
}

void TestE2eRealWine::cleanupTestCase()
{
    // Wine leaves its server and services running on the prefix for a while.
    const QString wineserver = QStandardPaths::findExecutable(QStringLiteral("wineserver"));
    if (!wineserver.isEmpty()) {
        QProcess::execute(wineserver, {QStringLiteral("-k")});
        QProcess::execute(wineserver, {QStringLiteral("-w")});
    }
}

bool TestE2eRealWine::runRecorder(const QString &recorder)
{
    const QString exe = sse.filePath(QStringLiteral("sse.exe"));
    QFile::remove(exe);
    QFile::remove(log());
    return sse.addProgram(recorder, QStringLiteral("sse.exe")) &&
           x.focusAndKey(mainWindow, {QStringLiteral("space")});
}

void TestE2eRealWine::aWindowsProgramGetsItsArgumentsUnchanged()
{
    QVERIFY2(runRecorder(recorder64), qPrintable(x.error()));
    QVERIFY(QTest::qWaitFor([&] { return !readLog(log()).isEmpty(); }, winePatience));
    const QList<QJsonObject> entries = readLog(log());
    QCOMPARE(entries.size(), 1);
    const QJsonObject &run = entries.first();
    QCOMPARE(argumentsOf(run), saturnArguments(header, bios, words("-res 640 480 -stretch 0")));
    QCOMPARE(run.value(u"program").toString(),
             windowsPath(sse.filePath(QStringLiteral("sse.exe"))));
    QCOMPARE(run.value(u"cwd").toString(), windowsPath(sse.path()));
    // The emulator finds the header and the BIOS by the names it was given.
    const QJsonArray foundIn = run.value(u"foundIn").toArray();
    QCOMPARE(foundIn.at(0).toString(), QStringLiteral("headers"));
    QCOMPARE(foundIn.at(4).toString(), QStringLiteral("bios"));
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));
    QCOMPARE(kivo->state(), QProcess::Running);
}

void TestE2eRealWine::a32BitProgramRunsOnlyWhereWineCan()
{
    const kivo::InstalledWine wine;
    QVERIFY2(runRecorder(recorder32), qPrintable(x.error()));
    if (wine.runs32Bit(wine.program())) {
        QVERIFY(QTest::qWaitFor([&] { return !readLog(log()).isEmpty(); }, winePatience));
        QCOMPARE(argumentsOf(readLog(log()).first()),
                 saturnArguments(header, bios, words("-res 640 480 -stretch 0")));
        return;
    }
    // Wine would fail without a word: KIVO says why instead, and stays.
    const QStringList box = x.waitForWindows(QStringLiteral("^Error$"), patience);
    QCOMPARE(box.size(), 1);
    QVERIFY2(x.focusAndKey(box.first(), {QStringLiteral("Return")}), qPrintable(x.error()));
    QVERIFY2(x.waitUntilGone(QStringLiteral("^Error$"), patience), qPrintable(x.error()));
    QCOMPARE(kivo->state(), QProcess::Running);
    QVERIFY(!QFile::exists(log()));
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const char *skip = nullptr;
    if (QStandardPaths::findExecutable(QStringLiteral("wine")).isEmpty())
        skip = "wine is not on the PATH";
    else if (recorder64.isEmpty() || recorder32.isEmpty())
        skip = "recorder64.exe and recorder32.exe were not built (mingw-w64 not found)";
    if (skip) {
        std::printf("Skipped: %s\n", skip);
        return skipped;
    }
    TestE2eRealWine test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_e2e_realwine.moc"

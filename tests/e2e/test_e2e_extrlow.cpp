// The real kivo in an SSE folder on a private X server: the launcher is
// opened from the Extra menu with the keyboard, a header name with a blank
// is typed, and the stand-in extrlow.exe makes the header file.

#include "ssefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QtTest>

namespace
{

const QString launcherName = QStringLiteral("^Extra: extrlow Windows Launcher$");

} // namespace

class TestE2eExtrlow : public QObject
{
    Q_OBJECT

private slots:
    void extractAHeaderFromTheExtraMenu();
};

void TestE2eExtrlow::extractAHeaderFromTheExtraMenu()
{
    XSession x;
    QVERIFY2(x.start(), qPrintable(x.error()));

    SseFolder sse;
    QVERIFY(sse.isValid());
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(EXTRLOW_STANDIN_BINARY), QStringLiteral("extrlow.exe")));
    QVERIFY(QDir(sse.path()).mkdir(QStringLiteral("headers")));

    // Nothing saved: the SSE folder is the program's own, so the check passes.
    QProcess *kivo = nullptr;
    const QString mainWindow = sse.startKivo(x, &kivo);
    QVERIFY2(!mainWindow.isEmpty(), qPrintable(x.error()));

    // Extra menu, then its launcher item, by their access keys.
    QVERIFY2(x.focusAndKey(mainWindow, {QStringLiteral("alt+e")}), qPrintable(x.error()));
    QVERIFY2(x.key({QStringLiteral("e")}), qPrintable(x.error()));
    const QStringList launcher = x.waitForWindows(launcherName, patience);
    QVERIFY2(launcher.size() == 1, qPrintable(x.error()));

    // The name box has the focus; "&Extract Header" answers to Alt+E.
    const QString name = QStringLiteral("my game");
    QVERIFY2(x.focusAndKey(launcher.first(), keysFor(name)), qPrintable(x.error()));
    QVERIFY2(x.key({QStringLiteral("alt+e")}), qPrintable(x.error()));

    const QString logPath = sse.filePath(QStringLiteral("extrlow-standin.log"));
    const QString headerPath = sse.filePath(QStringLiteral("headers/my game.sgh"));
    QVERIFY(QTest::qWaitFor(
        [&] { return readLog(logPath).size() >= 1 && QFileInfo(headerPath).size() == 32768; },
        patience));
    const QList<QJsonObject> log = readLog(logPath);
    QCOMPARE(log.size(), 1);
    QCOMPARE(argumentsOf(log.first()), QStringList{QStringLiteral("my game.sgh")});
    QCOMPARE(log.first().value(u"cwd").toString(), sse.path());
    QCOMPARE(QDir(sse.filePath(QStringLiteral("headers"))).entryList(QDir::Files),
             QStringList{QStringLiteral("my game.sgh")});

    // Nothing closed, and no box came up.
    QCOMPARE(kivo->state(), QProcess::Running);
    QCOMPARE(x.waitForWindows(launcherName, patience).size(), 1);
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));
}

QTEST_GUILESS_MAIN(TestE2eExtrlow)
#include "test_e2e_extrlow.moc"

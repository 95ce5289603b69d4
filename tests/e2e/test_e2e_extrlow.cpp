// The real kivo in an SSE folder on a private X server: the launcher is
// opened from the Extra menu with the keyboard, a header name with a blank
// is typed, and the stand-in extrlow.exe makes the header file.

#include "ssefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace
{

const QString mainWindowName = QStringLiteral("^KIVO - ");
const QString launcherName = QStringLiteral("^Extra: extrlow Windows Launcher$");
constexpr int patience = 10000;

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

    QTemporaryDir sseTemp;
    QTemporaryDir configHome;
    QVERIFY(sseTemp.isValid() && configHome.isValid());
    const QString sseFolder = QFileInfo(sseTemp.path()).canonicalFilePath();
    const QDir sse(sseFolder);
    QVERIFY(copyProgram(QStringLiteral(KIVO_BINARY), sse.filePath(QStringLiteral("kivo"))));
    QVERIFY(copyProgram(QStringLiteral(EXTRLOW_STANDIN_BINARY),
                        sse.filePath(QStringLiteral("extrlow.exe"))));
    QVERIFY(sse.mkdir(QStringLiteral("headers")));

    // Nothing saved: the SSE folder is the program's own, so the check passes.
    QProcessEnvironment environment = x.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome.path());
    QProcess *kivo = x.launch(sse.filePath(QStringLiteral("kivo")), {}, sseFolder, environment);
    QVERIFY2(kivo, qPrintable(x.error()));
    const QStringList mainWindow = x.waitForWindows(mainWindowName, patience);
    QVERIFY2(mainWindow.size() == 1, qPrintable(x.error()));

    // Extra menu, then its launcher item, by their access keys.
    QVERIFY2(x.focusAndKey(mainWindow.first(), {QStringLiteral("alt+e")}), qPrintable(x.error()));
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
    QStringList arguments;
    for (const QJsonValue &argument : log.first().value(u"arguments").toArray())
        arguments.append(argument.toString());
    QCOMPARE(arguments, QStringList{QStringLiteral("my game.sgh")});
    QCOMPARE(log.first().value(u"cwd").toString(), sseFolder);
    QCOMPARE(QDir(sse.filePath(QStringLiteral("headers"))).entryList(QDir::Files),
             QStringList{QStringLiteral("my game.sgh")});

    // Nothing closed, and no box came up.
    QCOMPARE(kivo->state(), QProcess::Running);
    QCOMPARE(x.waitForWindows(launcherName, patience).size(), 1);
    QVERIFY2(x.waitUntilGone(QStringLiteral("^(KIVO|Error)$"), 1000), qPrintable(x.error()));
}

QTEST_GUILESS_MAIN(TestE2eExtrlow)
#include "test_e2e_extrlow.moc"

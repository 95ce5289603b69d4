// The real kivo run by an ordinary user whose settings folder it may read
// but not write: it shows the saved configuration, takes new choices for
// the run, starts the emulator with them, and shows no error. Root ignores
// permissions, so as root the program runs as the user "nobody".

#include "ssefolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

#include <unistd.h>

namespace
{

const QString header = QStringLiteral("game.sgh");
const QString bios = QStringLiteral("saturn bios.bin");
const QString boxName = QStringLiteral("^(KIVO|Error)$");
constexpr uid_t nobody = 65534;

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class TestE2eReadOnlySettings : public QObject
{
    Q_OBJECT

private slots:
    void aSettingsFolderThatCannotBeWritten();
};

void TestE2eReadOnlySettings::aSettingsFolderThatCannotBeWritten()
{
    XSession x;
    QVERIFY2(x.start(), qPrintable(x.error()));
    const bool asRoot = ::geteuid() == 0;
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    QVERIFY2(!asRoot || !setpriv.isEmpty(), "setpriv not found (Debian package util-linux)");

    SseFolder sse;
    QTemporaryDir runtime;
    QVERIFY(sse.isValid() && runtime.isValid());
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));
    QVERIFY(sse.addProgram(QStringLiteral(SSE_STANDIN_BINARY), QStringLiteral("sse.exe")));
    QVERIFY(sse.addDemoFile(QStringLiteral("headers/") + header, "Saturn game header"));
    QVERIFY(sse.addDemoFile(QStringLiteral("bios/") + bios, "Saturn BIOS"));
    QVERIFY(sse.addDemoFile(QStringLiteral("sse.cfg"), "emulator configuration"));

    const QString ini = sse.iniPath();
    const QString kivoFolder = QFileInfo(ini).path();
    const QString configHome = QFileInfo(kivoFolder).path();
    QVERIFY(sse.writeSettings({{QStringLiteral("firstrun"), QStringLiteral("no")},
                               {QStringLiteral("opz4"), QStringLiteral("1")},
                               {QStringLiteral("res"), QStringLiteral("1")},
                               {QStringLiteral("Last Folders/text1"), header},
                               {QStringLiteral("Last Folders/text1tag"), header},
                               {QStringLiteral("Last Folders/text3"), bios},
                               {QStringLiteral("Last Folders/text3tag"), bios}}));
    const QByteArray before = contentOf(ini);

    // Everyone may read and enter; nobody may write the settings. The SSE
    // folder stays writable: the stand-in emulator keeps its log there.
    const auto readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto write = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    QVERIFY(QFile::setPermissions(ini, readOnly));
    for (const QString &folder : {kivoFolder, configHome})
        QVERIFY(QFile::setPermissions(folder, readOnly | enter));
    QVERIFY(QFile::setPermissions(sse.path(), readOnly | enter | write));
    for (const QString &program : {QStringLiteral("kivo"), QStringLiteral("sse.exe")})
        QVERIFY(QFile::setPermissions(sse.filePath(program), readOnly | enter | QFile::WriteOwner));
    for (const QString &folder : {QStringLiteral("headers"), QStringLiteral("bios")})
        QVERIFY(QFile::setPermissions(sse.filePath(folder), readOnly | enter | QFile::WriteOwner));
    if (asRoot)
        QVERIFY(::chown(QFile::encodeName(runtime.path()).constData(), nobody, nobody) == 0);

    QProcessEnvironment environment = x.environment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("HOME"), configHome);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("SSE_STANDIN_NO_WINDOW"), QStringLiteral("1"));
    const QString kivoPath = sse.filePath(QStringLiteral("kivo"));
    QProcess *kivo =
        asRoot ? x.launch(setpriv,
                          {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                           QStringLiteral("--clear-groups"), kivoPath},
                          sse.path(), environment)
               : x.launch(kivoPath, {}, sse.path(), environment);
    QVERIFY2(kivo, qPrintable(x.error()));
    const QStringList mainWindow = x.waitForWindows(mainWindowName, patience);
    QVERIFY2(mainWindow.size() == 1, qPrintable(x.error()));

    const QString logPath = sse.filePath(QStringLiteral("sse-standin.log"));
    const auto runSse = [&](int launch) {
        if (!x.focusAndKey(mainWindow.first(), {QStringLiteral("space")}) ||
            !QTest::qWaitFor([&] { return readLog(logPath).size() > launch; }, patience))
            return QStringList{QStringLiteral("no launch: ") + x.error()};
        return argumentsOf(readLog(logPath).at(launch));
    };
    const QStringList start = saturnArguments(header, bios, words("-res 800 600 -stretch"));

    // The saved configuration is shown and used.
    QCOMPARE(runSse(0), start + QStringList({QStringLiteral("0"), QStringLiteral("-nodsp")}));
    // Started by kivo, the emulator ran as the same user.
    if (asRoot)
        QCOMPARE(QFileInfo(logPath).ownerId(), nobody);

    // New choices cannot be saved, yet hold for the run, and no box says
    // anything: "Enable Logging" ticked, then the stretch list one down,
    // and back to "Run SSE".
    QVERIFY2(x.focusAndKey(mainWindow.first(), repeated(QStringLiteral("Tab"), 10) +
                                                   QStringList{QStringLiteral("space")} +
                                                   repeated(QStringLiteral("Tab"), 5) +
                                                   QStringList{QStringLiteral("Down")} +
                                                   repeated(QStringLiteral("Tab"), 2)),
             qPrintable(x.error()));
    QCOMPARE(runSse(1), start + QStringList({QStringLiteral("1"), QStringLiteral("-nodsp"),
                                             QStringLiteral("-log")}));
    QVERIFY2(x.waitUntilGone(boxName, 1000), qPrintable(x.error()));
    QCOMPARE(kivo->state(), QProcess::Running);

    QCOMPARE(contentOf(ini), before);
    QCOMPARE(QDir(kivoFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("KIVO.ini")});
}

QTEST_GUILESS_MAIN(TestE2eReadOnlySettings)
#include "test_e2e_readonlysettings.moc"

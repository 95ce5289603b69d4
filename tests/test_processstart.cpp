#include "e2e/ssefolder.h"
#include "systemplatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using kivo::StartResult;

// Starting sse.exe from the program's own folder: natively, through wine
// for a Windows program, and never through a shell.
class TestProcessStart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aNativeEmulatorGetsEachArgumentWhole();
    void aWindowsEmulatorGoesThroughWine();
    void whatCannotStart();

private:
    QTemporaryDir *folder = nullptr;
    QByteArray path;
    QString file(const QString &name) const { return QDir(folder->path()).filePath(name); }
    bool writeFile(const QString &name, const QByteArray &content);
};

void TestProcessStart::init()
{
    folder = new QTemporaryDir;
    path = qgetenv("PATH");
}

void TestProcessStart::cleanup()
{
    qputenv("PATH", path);
    delete folder;
}

bool TestProcessStart::writeFile(const QString &name, const QByteArray &content)
{
    QFile out(file(name));
    return out.open(QIODevice::WriteOnly) && out.write(content) == content.size();
}

void TestProcessStart::aNativeEmulatorGetsEachArgumentWhole()
{
    QVERIFY(copyProgram(QStringLiteral(SSE_STANDIN_BINARY), file(QStringLiteral("sse.exe"))));
    const QStringList arguments{
        QStringLiteral("sse.exe"), QStringLiteral("my game.sgh"), QStringLiteral("-b"),
        QString::fromUtf16(u"$(touch pwned); `id` \"q\" 'x' \\ é\nline.bin")};
    kivo::DetachedProcessStarter starter;
    QCOMPARE(starter.start(folder->path(), arguments), StartResult::Started);
    const QString log = file(QStringLiteral("sse-standin.log"));
    QVERIFY(QTest::qWaitFor([&] { return !readLog(log).isEmpty(); }, 10000));
    QCOMPARE(argumentsOf(readLog(log).first()), arguments.mid(1));
    QCOMPARE(readLog(log).first().value(u"cwd").toString(), QDir(folder->path()).canonicalPath());
    QVERIFY(!QFile::exists(file(QStringLiteral("pwned"))));
}

void TestProcessStart::aWindowsEmulatorGoesThroughWine()
{
    QVERIFY(writeFile(QStringLiteral("sse.exe"), QByteArray("MZ") + QByteArray(62, '\0')));
    qputenv("PATH", QFile::encodeName(QStringLiteral(WINE_STANDIN_DIR)) + ":/usr/bin:/bin");
    kivo::DetachedProcessStarter starter;
    const QStringList arguments{QStringLiteral("sse.exe"), QStringLiteral("-g"),
                                QStringLiteral("sss"), QStringLiteral("a b.bin")};
    QCOMPARE(starter.start(folder->path(), arguments), StartResult::Started);
    const QString log = file(QStringLiteral("wine-standin.log"));
    QVERIFY(QTest::qWaitFor([&] { return !readLog(log).isEmpty(); }, 10000));
    QCOMPARE(argumentsOf(readLog(log).first()),
             QStringList({file(QStringLiteral("sse.exe")), QStringLiteral("-g"),
                          QStringLiteral("sss"), QStringLiteral("a b.bin")}));
    QCOMPARE(readLog(log).first().value(u"cwd").toString(), QDir(folder->path()).canonicalPath());
}

void TestProcessStart::whatCannotStart()
{
    kivo::DetachedProcessStarter starter;
    const QStringList line{QStringLiteral("sse.exe"), QStringLiteral("-resetcfg")};
    // No emulator beside the program.
    QCOMPARE(starter.start(folder->path(), line), StartResult::NotFound);
    QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("sse.exe")));
    QCOMPARE(starter.start(folder->path(), line), StartResult::NotFound);
    QVERIFY(QDir(folder->path()).rmdir(QStringLiteral("sse.exe")));

    // There, but nothing that runs: a plain file, or a Windows program without wine.
    QVERIFY(writeFile(QStringLiteral("sse.exe"), "not a program\n"));
    QCOMPARE(starter.start(folder->path(), line), StartResult::Failed);
    QVERIFY(writeFile(QStringLiteral("sse.exe"), QByteArray("MZ") + QByteArray(62, '\0')));
    QTemporaryDir noWine;
    qputenv("PATH", QFile::encodeName(noWine.path()));
    QCOMPARE(starter.start(folder->path(), line), StartResult::Failed);
}

QTEST_GUILESS_MAIN(TestProcessStart)
#include "test_processstart.moc"

#include "systemplatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kivo::StartResult;

// What the real process start refuses. What it starts, natively and through
// wine, is checked end to end: test_oddnames and test_e2e_emulator.
class TestProcessStart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
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

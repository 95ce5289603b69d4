#include "mainwindow/settingsstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using kivo::IniSettingsStore;
using kivo::sectionGeneral;
using kivo::sectionLastFolders;

namespace
{

QString fileText(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Each write replaces the file, so a new inode means it was written.
ino_t inode(const QString &fileName)
{
    struct stat info {
    };
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return 0;
    return info.st_ino;
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sectionsAreWhereAPersonLooks();
    void everySaveReachesTheDiskAtOnce();
    void valuesComeBackUnchanged();
    void unchangedValuesAreNotRewritten();
    void heldSavesAreWrittenOnceAndOnlyWhenChanged();
    void aFileThatCannotBeMadeStillHoldsTheRun();
    void theUsualPlaceIsTheUsersConfigFolder();

private:
    QTemporaryDir dir;
    QString iniPath(const QString &name) const { return dir.filePath(name); }
};

void TestSettingsStore::initTestCase()
{
    // QSettings reads the configuration folder once per process.
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
}

void TestSettingsStore::sectionsAreWhereAPersonLooks()
{
    const QString path = iniPath(QStringLiteral("sections.ini"));
    IniSettingsStore store(path);
    QCOMPARE(store.get(sectionGeneral, QStringLiteral("firstrun")), QString());
    store.save(sectionGeneral, QStringLiteral("firstrun"), QStringLiteral("no"));
    store.save(sectionGeneral, QStringLiteral("system-sat"), QStringLiteral("True"));
    store.save(sectionLastFolders, QStringLiteral("text1"), QStringLiteral("demo.sgh"));

    const QString text = fileText(path);
    QVERIFY2(text.startsWith(QStringLiteral("[General]\nfirstrun=no\nsystem-sat=True\n")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Folders]\ntext1=demo.sgh\n")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("%General")));
    // The same key in the two sections holds two values.
    QCOMPARE(store.get(sectionLastFolders, QStringLiteral("firstrun")), QString());
}

void TestSettingsStore::everySaveReachesTheDiskAtOnce()
{
    const QString path = iniPath(QStringLiteral("atonce.ini"));
    IniSettingsStore writer(path);
    writer.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("9"));
    IniSettingsStore reader(path);
    QCOMPARE(reader.get(sectionGeneral, QStringLiteral("drive")), QStringLiteral("9"));
    writer.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("22"));
    QVERIFY(fileText(path).contains(QStringLiteral("drive=22")));
}

void TestSettingsStore::valuesComeBackUnchanged()
{
    const QString path = iniPath(QStringLiteral("values.ini"));
    const QStringList values{QStringLiteral("my game.sgh"),
                             QStringLiteral(" leading and trailing "),
                             QStringLiteral("a, b; c"),
                             QStringLiteral("\"quoted\" 'single' $(touch x) `y` \\back\\slash"),
                             QStringLiteral("two\nlines\rand\ttab"),
                             QString::fromUtf16(u"Français ß 日本 ✓"),
                             QStringLiteral("@Variant(0)"),
                             QStringLiteral("=;#[]")};
    {
        IniSettingsStore store(path);
        for (int i = 0; i < values.size(); ++i)
            store.save(sectionLastFolders, QStringLiteral("text%1").arg(i), values.at(i));
    }
    IniSettingsStore again(path);
    for (int i = 0; i < values.size(); ++i)
        QCOMPARE(again.get(sectionLastFolders, QStringLiteral("text%1").arg(i)), values.at(i));
    // Accented letters stay readable in the file.
    QVERIFY(fileText(path).contains(QString::fromUtf16(u"Français")));
}

void TestSettingsStore::unchangedValuesAreNotRewritten()
{
    const QString path = iniPath(QStringLiteral("unchanged.ini"));
    IniSettingsStore store(path);
    store.save(sectionGeneral, QStringLiteral("res"), QStringLiteral("1"));
    const ino_t written = inode(path);
    QVERIFY(written != 0);
    store.save(sectionGeneral, QStringLiteral("res"), QStringLiteral("1"));
    QCOMPARE(inode(path), written);
    // An empty value is still a value once saved: saving it writes.
    store.save(sectionLastFolders, QStringLiteral("text1"), QString());
    QVERIFY(inode(path) != written);
}

void TestSettingsStore::heldSavesAreWrittenOnceAndOnlyWhenChanged()
{
    const QString path = iniPath(QStringLiteral("held.ini"));
    IniSettingsStore store(path);
    store.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("5"));
    const ino_t before = inode(path);

    // Start-up moves a list to its default and back to the saved entry.
    store.hold();
    store.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("2"));
    QCOMPARE(store.get(sectionGeneral, QStringLiteral("drive")), QStringLiteral("2"));
    store.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("5"));
    store.release();
    QCOMPARE(inode(path), before);

    store.hold();
    store.save(sectionGeneral, QStringLiteral("res"), QStringLiteral("0"));
    store.save(sectionGeneral, QStringLiteral("stretch"), QStringLiteral("0"));
    QCOMPARE(inode(path), before);
    store.release();
    QVERIFY(inode(path) != before);
    IniSettingsStore reader(path);
    QCOMPARE(reader.get(sectionGeneral, QStringLiteral("res")), QStringLiteral("0"));
    QCOMPARE(reader.get(sectionGeneral, QStringLiteral("stretch")), QStringLiteral("0"));

    // Holds nest: a choice held within the start-up is written at its end.
    const ino_t started = inode(path);
    store.hold();
    store.hold();
    store.save(sectionGeneral, QStringLiteral("res"), QStringLiteral("2"));
    store.release();
    QCOMPARE(inode(path), started);
    store.release();
    QVERIFY(inode(path) != started);
    QCOMPARE(IniSettingsStore(path).get(sectionGeneral, QStringLiteral("res")),
             QStringLiteral("2"));
}

// A broken file: test_badsettings, with the main window on it.
void TestSettingsStore::aFileThatCannotBeMadeStillHoldsTheRun()
{
    // A folder that cannot exist, because a file stands where it would be.
    QFile blocker(iniPath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniSettingsStore unwritable(iniPath(QStringLiteral("blocker/KIVO/KIVO.ini")));
    unwritable.save(sectionGeneral, QStringLiteral("drive"), QStringLiteral("3"));
    // The run goes on with what it was told.
    QCOMPARE(unwritable.get(sectionGeneral, QStringLiteral("drive")), QStringLiteral("3"));
}

void TestSettingsStore::theUsualPlaceIsTheUsersConfigFolder()
{
    IniSettingsStore store;
    QCOMPARE(store.fileName(), dir.filePath(QStringLiteral("config/KIVO/KIVO.ini")));
    store.save(sectionGeneral, QStringLiteral("opz4"), QStringLiteral("1"));
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("config/KIVO/KIVO.ini"))));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"

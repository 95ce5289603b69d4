// What needs no window: command lines, the message catalogue, the settings
// file, short paths, Wine, folders and drives.

#include "lang/messages.h"
#include "mainwindow/commandline.h"
#include "mainwindow/settingsstore.h"
#include "mainwindow/stvcatalogue.h"
#include "mainwindow/wine.h"
#include "picker/drives.h"
#include "picker/folderlisting.h"
#include "picker/shortpath.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Messages;

class TestBase : public QObject
{
    Q_OBJECT

private slots:
    void namesStayWholeOnTheCommandLine();
    void everyMessageInEveryLanguage();
    void theSettingsFile();
    void shortPaths();
    void wineRules();
    void foldersAndDrives();
};

namespace
{

bool write(const QString &path, const QByteArray &content, bool runnable = false)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size() &&
           (!runnable || file.setPermissions(file.permissions() | QFile::ExeOwner));
}

// Each write of QSettings replaces the file: a new inode means it was written.
ino_t inode(const QString &path)
{
    struct stat status {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

void TestBase::namesStayWholeOnTheCommandLine()
{
    using kivo::CommandLine;
    const QString odd = QStringLiteral("my game; $(rm x) \"q\" 'x' \\ é.sgh");
    const CommandLine line =
        CommandLine::words(u"sse.exe ") + CommandLine::value(odd) + CommandLine::words(u" -b ") +
        CommandLine::value(QStringLiteral("  ")) + CommandLine::words(u" -br ") +
        CommandLine::value(QString()) + CommandLine::words(u".sgh");
    QCOMPARE(line.text(), QStringLiteral("sse.exe ") + odd + QStringLiteral(" -b    -br .sgh"));
    QCOMPARE(line.arguments(),
             QStringList({QStringLiteral("sse.exe"), odd, QStringLiteral("-b"),
                          QStringLiteral("  "), QStringLiteral("-br"), QStringLiteral(".sgh")}));
    // A value ends an argument only where the words beside it have a blank.
    QCOMPARE((CommandLine::value(QStringLiteral("a b")) + CommandLine::words(u".sgh")).arguments(),
             QStringList{QStringLiteral("a b.sgh")});
    QVERIFY(CommandLine::value(QString()).isEmpty());
}

void TestBase::everyMessageInEveryLanguage()
{
    static const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    const auto placeholders = [](QStringView text) {
        QStringList found;
        for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
            found.append(match.captured());
        found.sort();
        return found;
    };
    int messages = 0;
    for (const Message *message = catalogueBegin(); message != catalogueEnd(); ++message) {
        ++messages;
        for (const QStringView text : message->texts.column) {
            QVERIFY2(!text.trimmed().isEmpty(), message->name);
            // Lines join with a lone carriage return, and no line starts with a blank.
            QVERIFY2(!text.contains(u'\n') && !text.startsWith(u' ') && !text.contains(u"\r "),
                     message->name);
            QCOMPARE(placeholders(text), placeholders(message->texts.column[0]));
        }
    }
    QVERIFY(messages >= 15);

    // Only the three names, exactly, are languages.
    for (const QString &name : {QString(), QStringLiteral("english"), QStringLiteral("Francais"),
                                QString::fromUtf16(u"français"), QStringLiteral("Italiano ")}) {
        QVERIFY(!isLanguage(name));
        QCOMPARE(msgselbios(name), QString());
        QCOMPARE(msgromdirname(name, QStringLiteral("sss")), QString());
    }
    QSet<QString> prompts;
    for (const QStringView language : languages)
        prompts.insert(msgselbios(language.toString()));
    QCOMPARE(prompts.size(), 3);

    // The first box a user meets, letter for letter; values go in as they are.
    const QString english = QStringLiteral("English");
    QCOMPARE(msgfirstrun(english), QStringLiteral("This is the first run: KIVO has created a "
                                                  "necessary file to run SSE.\rClick again on "
                                                  "'Run SSE' button to start."));
    QCOMPARE(msgromdirname(english, QStringLiteral("astrass")),
             QStringLiteral("(Dir or Zip name for selected game: astrass)"));
    const QString odd = QStringLiteral("%2 %1 100%");
    QVERIFY(msgromdirname(english, odd).contains(odd));
    QVERIFY(msgnotstarted(english, odd, QStringLiteral("%1 failed")).endsWith(u"%1 failed"));
    QCOMPARE(msgnotexecutable(english, odd).count(odd), 2);
}

void TestBase::theSettingsFile()
{
    using kivo::sectionGeneral;
    using kivo::sectionLastFolders;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KIVO.ini"));
    kivo::IniSettingsStore store(path);
    QCOMPARE(store.get(sectionGeneral, QStringLiteral("firstrun")), QString());

    // Where a person looks for it, each save on the disk at once, and values
    // back as they were.
    const QStringList values{QStringLiteral("no"),
                             QStringLiteral("a, b"),
                             QStringLiteral(" x "),
                             QStringLiteral("\"q\" 'x' = ; # \\ é ü"),
                             QString(),
                             QStringLiteral("@Rect(1 2 3 4)")};
    for (qsizetype index = 0; index < values.size(); ++index) {
        const QString key = QStringLiteral("key%1").arg(index);
        store.save(sectionGeneral, key, values[index]);
        store.save(sectionLastFolders, key, values[index] + u'!');
        QCOMPARE(QSettings(path, QSettings::IniFormat).value(key).toString(), values[index]);
        QCOMPARE(kivo::IniSettingsStore(path).get(sectionLastFolders, key), values[index] + u'!');
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    QVERIFY2(text.startsWith("[General]\nkey0=no\n") && text.contains("\n[Last%20Folders]\n"),
             text.constData());

    // An unchanged value is not written again; a held batch once, and only
    // when it changes something.
    const ino_t before = inode(path);
    store.save(sectionGeneral, QStringLiteral("key0"), QStringLiteral("no"));
    store.hold();
    store.save(sectionGeneral, QStringLiteral("key0"), QStringLiteral("yes"));
    store.save(sectionGeneral, QStringLiteral("key0"), QStringLiteral("no"));
    store.release();
    QCOMPARE(inode(path), before);
    store.hold();
    store.save(sectionGeneral, QStringLiteral("key0"), QStringLiteral("yes"));
    store.save(sectionGeneral, QStringLiteral("new"), QStringLiteral("1"));
    QCOMPARE(store.get(sectionGeneral, QStringLiteral("key0")), QStringLiteral("yes"));
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("new")), QVariant());
    store.release();
    QVERIFY(inode(path) != before);
    QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("new")).toString(),
             QStringLiteral("1"));
}

void TestBase::shortPaths()
{
    QTemporaryDir dir;
    const QString canonical = QDir(dir.path()).canonicalPath();
    QVERIFY(QFile::link(canonical, dir.filePath(QStringLiteral("link"))));
    for (const QString &form : {dir.path() + u'/', dir.path() + QStringLiteral("/./"),
                                dir.filePath(QStringLiteral("link")), canonical})
        QCOMPARE(GetShortPathName(form), canonical);
    const QString missing = dir.filePath(QStringLiteral("no such folder"));
    QCOMPARE(GetShortPathName(missing),
             QStringLiteral("Impossibile trovare il file o la cartella: ") + missing);
    QCOMPARE(StripTerminator(QStringLiteral("abc")), QStringLiteral("abc"));
    QCOMPARE(StripTerminator(QChar(0) + QStringLiteral("abc")), QString());
    QCOMPARE(StripTerminator(QStringLiteral("ab") + QChar(0) + u'c'), QStringLiteral("ab"));
}

void TestBase::wineRules()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program.exe"));
    const auto windows = [](quint16 machine) {
        QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
        bytes[0x3c] = char(0x40);
        return bytes + QByteArray("PE\0\0", 4) + char(machine & 0xff) + char(machine >> 8);
    };
    using kivo::ProgramKind;
    const QPair<QByteArray, ProgramKind> kinds[] = {{windows(0x14c), ProgramKind::Windows32},
                                                    {windows(0x8664), ProgramKind::Windows64},
                                                    {windows(0xaa64), ProgramKind::Windows64},
                                                    {"MZ", ProgramKind::Windows32},
                                                    {"\x7f"
                                                     "ELF",
                                                     ProgramKind::Native},
                                                    {"#!/bin/sh\n", ProgramKind::Native}};
    for (const auto &[bytes, kind] : kinds) {
        QVERIFY(write(program, bytes));
        QCOMPARE(kivo::programKind(program), kind);
    }

    // Debian's layout: bin/wine runs lib/wine/wine of the package wine32 when
    // it is there, else lib/wine/wine64, which runs 64-bit programs only.
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("bin")) &&
            QDir(dir.path()).mkpath(QStringLiteral("lib/wine")));
    const QString wine = dir.filePath(QStringLiteral("bin/wine"));
    const QString link = dir.filePath(QStringLiteral("wine-link"));
    QVERIFY(write(wine, "#!/bin/sh\n", true) && QFile::link(wine, link));
    const kivo::InstalledWine installed;
    QVERIFY(installed.runs32Bit(link));
    QVERIFY(write(dir.filePath(QStringLiteral("lib/wine/wine64")), "", true));
    QVERIFY(!installed.runs32Bit(link));
    QVERIFY(write(dir.filePath(QStringLiteral("lib/wine/wine")), "", true));
    QVERIFY(installed.runs32Bit(link));

    // A character locale that is not UTF-8 becomes one, for characters only.
    for (const QString &variables :
         {u"LANG=fr_FR.utf8"_qs, u"LANG=C LC_CTYPE=de_DE.UTF-8"_qs, u""_qs,
          u"LANG=it_IT.UTF-8 LC_ALL=POSIX LC_MESSAGES=it_IT"_qs}) {
        QProcessEnvironment environment;
        for (const QString &pair : variables.split(u' ', Qt::SkipEmptyParts))
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        const QProcessEnvironment forWine = kivo::wineEnvironment(environment);
        if (!variables.isEmpty() && !variables.contains(u"POSIX")) {
            QCOMPARE(forWine, environment);
            continue;
        }
        QCOMPARE(forWine.value(u"LC_CTYPE"_qs) + forWine.value(u"LC_ALL"_qs), u"C.UTF-8"_qs);
        QCOMPARE(forWine.value(u"LANG"_qs), variables.isEmpty() ? QString() : u"POSIX"_qs);
        QCOMPARE(forWine.value(u"LC_MESSAGES"_qs), environment.value(u"LC_MESSAGES"_qs));
    }

    // The prefix's drive letters, in name order, dangling links included.
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("WINEPREFIX"), dir.path());
    QCOMPARE(kivo::winePrefix(environment), dir.path());
    QVERIFY(kivo::wineDrives(dir.path()).isEmpty());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("dosdevices")));
    QVERIFY(
        QFile::link(QStringLiteral("/dev/sr0"), dir.filePath(QStringLiteral("dosdevices/d::"))));
    QVERIFY(
        QFile::link(QStringLiteral("/media/none"), dir.filePath(QStringLiteral("dosdevices/d:"))));
    const auto drives = kivo::wineDrives(dir.path());
    QCOMPARE(drives.size(), 2);
    QCOMPARE(drives[0], qMakePair(QStringLiteral("d:"), QStringLiteral("/media/none")));
    QCOMPARE(drives[1].first, QStringLiteral("d::"));
}

void TestBase::foldersAndDrives()
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).canonicalPath();
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (const char *name :
         {"b.bin", "A.BIN", ".hidden", "README", "bad\xff.bin", "SSE.EXE", "sse.EXE", "Sse.exe"}) {
        FILE *file = std::fopen((base + name).constData(), "w");
        QVERIFY(file && std::fclose(file) == 0);
    }
    QVERIFY(::mkdir((base + "Headers").constData(), 0755) == 0);
    QVERIFY(::mkdir((base + "bad\xfe folder").constData(), 0755) == 0);
    QVERIFY(QFile::link(folder + QStringLiteral("/README"), folder + QStringLiteral("/link")));
    QVERIFY(QFile::link(folder + QStringLiteral("/gone"), folder + QStringLiteral("/dangling")));

    // No hidden names, none that would not come back to the same bytes.
    QStringList files = kivo::listFolder(folder, kivo::EntryKind::Files);
    kivo::sortNames(files);
    QCOMPARE(files,
             QStringList({QStringLiteral("A.BIN"), QStringLiteral("b.bin"), QStringLiteral("link"),
                          QStringLiteral("README"), QStringLiteral("SSE.EXE"),
                          QStringLiteral("Sse.exe"), QStringLiteral("sse.EXE")}));
    QCOMPARE(kivo::listFolder(folder, kivo::EntryKind::Folders),
             QStringList{QStringLiteral("Headers")});

    // As Windows finds a file: the name itself, else its first case variant by bytes.
    QCOMPARE(kivo::entryIgnoringCase(folder, QStringLiteral("sse.exe")), QStringLiteral("SSE.EXE"));
    QCOMPARE(kivo::entryIgnoringCase(folder, QStringLiteral("Sse.exe")), QStringLiteral("Sse.exe"));
    QCOMPARE(kivo::pathIgnoringCase(folder, QStringLiteral("headers")),
             folder + QStringLiteral("/Headers"));
    QCOMPARE(kivo::pathIgnoringCase(folder, QStringLiteral("bios")),
             folder + QStringLiteral("/bios"));

    // Numbers by value, letter case aside, across the parts of a large folder.
    QStringList many;
    for (int number = 20000; number > 0; --number)
        many.append((number % 2 ? QStringLiteral("Disc") : QStringLiteral("disc")) +
                    QString::number(number));
    std::shuffle(many.begin(), many.end(), *QRandomGenerator::global());
    kivo::sortNames(many);
    for (int number = 1; number <= 20000; ++number)
        QVERIFY(many.at(number - 1).endsWith(QStringLiteral("c") + QString::number(number)));

    // A drive's root leads a path path-wise; a drive list entry designates its drive.
    QHash<QString, QString> current;
    const kivo::Drives drives({{QStringLiteral("/"), QStringLiteral("system")},
                               {QStringLiteral("/media/cd"), QStringLiteral("DISC")},
                               {QStringLiteral("/media/cd/"), QString()},
                               {QStringLiteral("relative"), QString()}},
                              current);
    QCOMPARE(drives.count(), 2);
    QCOMPARE(drives.entryText(1), QStringLiteral("/media/cd [DISC]"));
    QCOMPARE(drives.volumeOf(QStringLiteral("/media/cd/x")), 1);
    QCOMPARE(drives.volumeOf(QStringLiteral("/media/cd2")), 0);
    QCOMPARE(drives.designated(QStringLiteral("/media/cd [DISC]")), 1);
    QCOMPARE(drives.designated(QStringLiteral("/media/cd/x")), -1);

    // The ST-V list: an empty first entry, then 39 games with a rom set each.
    QSet<QStringView> romSets;
    for (const kivo::StvGame &game : kivo::stvCatalogue)
        romSets.insert(game.romSet);
    QCOMPARE(romSets.size(), 40);
    QVERIFY(kivo::stvCatalogue[0].title.isEmpty() && kivo::stvCatalogue[0].romSet.isEmpty());
}

QTEST_GUILESS_MAIN(TestBase)
#include "test_base.moc"

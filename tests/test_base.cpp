// What needs no window: the message catalogue, the settings file, command
// lines, Wine and the desktop session, folders, short paths and drives.

#include "lang/messages.h"
#include "mainwindow/commandline.h"
#include "mainwindow/session.h"
#include "mainwindow/settingsstore.h"
#include "mainwindow/wine.h"
#include "picker/drives.h"
#include "picker/folderlisting.h"
#include "picker/mountedvolumes.h"
#include "picker/shortpath.h"
#include "testdata.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Messages;
using namespace kivo;

static bool write(const QString &path, const QByteArray &content, bool runnable = false)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size() &&
           (!runnable || file.setPermissions(file.permissions() | QFile::ExeOwner));
}

static QByteArray onDisk(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What QSettings reads in the file now. On a path it has read before it
// would answer from memory, so it reads a copy on a path of its own.
static QVariant readBack(const QString &file, const QString &key)
{
    const QTemporaryDir fresh;
    const QString copy = fresh.filePath(u"copy.ini"_qs);
    return QFile::copy(file, copy) ? QSettings(copy, QSettings::IniFormat).value(key) : QVariant();
}

// Each write replaces the file: a new inode means it was written.
static ino_t inode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// A folder as it came from Windows: names in several letter cases, a folder
// named like the program, hidden names and names that are not UTF-8.
static bool makeFolderLikeWindows(const QString &folder)
{
    const QByteArray base = QFile::encodeName(folder) + '/';
    bool made = QFile::link(folder + u"/README"_qs, folder + u"/link"_qs);
    for (const char *name :
         {"b.bin", "A.BIN", ".hidden", "README", "bad\xff.bin", "HEADERS", "sse.EXE", "Sse.exe"})
        made = made && ::close(::creat((base + name).constData(), 0644)) == 0;
    for (const char *name : {"Headers", "SSE.EXE", "bad\xfe folder", ".cache"})
        made = made && ::mkdir((base + name).constData(), 0755) == 0;
    return made;
}

// QTemporaryDir cannot name these to remove them.
static void removeUndecodable(const QString &folder)
{
    ::unlink(QFile::encodeName(folder + u"/bad"_qs).append("\xff.bin").constData());
    ::rmdir(QFile::encodeName(folder + u"/bad"_qs).append("\xfe folder").constData());
}

// What a locale category resolves to: LC_ALL, else its own variable, else LANG.
static QString resolved(const QProcessEnvironment &environment, const QString &category)
{
    for (const QString &name : {u"LC_ALL"_qs, category, u"LANG"_qs})
        if (!environment.value(name).isEmpty())
            return environment.value(name);
    return u"C"_qs;
}

class TestBase : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    QStringList failures; // "file: reason", one for each report

    QString path(const QString &name) const { return dir->filePath(name); }
    // A store on a file of the test's folder that records its failures.
    std::unique_ptr<IniSettingsStore> storeOn(const QString &name)
    {
        auto store = std::make_unique<IniSettingsStore>(path(name));
        store->failed = [this](const SaveFailure &lost) {
            failures << lost.file + u": "_qs + lost.reason;
        };
        return store;
    }

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        failures.clear();
    }
    void cleanup() { dir.reset(); }

    void everyMessageIsWholeInEveryLanguage_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("english");
        for (const Message *message = catalogueBegin(); message != catalogueEnd(); ++message)
            for (std::size_t column = 0; column < languages.size(); ++column)
                QTest::addRow("%s in %s", message->name, qPrintable(languages[column].toString()))
                    << message->texts.column[column].toString()
                    << message->texts.column[0].toString();
    }
    // Not empty, the same placeholders as in English, and lines joined by a
    // lone carriage return, none starting with a blank.
    void everyMessageIsWholeInEveryLanguage()
    {
        QFETCH(QString, text);
        QFETCH(QString, english);
        QVERIFY(!text.trimmed().isEmpty());
        static const QRegularExpression placeholder(u"%\\d"_qs);
        const auto placeholders = [](const QString &text) {
            QStringList found;
            for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
                found << match.captured();
            found.sort();
            return found;
        };
        QCOMPARE(placeholders(text), placeholders(english));
        QCOMPARE(text.count(u'\n'), 0);
        QCOMPARE(text.count(u"\r "), 0);
        QVERIFY(!text.startsWith(u' '));
    }

    void onlyTheThreeNamesAreLanguages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("language");
        QTest::newRow("English") << u"English"_qs << true;
        QTest::newRow("Italiano") << u"Italiano"_qs << true;
        QTest::newRow("Français") << u"Français"_qs << true;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("in lower case") << u"english"_qs << false;
        QTest::newRow("without its cedilla") << u"Francais"_qs << false;
        QTest::newRow("with a blank after it") << u"Italiano "_qs << false;
    }
    // A name that is no language has no texts at all.
    void onlyTheThreeNamesAreLanguages()
    {
        QFETCH(QString, name);
        QFETCH(bool, language);
        QCOMPARE(isLanguage(name), language);
        QCOMPARE(msgromdirname(name, u"sss"_qs).isEmpty(), !language);
    }

    // The first box a user meets, letter for letter; values go in as they are.
    void theFirstRunMessageReadsAsWritten()
    {
        QCOMPARE(msgfirstrun(u"English"_qs),
                 u"This is the first run: KIVO has created a necessary file to run SSE.\rClick "
                 "again on 'Run SSE' button to start."_qs);
        const QString odd = u"%2 %1 100%"_qs;
        QVERIFY(msgnotstarted(u"English"_qs, odd, u"%1 failed"_qs).endsWith(u"%1 failed"));
        QCOMPARE(msgnotexecutable(u"English"_qs, odd).count(odd), 2);
    }

    // What the INI format treats specially.
    void aValueReadsTheSameInKivoAndQSettings_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks at the ends") << u"  a  b  "_qs;
        QTest::newRow("quotes") << u"\"a\" 'b' \""_qs;
        QTest::newRow("backslashes") << u"C:\\games\\ \\"_qs;
        QTest::newRow("separators") << u"a,b;c=d#e"_qs;
        QTest::newRow("an @ first") << u"@Rect(1 2 3 4)"_qs;
        QTest::newRow("control characters") << u"\t\n\r\x01\x1f\x7f"_qs;
        QTest::newRow("a NUL") << QStringView(u"a\0b", 3).toString();
        QTest::newRow("letters beyond ASCII") << u"éÿĀ中文\U0001F600"_qs;
        QTest::newRow("empty") << QString();
    }
    // What QSettings wrote, KIVO reads; what KIVO saved, QSettings reads.
    void aValueReadsTheSameInKivoAndQSettings()
    {
        QFETCH(QString, value);
        QSettings(path(u"theirs.ini"_qs), QSettings::IniFormat)
            .setValue(u"Last Folders/text1"_qs, value);
        QCOMPARE(storeOn(u"theirs.ini"_qs)->get(sectionLastFolders, key::text(1)), value);
        storeOn(u"ours.ini"_qs)->save(sectionLastFolders, key::text(1), value);
        QCOMPARE(readBack(path(u"ours.ini"_qs), u"Last Folders/text1"_qs).toString(), value);
    }

    void whatKivoDoesNotWriteStays_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("a typed value") << u"rect"_qs << QVariant(QRect(1, 2, 3, 4));
        QTest::newRow("a list") << u"list"_qs << QVariant(QStringList{u"a"_qs, u"@b"_qs});
        QTest::newRow("another section") << u"Other/k"_qs << QVariant(u"v"_qs);
    }
    void whatKivoDoesNotWriteStays()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QVERIFY(write(path(u"KIVO.ini"_qs),
                      "[Other]\nk=v\n[General]\nrect=@Rect(1 2 3 4)\nlist=a, @@b\n"));
        const auto store = storeOn(u"KIVO.ini"_qs);
        // A list reads as its items.
        QCOMPARE(store->get(sectionGeneral, u"list"_qs), u"a, @b"_qs);
        store->save(sectionGeneral, key::firstrun, u"no"_qs);
        QCOMPARE(readBack(path(u"KIVO.ini"_qs), key), value);
    }

    // An unchanged value writes nothing; held values answer at once, and
    // reach the disk together at the release, only if they change something.
    void aSaveReachesTheDiskOnceAndOnlyWhenItChangesSomething()
    {
        const auto store = storeOn(u"KIVO.ini"_qs);
        store->save(sectionGeneral, key::res, u"1"_qs);
        const ino_t written = inode(path(u"KIVO.ini"_qs));
        store->save(sectionGeneral, key::res, u"1"_qs);
        {
            const SavedTogether together(*store);
            store->save(sectionGeneral, key::res, u"2"_qs);
            store->save(sectionGeneral, key::res, u"1"_qs);
        }
        QCOMPARE(inode(path(u"KIVO.ini"_qs)), written);
        store->hold();
        store->save(sectionGeneral, key::systemSat, u"False"_qs);
        store->save(sectionGeneral, key::systemStv, u"True"_qs);
        QCOMPARE(store->get(sectionGeneral, key::systemStv), u"True"_qs);
        QCOMPARE(inode(path(u"KIVO.ini"_qs)), written);
        store->release();
        QCOMPARE(readBack(path(u"KIVO.ini"_qs), u"system-sat"_qs).toString(), u"False"_qs);
        QCOMPARE(readBack(path(u"KIVO.ini"_qs), u"system-stv"_qs).toString(), u"True"_qs);
    }

    // Two windows on one file, whose writes have the same size and time. Two
    // names of one folder keep QSettings of one process from sharing the file.
    void anotherWriterIsNeverLost()
    {
        QVERIFY(QFile::link(dir->path(), path(u"same"_qs)));
        const auto one = storeOn(u"KIVO.ini"_qs), other = storeOn(u"same/KIVO.ini"_qs);
        const QByteArray file = QFile::encodeName(path(u"KIVO.ini"_qs));
        for (int round = 100; round < 200; ++round) {
            const QString value = u"value_%1"_qs.arg(round);
            struct stat earlier = {};
            const bool existed = ::stat(file.constData(), &earlier) == 0;
            one->save(sectionGeneral, key::stvrom, value);
            const timespec times[2] = {{0, UTIME_OMIT}, earlier.st_mtim};
            QVERIFY(!existed || ::utimensat(AT_FDCWD, file.constData(), times, 0) == 0);
            other->save(sectionGeneral, key::drive, value);
            QCOMPARE(readBack(path(u"KIVO.ini"_qs), u"stvrom"_qs).toString(), value);
            QCOMPARE(readBack(path(u"KIVO.ini"_qs), u"drive"_qs).toString(), value);
        }
        // While one waits for the lock, the other writes the same value:
        // nothing is lost, so nothing is reported.
        QLockFile busy(path(u"KIVO.ini.lock"_qs));
        QVERIFY(busy.lock());
        std::thread waiting([&] { one->save(sectionGeneral, key::res, u"2"_qs); });
        // Time to reach the lock; a slow start only makes the check weaker, never wrong.
        QThread::msleep(200);
        QVERIFY(write(path(u"KIVO.ini"_qs), "[General]\nres=2\n"));
        busy.unlock();
        waiting.join();
        QCOMPARE(readBack(path(u"KIVO.ini"_qs), u"res"_qs).toString(), u"2"_qs);
        QCOMPARE(failures, QStringList());
    }

    // A file where the settings folder should be: nothing can be written
    // there, for root too. A held batch is one write, reported once.
    void aSaveThatCannotBeWrittenSaysWhyAndHolds()
    {
        QVERIFY(write(path(u"config"_qs), "x"));
        const auto store = storeOn(u"config/KIVO.ini"_qs);
        {
            const SavedTogether together(*store);
            store->save(sectionGeneral, key::res, u"1"_qs);
            store->save(sectionLastFolders, key::text(1), u"a.sgh"_qs);
        }
        QCOMPARE(failures, QStringList{store->fileName() + u": "_qs + qt_error_string(ENOTDIR)});
        QCOMPARE(store->get(sectionLastFolders, key::text(1)), u"a.sgh"_qs);
    }

    void theLatestSaveWinsAfterAFailedOne_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::newRow("the drive") << sectionGeneral << key::drive;
        QTest::newRow("a header") << sectionLastFolders << key::text(1);
        QTest::newRow("the picker's last folder") << sectionLastFolders << key::lastdir;
    }
    // A save that failed, a newer one of the same key, the folder made
    // writable, then a save of another key: the newer value is the one kept.
    void theLatestSaveWinsAfterAFailedOne()
    {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QVERIFY(write(path(u"config"_qs), "x"));
        const auto store = storeOn(u"config/KIVO.ini"_qs);
        store->save(section, key, u"older"_qs);
        store->save(section, key, u"newer"_qs);
        QCOMPARE(store->get(section, key), u"newer"_qs);
        QVERIFY(QFile::remove(path(u"config"_qs)));
        QVERIFY(QDir(dir->path()).mkdir(u"config"_qs));
        store->save(sectionGeneral, key::res, u"2"_qs);
        const QString written = section == sectionGeneral ? key : section + u'/' + key;
        QCOMPARE(readBack(store->fileName(), written).toString(), u"newer"_qs);
        QCOMPARE(readBack(store->fileName(), u"res"_qs).toString(), u"2"_qs);
    }

    // No file may grow past the size of the old one, for root too.
    void aFullDiskChangesNothingAndSaysWhy_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("no room for the lock file") << 1;
        // Larger than the lock file: the write itself is cut short.
        QTest::newRow("no room for the longer file") << 400;
    }
    void aFullDiskChangesNothingAndSaysWhy()
    {
        QFETCH(int, size);
        const auto store = storeOn(u"KIVO.ini"_qs);
        store->save(sectionLastFolders, key::text(1), QString(size, u'x'));
        const QByteArray old = onDisk(store->fileName());
        rlimit limit{};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
        const rlimit full{rlim_t(old.size()), limit.rlim_max};
        const auto signalWas = std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &full) == 0);
        const QString longer = u"a value that makes the file longer"_qs;
        store->save(sectionLastFolders, key::text(7), longer);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, signalWas);
        QCOMPARE(failures, QStringList{store->fileName() + u": "_qs + qt_error_string(EFBIG)});
        QCOMPARE(store->get(sectionLastFolders, key::text(7)), longer);
        QCOMPARE(onDisk(store->fileName()), old);
        // No temporary file left beside it.
        QCOMPARE(QDir(dir->path()).entryList({u"KIVO.ini*"_qs}, QDir::AllEntries | QDir::Hidden),
                 QStringList{u"KIVO.ini"_qs});
    }

    // A socket where KIVO.ini should be.
    void aFileThatCannotBeReadIsNeverWrittenOver()
    {
        const auto store = storeOn(u"s.ini"_qs);
        QVERIFY(::mknod(QFile::encodeName(store->fileName()).constData(), S_IFSOCK | 0600, 0) == 0);
        store->save(sectionGeneral, key::res, u"1"_qs);
        QCOMPARE(failures.size(), 1);
        QVERIFY(!QFileInfo(store->fileName()).isFile());
    }

    void aValueIsOneArgumentWhateverItHolds_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks inside") << u"my game.sgh"_qs;
        QTest::newRow("blanks at the ends") << u" game.sgh "_qs;
        QTest::newRow("shell characters") << u"$(id); `x` \"q\" 'q' \\"_qs;
        QTest::newRow("letters beyond ASCII") << u"ゲーム é.sgh"_qs;
    }
    // Fixed words split at blanks; a value is one argument, and a word right
    // after it joins it. The text a person reads is the pieces as they are.
    void aValueIsOneArgumentWhateverItHolds()
    {
        QFETCH(QString, value);
        const CommandLine line = CommandLine::words(u"extrlow.exe ") + CommandLine::value(value) +
                                 CommandLine::words(u".sgh") + CommandLine::value(QString()) +
                                 CommandLine::words(u"  -res 640  480");
        QCOMPARE(line.arguments(), QStringList({u"extrlow.exe"_qs, value + u".sgh"_qs, u"-res"_qs,
                                                u"640"_qs, u"480"_qs}));
        QCOMPARE(line.text(), u"extrlow.exe "_qs + value + u".sgh  -res 640  480"_qs);
    }

    // No hidden names, and none that would not come back to the same bytes.
    void onlyNamesThatCanBeHandedOnAreListed()
    {
        QVERIFY(makeFolderLikeWindows(dir->path()));
        QStringList files = listFolder(dir->path(), EntryKind::Files);
        QStringList folders = listFolder(dir->path(), EntryKind::Folders);
        removeUndecodable(dir->path());
        sortNames(files);
        sortNames(folders);
        QCOMPARE(files, QStringList({u"A.BIN"_qs, u"b.bin"_qs, u"HEADERS"_qs, u"link"_qs,
                                     u"README"_qs, u"Sse.exe"_qs, u"sse.EXE"_qs}));
        QCOMPARE(folders, QStringList({u"Headers"_qs, u"SSE.EXE"_qs}));
    }

    void aNameIsFoundAsWindowsFindsIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<EntryKind>("kind");
        QTest::addColumn<QString>("found");
        const auto row = [](const char *name, const char *asked, EntryKind kind,
                            const char *found) {
            QTest::newRow(name) << QString::fromUtf8(asked) << kind << QString::fromUtf8(found);
        };
        row("the first case variant by bytes", "sse.exe", EntryKind::Files, "Sse.exe");
        row("a folder of that name passed over", "SSE.EXE", EntryKind::Files, "Sse.exe");
        row("the name itself first", "sse.EXE", EntryKind::Files, "sse.EXE");
        row("a folder", "sse.exe", EntryKind::Folders, "SSE.EXE");
        row("a file named like a folder", "headers", EntryKind::Files, "HEADERS");
        row("none", "bios", EntryKind::Folders, "");
    }
    void aNameIsFoundAsWindowsFindsIt()
    {
        QFETCH(QString, name);
        QFETCH(EntryKind, kind);
        QFETCH(QString, found);
        QVERIFY(makeFolderLikeWindows(dir->path()));
        const QString entry = entryIgnoringCase(dir->path(), name, kind);
        const QString subfolder = pathIgnoringCase(dir->path(), u"headers"_qs);
        removeUndecodable(dir->path());
        QCOMPARE(entry, found);
        QCOMPARE(subfolder, path(u"Headers"_qs));
    }

    void aShortPathIsTheCanonicalPath_data()
    {
        QTest::addColumn<QString>("form");
        QTest::newRow("with a trailing slash") << u"/"_qs;
        QTest::newRow("with a dot") << u"/./"_qs;
        QTest::newRow("through a link") << u"/folder/back"_qs;
        QTest::newRow("as it is") << QString();
    }
    void aShortPathIsTheCanonicalPath()
    {
        QFETCH(QString, form);
        const QString canonical = QDir(dir->path()).canonicalPath();
        QVERIFY(QDir(canonical).mkdir(u"folder"_qs));
        QVERIFY(QFile::link(canonical, canonical + u"/folder/back"_qs));
        QCOMPARE(GetShortPathName(dir->path() + form), canonical);
    }

    // The Italian failure text, whatever the language; a NUL ends a text.
    void aMissingFolderHasNoShortPath()
    {
        const QString gone = path(u"no such folder"_qs);
        QCOMPARE(GetShortPathName(gone), u"Impossibile trovare il file o la cartella: "_qs + gone);
        QCOMPARE(StripTerminator(u"abc"_qs), u"abc"_qs);
        QCOMPARE(StripTerminator(QStringView(u"\0abc", 4).toString()), QString());
        QCOMPARE(StripTerminator(QStringView(u"ab\0c", 4).toString()), u"ab"_qs);
    }

    // A large folder is sorted in parts at once: a part not waited for shows
    // only now and then, so again and again.
    void namesSortByNumberAndLetterCaseAside()
    {
        QStringList expected;
        for (int number = 1; number <= 20000; ++number)
            expected.append((number % 2 ? u"Disc"_qs : u"disc"_qs) + QString::number(number));
        for (int round = 0; round < 10; ++round) {
            QStringList names = expected;
            std::shuffle(names.begin(), names.end(), QRandomGenerator(round));
            sortNames(names);
            QCOMPARE(names, expected);
        }
        // Names alike but for letter case, by their characters.
        QStringList alike{u"disc.bin"_qs, u"Disc.bin"_qs, u"DISC.bin"_qs};
        sortNames(alike);
        QCOMPARE(alike, QStringList({u"DISC.bin"_qs, u"Disc.bin"_qs, u"disc.bin"_qs}));
    }

    void aDrivesRootLeadsItsPaths_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("volume");
        QTest::addColumn<int>("designated");
        QTest::newRow("a path on the disc") << u"/media/cd/x"_qs << 1 << -1;
        QTest::newRow("a root that only begins like it") << u"/media/cd2"_qs << 0 << -1;
        QTest::newRow("the disc's drive list entry") << u"/media/cd [DISC]"_qs << 1 << 1;
        QTest::newRow("the disc's root") << u"/media/cd"_qs << 1 << 1;
    }
    // A relative root, and a root given twice, are no drives.
    void aDrivesRootLeadsItsPaths()
    {
        QFETCH(QString, text);
        QFETCH(int, volume);
        QFETCH(int, designated);
        QHash<QString, QString> current;
        const Drives drives({{u"/"_qs, u"system"_qs},
                             {u"/media/cd"_qs, u"DISC"_qs},
                             {u"/media/cd/"_qs, QString()},
                             {u"relative"_qs, QString()}},
                            current, u"/media/cd/games"_qs);
        QCOMPARE(drives.count(), 2);
        QCOMPARE(drives.volumeOf(text), volume);
        QCOMPARE(drives.designated(text), designated);
    }

    void theDrivesAreWhatAPersonBrowses_data()
    {
        QTest::addColumn<Mount>("mount");
        QTest::addColumn<bool>("listed");
        const auto row = [](const char *name, Mount mount, bool listed) {
            QTest::newRow(name) << mount << listed;
        };
        row("a disc", {u"/media/cdrom0"_qs, "iso9660", u"DISC"_qs, true}, true);
        row("a stick under /run/media", {u"/run/media/ann/STICK"_qs, "vfat", u"STICK"_qs}, true);
        row("a read-only disk", {u"/mnt/locked"_qs, "ext4", u"LOCKED"_qs, true}, true);
        row("memory under /run", {u"/run/user/1000"_qs, "tmpfs", {}}, false);
        row("/proc", {u"/proc"_qs, "proc", {}}, false);
        row("a snap image", {u"/snap/core/1"_qs, "squashfs", {}, true}, false);
        row("read-only memory", {u"/srv"_qs, "tmpfs", {}, true}, false);
        row("a drive without a medium", {u"/media/gone"_qs, "vfat", u"GONE"_qs, false, false},
            false);
        row("devices", {u"/devices"_qs, "devtmpfs", {}}, false);
        row("the system's programs", {u"/usr"_qs, "ext4", {}, true}, false);
    }
    // The system's root always first, the others by root, each with its name.
    void theDrivesAreWhatAPersonBrowses()
    {
        QFETCH(Mount, mount);
        QFETCH(bool, listed);
        QStringList shown;
        for (const Volume &volume :
             userVolumes({{u"/media/a"_qs, "vfat", u"A"_qs}, mount, {u"/"_qs, "ext4", u"root"_qs}}))
            shown << volume.root + u" ["_qs + volume.label + u']';
        QStringList expected{u"/ [root]"_qs, u"/media/a [A]"_qs};
        if (listed)
            expected.insert(mount.root < u"/media/a" ? 1 : 2,
                            mount.root + u" ["_qs + mount.name + u']');
        QCOMPARE(shown, expected);
    }

    void aProgramIsKnownByItsHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ProgramKind>("kind");
        QTest::newRow("x86-64") << windowsProgram(0x8664) << ProgramKind::Windows64;
        QTest::newRow("arm64") << windowsProgram(0xaa64) << ProgramKind::Windows64;
        QTest::newRow("i386") << windowsProgram(0x14c) << ProgramKind::Windows32;
        QTest::newRow("MZ alone") << QByteArray("MZ") << ProgramKind::Windows32;
        QTest::newRow("a script") << QByteArray("#!/bin/sh\n") << ProgramKind::Native;
    }
    void aProgramIsKnownByItsHeader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(ProgramKind, kind);
        QVERIFY(write(path(u"sse.exe"_qs), bytes));
        QCOMPARE(programKind(path(u"sse.exe"_qs)), kind);
    }

    void aWineWithoutIts32BitPartIsKnown_data()
    {
        QTest::addColumn<QStringList>("loaders");
        QTest::addColumn<bool>("runs32Bit");
        QTest::newRow("laid out otherwise") << QStringList() << true;
        QTest::newRow("the 64-bit loader alone") << QStringList{u"wine64"_qs} << false;
        QTest::newRow("both loaders") << QStringList{u"wine64"_qs, u"wine"_qs} << true;
    }
    // Debian's layout: bin/wine runs lib/wine/wine of the package wine32 when
    // it is there, else lib/wine/wine64, which runs 64-bit programs only.
    void aWineWithoutIts32BitPartIsKnown()
    {
        QFETCH(QStringList, loaders);
        QFETCH(bool, runs32Bit);
        QVERIFY(QDir(dir->path()).mkpath(u"bin"_qs));
        QVERIFY(QDir(dir->path()).mkpath(u"lib/wine"_qs));
        QVERIFY(write(path(u"bin/wine"_qs), "#!/bin/sh\n", true));
        for (const QString &loader : loaders)
            QVERIFY(write(path(u"lib/wine/"_qs + loader), "", true));
        QVERIFY(QFile::link(path(u"bin/wine"_qs), path(u"wine-link"_qs)));
        QCOMPARE(InstalledWine().runs32Bit(path(u"wine-link"_qs)), runs32Bit);
    }

    // Whatever the environment, Wine's character locale is UTF-8, every other
    // category resolves as it did for KIVO, and a UTF-8 one stays as it is.
    // Seeded environments: each variable unset, empty or a locale of some kind.
    void wineReadsNamesInUtf8AndKeepsTheRest()
    {
        const QStringList categories{
            u"LC_CTYPE"_qs,       u"LC_COLLATE"_qs, u"LC_MESSAGES"_qs, u"LC_MONETARY"_qs,
            u"LC_NUMERIC"_qs,     u"LC_TIME"_qs,    u"LC_ADDRESS"_qs,  u"LC_IDENTIFICATION"_qs,
            u"LC_MEASUREMENT"_qs, u"LC_NAME"_qs,    u"LC_PAPER"_qs,    u"LC_TELEPHONE"_qs};
        const QStringList values{QString(),         u"C"_qs,     u"POSIX"_qs,
                                 u"fr_FR.UTF-8"_qs, u"it_IT"_qs, u"de_DE.ISO-8859-1"_qs,
                                 u"C.utf8"_qs};
        static const QRegularExpression utf8(u"utf-?8"_qs,
                                             QRegularExpression::CaseInsensitiveOption);
        QRandomGenerator random(17);
        for (int round = 0; round < 500; ++round) {
            QProcessEnvironment environment;
            for (const QString &name : categories + QStringList{u"LC_ALL"_qs, u"LANG"_qs})
                if (const int pick = random.bounded(int(values.size()) + 3); pick < values.size())
                    environment.insert(name, values.at(pick));
            const QProcessEnvironment forWine = wineEnvironment(environment);
            QVERIFY2(resolved(forWine, u"LC_CTYPE"_qs).contains(utf8),
                     qPrintable(environment.toStringList().join(u' ')));
            for (const QString &category : categories.mid(1))
                QCOMPARE(resolved(forWine, category), resolved(environment, category));
            if (resolved(environment, u"LC_CTYPE"_qs).contains(utf8))
                QCOMPARE(forWine, environment);
        }
    }

    void gnomeOnWaylandGetsXWaylandFirst_data()
    {
        QTest::addColumn<QStringList>("variables");
        QTest::addColumn<QString>("platforms");
        const auto row = [](const char *name, const char *variables, const char *platforms) {
            QTest::newRow(name) << words(variables) << QString::fromUtf8(platforms);
        };
        row("GNOME with a Wayland display", "XDG_CURRENT_DESKTOP=ubuntu:GNOME WAYLAND_DISPLAY=w",
            "xcb;wayland");
        row("GNOME's Wayland session", "XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=wayland",
            "xcb;wayland");
        row("KDE on Wayland", "XDG_CURRENT_DESKTOP=KDE WAYLAND_DISPLAY=w", "");
        row("GNOME on X11", "XDG_CURRENT_DESKTOP=GNOME XDG_SESSION_TYPE=x11", "");
        row("a platform the user chose",
            "XDG_CURRENT_DESKTOP=GNOME WAYLAND_DISPLAY=w QT_QPA_PLATFORM=wayland", "");
    }
    void gnomeOnWaylandGetsXWaylandFirst()
    {
        QFETCH(QStringList, variables);
        QFETCH(QString, platforms);
        QProcessEnvironment environment;
        for (const QString &variable : variables)
            environment.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
        QCOMPARE(preferredPlatforms(environment), platforms);
    }
};

QTEST_GUILESS_MAIN(TestBase)
#include "test_base.moc"

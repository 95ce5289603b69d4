// What needs no window: the message catalogue, the settings file, command
// lines, Wine and the desktop session, folders, short paths and drives.

#include "lang/messages.h"
#include "mainwindow/session.h"
#include "mainwindow/settingsstore.h"
#include "mainwindow/wine.h"
#include "picker/drives.h"
#include "picker/folderlisting.h"
#include "picker/mountedvolumes.h"
#include "picker/shortpath.h"

#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Messages;
using namespace kivo;

class TestBase : public QObject
{
    Q_OBJECT

private slots:
    void messagesAndTheSettingsFile();
    void commandLinesWineFoldersAndDrives();
};

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

static const auto words = [](const char *text) { return QString::fromUtf8(text).split(u' '); };

// Each write of QSettings replaces the file: a new inode means it was written.
static ino_t inode(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

// A Windows program for that machine: "MZ", and at 0x40 the PE header.
static QByteArray windowsProgram(quint16 machine)
{
    QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
    bytes[0x3c] = char(0x40);
    return bytes + QByteArray("PE\0\0", 4) + char(machine & 0xff) + char(machine >> 8);
}

// Seeded text with what the INI format of QSettings treats specially: blanks
// at the ends, quotes, backslashes, separators, '@' first, control characters,
// letters beyond ASCII; sometimes empty.
static QString oddText(QRandomGenerator &random)
{
    static constexpr char32_t pool[] = U"\0 \"\\,;=#@\t\n\r\x01\x1f\x7f"
                                       U"aZ09éÿĀ中文\U0001F600";
    QString text = random.bounded(4) == 0 ? u"@"_qs : QString();
    for (int length = random.bounded(8); length > 0; --length)
        text += QString::fromUcs4(&pool[random.bounded(int(std::size(pool)) - 1)], 1);
    return text;
}

void TestBase::messagesAndTheSettingsFile()
{
    for (const Message *message = catalogueBegin(); message != catalogueEnd(); ++message) {
        for (const QStringView text : message->texts.column) {
            // Lines join with a lone carriage return, and no line starts with a blank.
            QVERIFY2(!text.trimmed().isEmpty() && !text.contains(u'\n'), message->name);
            QVERIFY2(!text.startsWith(u' ') && !text.contains(u"\r "), message->name);
            // The placeholders of the first language, each as often.
            for (const QString &mark : words("%0 %1 %2 %3 %4 %5 %6 %7 %8 %9"))
                QCOMPARE(text.count(mark), message->texts.column[0].count(mark));
        }
    }

    // Only the three names, exactly, are languages.
    for (const QString &name : {QString(), u"english"_qs, u"Francais"_qs, u"Italiano "_qs})
        QVERIFY(!isLanguage(name) && msgromdirname(name, u"sss"_qs).isEmpty());

    // The first box a user meets, letter for letter; values go in as they are.
    const QString english = u"English"_qs, odd = u"%2 %1 100%"_qs;
    QCOMPARE(msgfirstrun(english), QStringLiteral("This is the first run: KIVO has created a "
                                                  "necessary file to run SSE.\rClick again on "
                                                  "'Run SSE' button to start."));
    QVERIFY(msgnotstarted(english, odd, u"%1 failed"_qs).endsWith(u"%1 failed"));
    QCOMPARE(msgnotexecutable(english, odd).count(odd), 2);

    QTemporaryDir dir;
    QRandomGenerator random(1969);

    // Any file, hand-edited too, reads as QSettings reads it; each save is on
    // the disk at once, and QSettings still reads everything else as before.
    // The pieces, between bars: sections, keys, what values escape, line breaks.
    const QList<QByteArray> pieces =
        QByteArray("[General]\n|[Last%20Folders]\n|[a%U00e9\\b]\n|"
                   "\nkey|\nk%20y%zz%U|\nk%U4e2d|=|\\|\"|,|;|"
                   "@@| |\t|\r\n|\r|\\\r\n|\\\n\r|é|\\xAa1|\\101|\\n|v|"
                   "\"v \t|\"v\" |v ,|\\77|\\0|\\\"")
            .split('|');
    const auto text = [](const QVariant &value) {
        const QString one = value.toString();
        return one.isEmpty() ? value.toStringList().join(u", ") : one;
    };
    for (int round = 0; round < 300; ++round) {
        QByteArray content;
        for (int piece = random.bounded(30); piece > 0; --piece)
            content += pieces[random.bounded(int(pieces.size()))];
        const QString file = dir.filePath(u"any%1.ini"_qs.arg(round));
        QVERIFY(write(file, content));
        QMap<QString, QString> before;
        const QSettings reader(file, QSettings::IniFormat);
        // Not the keys QSettings lists but reads under another name ("/k" as
        // "k"): KIVO asks for none of them.
        static const QRegularExpression renamed(u"^/|/$|//"_qs);
        for (const QString &key : reader.allKeys())
            if (const QVariant value = reader.value(key); value.isValid() && !key.contains(renamed))
                before[key] = text(value);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            const QString key = it.key().contains(u'/') ? it.key() : u"General/"_qs + it.key();
            QCOMPARE(IniSettingsStore(file).get(key.section(u'/', 0, 0), key.section(u'/', 1)),
                     *it);
        }
        // Odd values: what QSettings writes the store reads, and the other way round.
        const QString theirs = oddText(random), ours = oddText(random);
        QSettings(file, QSettings::IniFormat).setValue(u"Last Folders/theirs"_qs, theirs);
        IniSettingsStore store(file);
        QCOMPARE(store.get(sectionLastFolders, u"theirs"_qs), theirs);
        store.save(sectionGeneral, u"ours"_qs, ours);
        const QSettings after(file, QSettings::IniFormat);
        QCOMPARE(after.value(u"ours"_qs).toString(), ours);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(text(after.value(it.key())), *it);
    }

    // What KIVO does not write stays as it was; a list reads as its items;
    // names are written as QSettings writes them.
    const QString path = dir.filePath(u"KIVO.ini"_qs);
    QVERIFY(write(path, "[Other]\n; a note\nk=v\n[General]\nrect=@Rect(1 2 3 4)\nlist=a, @@b\n"));
    IniSettingsStore store(path);
    QCOMPARE(store.get(sectionGeneral, u"list"_qs), u"a, @b"_qs);
    store.save(sectionGeneral, u"k-0.x"_qs, u"no"_qs);
    store.save(sectionLastFolders, u"k-0.x"_qs, u"no"_qs);
    const QSettings reader(path, QSettings::IniFormat);
    QCOMPARE(reader.value(u"rect"_qs).toRect(), QRect(1, 2, 3, 4));
    QCOMPARE(reader.value(u"list"_qs).toStringList(), QStringList({u"a"_qs, u"@b"_qs}));
    QCOMPARE(reader.value(u"Other/k"_qs).toString(), u"v"_qs);
    QVERIFY(onDisk(path).startsWith("[General]\nk-0.x=no\n") &&
            onDisk(path).contains("\n[Last%20Folders]\n"));

    // An unchanged value is not written again; a held batch once, and only
    // when it changes something.
    const ino_t before = inode(path);
    store.save(sectionGeneral, u"k-0.x"_qs, u"no"_qs);
    store.hold();
    store.save(sectionGeneral, u"k-0.x"_qs, u"yes"_qs);
    store.save(sectionGeneral, u"k-0.x"_qs, u"no"_qs);
    store.release();
    QCOMPARE(inode(path), before);
    store.hold();
    store.save(sectionGeneral, u"k-0.x"_qs, u"yes"_qs);
    store.save(sectionGeneral, u"new"_qs, u"1"_qs);
    QVERIFY(store.get(sectionGeneral, u"k-0.x"_qs) == u"yes" && inode(path) == before);
    store.release();
    QVERIFY(onDisk(path).contains("\nnew=1\n"));

    // Two windows on one file, whose writes have the same size and time. Two
    // names of one folder keep QSettings of one process from sharing the file.
    QVERIFY(QFile::link(dir.path(), dir.filePath(u"same"_qs)));
    const QString shared = dir.filePath(u"shared.ini"_qs);
    const QByteArray sharedName = QFile::encodeName(shared);
    IniSettingsStore one(shared), other(dir.filePath(u"same/shared.ini"_qs));
    for (int round = 100; round < 200; ++round) {
        const QString value = u"value_%1"_qs.arg(round);
        struct stat earlier = {};
        const bool existed = ::stat(sharedName.constData(), &earlier) == 0;
        one.save(sectionGeneral, u"a"_qs, value);
        const timespec times[2] = {{0, UTIME_OMIT}, earlier.st_mtim};
        QVERIFY(!existed || ::utimensat(AT_FDCWD, sharedName.constData(), times, 0) == 0);
        other.save(sectionGeneral, u"b"_qs, value);
        for (const QString &key : {u"a"_qs, u"b"_qs})
            QCOMPARE(IniSettingsStore(shared).get(sectionGeneral, key), value);
    }

    // Where nothing can be written, for root too: a file where the folder
    // should be. A held batch is one write, reported once; the values hold
    // for the run. Nor is a file that cannot be read (a socket) written over.
    QStringList failures;
    const auto record = [&](const SaveFailure &lost) { failures << lost.file + lost.reason; };
    QVERIFY(write(dir.filePath(u"file"_qs), "x"));
    IniSettingsStore nowhere(dir.filePath(u"file/KIVO.ini"_qs)), socket(dir.filePath(u"s.ini"_qs));
    QVERIFY(::mknod(QFile::encodeName(socket.fileName()).constData(), S_IFSOCK | 0600, 0) == 0);
    nowhere.failed = store.failed = one.failed = socket.failed = record;
    socket.save(sectionGeneral, u"a"_qs, u"1"_qs);
    QVERIFY(failures.size() == 1 && !QFileInfo(socket.fileName()).isFile());
    failures.clear();
    nowhere.hold();
    nowhere.save(sectionGeneral, u"a"_qs, u"1"_qs);
    nowhere.save(sectionLastFolders, u"b"_qs, u"2"_qs);
    nowhere.release();
    QCOMPARE(failures, QStringList{nowhere.fileName() + qt_error_string(ENOTDIR)});
    QVERIFY(nowhere.get(sectionLastFolders, u"b"_qs) == u"2" && !QFile::exists(nowhere.fileName()));

    // While one window waits for the lock, the other writes the same value:
    // nothing is lost, so nothing is reported.
    QLockFile busy(shared + u".lock"_qs);
    QVERIFY(busy.lock());
    std::thread waiting([&] { one.save(sectionGeneral, u"a"_qs, u"both"_qs); });
    // Time to reach the lock; a slow start only makes the check weaker, never wrong.
    QThread::msleep(200);
    QVERIFY(write(shared, "[General]\na=both\n"));
    busy.unlock();
    waiting.join();

    // A full disk, for root too: no file may grow past the size of the old one.
    const QByteArray old = onDisk(path);
    rlimit limit{};
    QVERIFY(::getrlimit(RLIMIT_FSIZE, &limit) == 0);
    const rlimit full{rlim_t(old.size()), limit.rlim_max};
    const auto signalWas = std::signal(SIGXFSZ, SIG_IGN);
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &full) == 0);
    store.save(sectionLastFolders, u"longer"_qs, u"a value that makes the file longer"_qs);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, signalWas);
    QCOMPARE(failures.mid(1), QStringList{path + qt_error_string(EFBIG)});
    QCOMPARE(store.get(sectionLastFolders, u"longer"_qs), u"a value that makes the file longer"_qs);
    QCOMPARE(onDisk(path), old);
    QCOMPARE(QDir(dir.path()).entryList({u"KIVO.ini*"_qs}, QDir::AllEntries | QDir::Hidden),
             QStringList{u"KIVO.ini"_qs});
}

// Names stay whole on a command line. Each kind of program is started its
// way, or refused with the reason; a folder named like the program is passed
// over, as Wine passes it over.
void TestBase::commandLinesWineFoldersAndDrives()
{
    QTemporaryDir dir;
    const QString folder = QDir(dir.path()).canonicalPath(), program = folder + u"/Sse.exe"_qs;
    const QByteArray base = QFile::encodeName(folder) + '/';
    for (const char *name :
         {"b.bin", "A.BIN", ".hidden", "README", "bad\xff.bin", "HEADERS", "sse.EXE", "Sse.exe"})
        QVERIFY(::close(::creat((base + name).constData(), 0644)) == 0);
    for (const char *name : {"Headers", "SSE.EXE", "bad\xfe folder"})
        QVERIFY(::mkdir((base + name).constData(), 0755) == 0);
    // QTemporaryDir cannot name these to remove them.
    const auto undecodable = qScopeGuard([&] {
        ::unlink((base + "bad\xff.bin").constData());
        ::rmdir((base + "bad\xfe folder").constData());
    });
    QVERIFY(QFile::link(folder + u"/README"_qs, folder + u"/link"_qs));
    QVERIFY(QFile::link(folder + u"/gone"_qs, folder + u"/dangling"_qs));

    // No hidden names, none that would not come back to the same bytes.
    QStringList files = listFolder(folder, EntryKind::Files);
    QStringList folders = listFolder(folder, EntryKind::Folders);
    sortNames(files);
    sortNames(folders);
    QCOMPARE(files, words("A.BIN b.bin HEADERS link README Sse.exe sse.EXE"));
    QCOMPARE(folders, words("Headers SSE.EXE"));

    // As Windows finds a name: the name itself, else its first case variant
    // by bytes, each time of the kind asked for.
    QCOMPARE(entryIgnoringCase(folder, u"sse.exe"_qs, EntryKind::Files), u"Sse.exe"_qs);
    QCOMPARE(entryIgnoringCase(folder, u"SSE.EXE"_qs, EntryKind::Files), u"Sse.exe"_qs);
    QCOMPARE(entryIgnoringCase(folder, u"sse.EXE"_qs, EntryKind::Files), u"sse.EXE"_qs);
    QCOMPARE(entryIgnoringCase(folder, u"sse.exe"_qs, EntryKind::Folders), u"SSE.EXE"_qs);
    QCOMPARE(entryIgnoringCase(folder, u"headers"_qs, EntryKind::Files), u"HEADERS"_qs);
    QCOMPARE(pathIgnoringCase(folder, u"headers"_qs), folder + u"/Headers"_qs);
    QCOMPARE(pathIgnoringCase(folder, u"readme"_qs), folder + u"/readme"_qs);

    // Short paths: the canonical path of any form of an existing folder.
    QVERIFY(QFile::link(folder, folder + u"/Headers/back"_qs));
    for (const QString &form :
         {dir.path() + u'/', dir.path() + u"/./"_qs, folder + u"/Headers/back"_qs, folder})
        QCOMPARE(GetShortPathName(form), folder);
    const QString gone = folder + u"/no such folder"_qs;
    QCOMPARE(GetShortPathName(gone), u"Impossibile trovare il file o la cartella: "_qs + gone);
    QCOMPARE(StripTerminator(u"abc"_qs), u"abc"_qs);
    QCOMPARE(StripTerminator(QChar(0) + u"abc"_qs), QString());
    QCOMPARE(StripTerminator(u"ab"_qs + QChar(0) + u'c'), u"ab"_qs);

    // Numbers by value, letter case aside, across the parts of a large folder
    // sorted at once, again and again: a part not waited for shows only now and then.
    QStringList many;
    for (int number = 20000; number > 0; --number)
        many.append((number % 2 ? u"Disc"_qs : u"disc"_qs) + QString::number(number));
    for (int round = 0; round < 10; ++round) {
        std::shuffle(many.begin(), many.end(), QRandomGenerator(round));
        sortNames(many);
        for (int number = 1; number <= 20000; ++number)
            QVERIFY(many.at(number - 1).endsWith(u"c"_qs + QString::number(number)));
    }

    // A drive's root leads a path path-wise; a drive list entry designates its drive.
    QHash<QString, QString> current;
    const Drives drives({{u"/"_qs, u"system"_qs},
                         {u"/media/cd"_qs, u"DISC"_qs},
                         {u"/media/cd/"_qs, QString()},
                         {u"relative"_qs, QString()}},
                        current, u"/media/cd/games"_qs);
    QCOMPARE(
        QList<int>({drives.count(), drives.volumeOf(u"/media/cd/x"_qs),
                    drives.volumeOf(u"/media/cd2"_qs), drives.designated(u"/media/cd [DISC]"_qs),
                    drives.designated(u"/media/cd/x"_qs)}),
        QList<int>({2, 1, 0, 1, -1}));

    // The drives a person browses: the system's root first, disks, discs and
    // sticks (under /media and /run/media); no pseudo or system file system.
    // Each: root, type, name, and "ro" for read-only or "gone" for not ready.
    QList<Mount> mounts;
    for (const QString &mount :
         words("/media/cdrom0,iso9660,DISC,ro /run/media/ann/STICK,vfat,STICK "
               "/,ext4,root /run/user/1000,tmpfs /proc,proc /home,ext4 "
               "/snap/core/1,squashfs,,ro /mnt/locked,ext4,,ro /srv,tmpfs,,ro "
               "/media/gone,vfat,,,gone /devices,devtmpfs /usr,ext4,,ro")) {
        const QStringList part = mount.split(u',');
        mounts.append({part[0], part[1].toUtf8(), part.value(2), part.value(3) == u"ro",
                       part.value(4) != u"gone"});
    }
    QStringList roots;
    for (const Volume &volume : userVolumes(mounts))
        roots << volume.root + u':' + volume.label;
    QCOMPARE(roots,
             words("/:root /home: /media/cdrom0:DISC /mnt/locked: /run/media/ann/STICK:STICK"));

    // What a program is, by its header; the end-to-end test starts each kind.
    for (const auto &[bytes, kind] : {qMakePair(windowsProgram(0xaa64), ProgramKind::Windows64),
                                      qMakePair(windowsProgram(0x14c), ProgramKind::Windows32),
                                      qMakePair(QByteArray("#!/bin/sh\n"), ProgramKind::Native)})
        QVERIFY(write(program, bytes) && programKind(program) == kind);

    // Debian's layout: bin/wine runs lib/wine/wine of the package wine32 when
    // it is there, else lib/wine/wine64, which runs 64-bit programs only.
    QVERIFY(QDir(folder).mkpath(u"bin"_qs) && QDir(folder).mkpath(u"lib/wine"_qs));
    const QString link = folder + u"/wine-link"_qs;
    QVERIFY(write(folder + u"/bin/wine"_qs, "#!/bin/sh\n", true) &&
            QFile::link(folder + u"/bin/wine"_qs, link));
    QVERIFY(InstalledWine().runs32Bit(link));
    QVERIFY(write(folder + u"/lib/wine/wine64"_qs, "", true) && !InstalledWine().runs32Bit(link));
    QVERIFY(write(folder + u"/lib/wine/wine"_qs, "", true) && InstalledWine().runs32Bit(link));

    // Whatever the environment, Wine's character locale is UTF-8, and every
    // other category resolves as it did for KIVO: to LC_ALL, else to its own
    // variable, else to LANG.
    const QStringList categories = words("LC_CTYPE LC_COLLATE LC_MESSAGES LC_MONETARY LC_NUMERIC "
                                         "LC_TIME LC_ADDRESS LC_IDENTIFICATION LC_MEASUREMENT "
                                         "LC_NAME LC_PAPER LC_TELEPHONE");
    const auto resolved = [](const QProcessEnvironment &environment, const QString &category) {
        for (const QString &name : {u"LC_ALL"_qs, category, u"LANG"_qs})
            if (!environment.value(name).isEmpty())
                return environment.value(name);
        return u"C"_qs;
    };
    static const QRegularExpression utf8(u"utf-?8"_qs, QRegularExpression::CaseInsensitiveOption);
    // The first value is the empty one.
    const QStringList values = words(" C POSIX fr_FR.UTF-8 it_IT de_DE.ISO-8859-1 C.utf8");
    QRandomGenerator random(17);
    for (int round = 0; round < 500; ++round) {
        QProcessEnvironment environment;
        for (const QString &name : categories + QStringList{u"LC_ALL"_qs, u"LANG"_qs})
            if (const int pick = random.bounded(int(values.size()) + 3); pick < values.size())
                environment.insert(name, values.at(pick));
        const QProcessEnvironment forWine = wineEnvironment(environment);
        QVERIFY(resolved(forWine, u"LC_CTYPE"_qs).contains(utf8));
        for (const QString &category : categories.mid(1))
            QCOMPARE(resolved(forWine, category), resolved(environment, category));
        if (resolved(environment, u"LC_CTYPE"_qs).contains(utf8))
            QCOMPARE(forWine, environment);
    }

    // On GNOME's Wayland session, XWayland first, unless the user chose.
    // Each case: the desktop, then NAME=value, joined by commas.
    const auto platforms = [](const QString &variables) {
        QProcessEnvironment environment;
        for (const QString &pair : (u"XDG_CURRENT_DESKTOP="_qs + variables).split(u','))
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        return preferredPlatforms(environment);
    };
    for (const QString &gnome :
         words("ubuntu:GNOME,WAYLAND_DISPLAY=wayland-0 GNOME,XDG_SESSION_TYPE=wayland"))
        QCOMPARE(platforms(gnome), u"xcb;wayland"_qs);
    for (const QString &other : words("KDE,WAYLAND_DISPLAY=wayland-0 GNOME,XDG_SESSION_TYPE=x11 "
                                      "GNOME,WAYLAND_DISPLAY=w,QT_QPA_PLATFORM=wayland"))
        QCOMPARE(platforms(other), QString());
}

QTEST_GUILESS_MAIN(TestBase)
#include "test_base.moc"

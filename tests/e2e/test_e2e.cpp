// The real kivo on a private desktop, used with the keyboard and as a screen
// reader would, and what the stand-in emulator received and KIVO.ini holds.

#include "desktop.h"

#include <QtTest>

class TestE2e : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(desktop.start(), qPrintable(desktop.error())); }
    void aWholeConfigurationByKeyboard();
    void eachStartEitherWorksOrSaysWhy();
    void aSecondBrowseAndABackupWithoutItsFile();

private:
    Desktop desktop;
};

// Deeper than 4,000 characters, names a shell would trip on, and the SSE
// folder as it came from Windows: SSE.EXE, Headers, BIOS.
void TestE2e::aWholeConfigurationByKeyboard()
{
    Desktop &d = desktop;
    QString deep;
    for (int level = 1; deep.size() < 3900; ++level)
        deep += QStringLiteral("level %1 ").arg(level).leftJustified(199, u'x') + u'/';
    const QString header = QStringLiteral("my \"game\" $(touch x); \\ é.sgh");
    const QString bios = QStringLiteral("Saturn 'v1' `id` ü.bin");
    const QString backup = QStringLiteral("back up; $HOME.bin");
    QVERIFY(d.prepare(deep + QStringLiteral("My SSé"), QStringLiteral("SSE.EXE")));
    QVERIFY(d.add(u"Headers/"_qs + header) && d.add(u"BIOS/"_qs + bios) && d.add(backup));
    const auto tab = [](int times) { return QStringList(times, QStringLiteral("Tab")); };
    const QStringList firstFile = tab(2) + words("Down Return");

    // Started from elsewhere; the first press prepares the emulator.
    QVERIFY2(d.startKivo({}, d.top()), qPrintable(d.error()));
    QCOMPARE(d.run(), QStringList{u"-resetcfg"_qs});
    QVERIFY2(d.confirm(QStringLiteral("^KIVO$")), qPrintable(d.error()));
    QCOMPARE(d.setting(QStringLiteral("firstrun")), QStringLiteral("no"));

    // Header, BIOS, the SSE folder (up from "BIOS"), the backup and its switch.
    QVERIFY(d.type(tab(2) + words("space")) && d.inPicker(firstFile));
    QVERIFY(d.type(tab(1) + words("space")) && d.inPicker(firstFile));
    QVERIFY(d.type(tab(8) + words("space")) && d.inPicker(tab(3) + words("Up Return alt+o")));
    QVERIFY(d.type(tab(1) + words("space")) && d.inPicker(firstFile));
    QVERIFY2(d.type(QStringList(8, QStringLiteral("shift+Tab")) + words("space") +
                    QStringList(5, QStringLiteral("shift+Tab"))),
             qPrintable(d.error()));
    const QStringList expected =
        saturnArguments(header, bios, words("-res 640 480 -stretch 0 -br") << backup);
    QCOMPARE(d.run(), expected);
    QCOMPARE(d.log().constLast().value(u"cwd").toString(), d.sse);
    QVERIFY(d.log().constLast().value(u"accepted").toBool());
    for (const auto &[key, value] : {std::pair{"text7", d.sse},
                                     {"text7tag", d.sse},
                                     {"text1tag", header},
                                     {"text3tag", bios},
                                     {"text5tag", backup}})
        QCOMPARE(d.setting(u"Last Folders/"_qs + QLatin1String(key)), value);

    // Killed, started again: the same line, and no box.
    QVERIFY(d.startKivo());
    QCOMPARE(d.run(), expected);
    QVERIFY(d.gone(QStringLiteral("^(KIVO|Error)$"), 1000));
}

// Missing, not runnable, a Windows program without wine or with a wine for
// 64-bit programs only, and one that wine starts, all under LANG=C.
void TestE2e::eachStartEitherWorksOrSaysWhy()
{
    Desktop &d = desktop;
    QVERIFY(d.prepare(QStringLiteral("My SSé")));
    const QString header = QStringLiteral("ゲーム 'x'.sgh");
    QVERIFY(d.add(u"headers/"_qs + header) && d.add(QStringLiteral("bios/b.bin")));
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                             {u"Last Folders/text1"_qs, header},
                             {u"Last Folders/text1tag"_qs, header},
                             {u"Last Folders/text3"_qs, u"b.bin"_qs},
                             {u"Last Folders/text3tag"_qs, u"b.bin"_qs}}));
    const QString exe = d.sse + QStringLiteral("/sse.exe");
    const QString wineLog = QStringLiteral("wine-standin.log");
    const auto program = [&](const QByteArray &content, bool runnable) {
        QFile::remove(exe);
        QFile file(exe);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
               file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                   (runnable ? QFile::ExeOwner : QFile::Permissions()));
    };
    const auto windows = [](quint16 machine) {
        QByteArray bytes = QByteArray("MZ").leftJustified(0x40, '\0');
        bytes[0x3c] = char(0x40);
        return bytes + QByteArray("PE\0\0", 4) + char(machine & 0xff) + char(machine >> 8);
    };
    // Debian's wine64 alone: bin/wine beside lib/wine/wine64, no lib/wine/wine.
    QTemporaryDir only64;
    const QString wine = QStringLiteral(WINE_STANDIN_DIR "/wine");
    QVERIFY(QDir(only64.path()).mkpath(u"lib/wine"_qs) && QDir(only64.path()).mkpath(u"bin"_qs));
    QVERIFY(QFile::copy(wine, only64.filePath(u"bin/wine"_qs)) &&
            QFile::copy(wine, only64.filePath(u"lib/wine/wine64"_qs)));
    QProcessEnvironment underC;
    underC.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    underC.insert(QStringLiteral("LC_ALL"), QString());
    const auto startWith = [&](const QString &path) {
        QProcessEnvironment changes = underC;
        changes.insert(QStringLiteral("PATH"), path);
        return d.startKivo(changes) && d.type({QStringLiteral("space")});
    };

    // Missing: KIVO is not in the SSE folder; it says so, and ends.
    QVERIFY(QFile::remove(exe) && startWith(only64.path()));
    QVERIFY2(d.confirm(QStringLiteral("^KIVO$")), qPrintable(d.error()));
    QVERIFY(d.kivo->waitForFinished(patience) && d.kivo->exitCode() == 0);

    const struct {
        QByteArray content;
        bool runnable;
        QString path;
        bool firstRun;
    } failing[] = {
        {"\x7f"
         "ELF not really\n",
         false, QStringLiteral(WINE_STANDIN_DIR), true},
        {"\x7f"
         "ELF not really\n",
         true, QStringLiteral(WINE_STANDIN_DIR), false},
        {windows(0x8664), true, only64.filePath(u"none"_qs), true},
        {windows(0x14c), true, only64.filePath(u"bin"_qs), true},
    };
    for (const auto &with : failing) {
        QVERIFY(d.writeSettings({{u"firstrun"_qs, with.firstRun ? QString() : u"no"_qs}}));
        QVERIFY(program(with.content, with.runnable));
        QVERIFY(startWith(with.path));
        QVERIFY2(d.confirm(QStringLiteral("^Error$")), qPrintable(d.error()));
        QVERIFY(d.gone(QStringLiteral("^(KIVO|Error)$"), 1000));
        QCOMPARE(d.kivo->state(), QProcess::Running);
        QCOMPARE(d.setting(u"firstrun"_qs), with.firstRun ? QString() : u"no"_qs);
        QVERIFY(d.log(wineLog).isEmpty());
    }

    // Wine gets the program's path, then every name unchanged, in the SSE
    // folder, with a UTF-8 character locale.
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs}}));
    QVERIFY(program(windows(0x8664), true) && startWith(QStringLiteral(WINE_STANDIN_DIR)));
    QVERIFY(QTest::qWaitFor([&] { return !d.log(wineLog).isEmpty(); }, patience));
    const QJsonObject started = d.log(wineLog).constFirst();
    QCOMPARE(argumentsOf(started),
             QStringList{exe} +
                 saturnArguments(header, u"b.bin"_qs, words("-res 640 480 -stretch 0")));
    QCOMPARE(started.value(u"codeset").toString(), QStringLiteral("UTF-8"));
    QCOMPARE(started.value(u"cwd").toString(), d.sse);
}

// Pressed while the picker is open, a Browse gives the picker of the new
// request, whose choice is what is handed over. A backup switch whose file
// was taken away passes no switch, and can still be cleared.
void TestE2e::aSecondBrowseAndABackupWithoutItsFile()
{
    Desktop &d = desktop;
    QVERIFY(d.prepare(QStringLiteral("SSE")));
    QVERIFY(d.add(QStringLiteral("headers/game.sgh")) && d.add(QStringLiteral("bios/bios.bin")) &&
            d.add(QStringLiteral("intback.bin")) && d.add(QStringLiteral("sse.cfg")));
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                             {u"opz1"_qs, u"1"_qs},
                             {u"Last Folders/text1"_qs, u"game.sgh"_qs},
                             {u"Last Folders/text1tag"_qs, u"game.sgh"_qs},
                             {u"Last Folders/text5"_qs, u"intback.bin"_qs},
                             {u"Last Folders/text5tag"_qs, u"intback.bin"_qs}}));
    QVERIFY(d.startKivo());

    // Header, then SSE folder: one level up from "headers", three Tabs on from Ok.
    QVERIFY2(d.press(QStringLiteral("System and Game"), QStringLiteral("Select Header")) &&
                 d.windows(pickerName).size() == 1 &&
                 d.press(QStringLiteral("Emulator Path"), QStringLiteral("Browse")),
             qPrintable(d.error()));
    QVERIFY(d.inPicker(words("Tab Tab Tab Up Return alt+o")));
    QCOMPARE(d.setting(QStringLiteral("Last Folders/text7")), d.sse);
    // SSE folder, then Saturn BIOS: the first file of "bios".
    QVERIFY2(d.press(QStringLiteral("Emulator Path"), QStringLiteral("Browse")) &&
                 d.windows(pickerName).size() == 1 &&
                 d.press(QStringLiteral("Bios"), QStringLiteral("Browse")),
             qPrintable(d.error()));
    QVERIFY(d.inPicker(words("Tab Tab Down alt+o")));
    QCOMPARE(d.run(), saturnArguments(u"game.sgh"_qs, u"bios.bin"_qs,
                                      words("-res 640 480 -stretch 0 -br intback.bin")));

    // The backup's picker confirmed with no file.
    QVERIFY(d.press(QStringLiteral("Advanced Settings"), QStringLiteral("Browse")));
    QVERIFY(d.inPicker(words("alt+o")));
    QCOMPARE(d.setting(QStringLiteral("Last Folders/text5tag")), QString());
    QCOMPARE(d.run(),
             saturnArguments(u"game.sgh"_qs, u"bios.bin"_qs, words("-res 640 480 -stretch 0")));
    QVERIFY(d.startKivo());
    QVERIFY(d.type(words("Tab Tab Tab Tab Tab space")));
    QVERIFY(QTest::qWaitFor([&] { return d.setting(u"opz1"_qs) == u"0"; }, patience));
}

QTEST_GUILESS_MAIN(TestE2e)
#include "test_e2e.moc"

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
        deep += u"level %1 "_qs.arg(level).leftJustified(199, u'x') + u'/';
    const QString header = u"my \"game\" $(touch x); \\ é.sgh"_qs;
    const QString bios = u"Saturn 'v1' `id` ü.bin"_qs;
    const QString backup = u"back up; $HOME.bin"_qs;
    QVERIFY(d.prepare(deep + u"My SSé"_qs, u"SSE.EXE"_qs));
    QVERIFY(d.add(u"Headers/"_qs + header) && d.add(u"BIOS/"_qs + bios) && d.add(backup));
    const auto tab = [](int times) { return QStringList(times, u"Tab"_qs); };
    const QStringList firstFile = tab(2) + words("Down Return");

    // Started from elsewhere; the first press prepares the emulator.
    QVERIFY2(d.startKivo({}, d.top()), qPrintable(d.error()));
    QCOMPARE(d.run(), QStringList{u"-resetcfg"_qs});
    QVERIFY2(d.confirm(u"^KIVO$"_qs), qPrintable(d.error()));
    QCOMPARE(d.setting(u"firstrun"_qs), u"no"_qs);

    // Header, BIOS, the SSE folder (up from "BIOS"), the backup and its switch.
    QVERIFY(d.type(tab(2) + words("space")) && d.inPicker(firstFile));
    QVERIFY(d.type(tab(1) + words("space")) && d.inPicker(firstFile));
    QVERIFY(d.type(tab(8) + words("space")) && d.inPicker(tab(3) + words("Up Return alt+o")));
    QVERIFY(d.type(tab(1) + words("space")) && d.inPicker(firstFile));
    QVERIFY2(
        d.type(QStringList(8, u"shift+Tab"_qs) + words("space") + QStringList(5, u"shift+Tab"_qs)),
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
    QVERIFY(d.gone(u"^(KIVO|Error)$"_qs, 1000));
}

// Missing, not runnable, a Windows program without wine or with a wine for
// 64-bit programs only, and one that wine starts, all under LANG=C.
void TestE2e::eachStartEitherWorksOrSaysWhy()
{
    Desktop &d = desktop;
    QVERIFY(d.prepare(u"My SSé"_qs));
    const QString header = u"ゲーム 'x'.sgh"_qs;
    QVERIFY(d.add(u"headers/"_qs + header) && d.add(u"bios/b.bin"_qs));
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                             {u"Last Folders/text1"_qs, header},
                             {u"Last Folders/text1tag"_qs, header},
                             {u"Last Folders/text3"_qs, u"b.bin"_qs},
                             {u"Last Folders/text3tag"_qs, u"b.bin"_qs}}));
    const QString exe = d.sse + u"/sse.exe"_qs;
    const QString wineLog = u"wine-standin.log"_qs;
    const auto program = [&](const QByteArray &content, bool runnable) {
        QFile::remove(exe);
        QFile file(exe);
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
               file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                                   (runnable ? QFile::ExeOwner : QFile::Permissions()));
    };
    // For x86-64: the PE header, found at 0x40, names the machine. "MZ" alone runs as 32-bit.
    const QByteArray windows64 =
        QByteArray("MZ").leftJustified(0x3c, '\0') + QByteArray("\x40\0\0\0PE\0\0\x64\x86", 10);
    // Debian's wine64 alone: bin/wine beside lib/wine/wine64, no lib/wine/wine.
    QTemporaryDir only64;
    const QString wine = QStringLiteral(WINE_STANDIN_DIR "/wine");
    QVERIFY(QDir(only64.path()).mkpath(u"lib/wine"_qs) && QDir(only64.path()).mkpath(u"bin"_qs));
    QVERIFY(QFile::copy(wine, only64.filePath(u"bin/wine"_qs)) &&
            QFile::copy(wine, only64.filePath(u"lib/wine/wine64"_qs)));
    QProcessEnvironment underC;
    underC.insert(u"LANG"_qs, u"C"_qs);
    underC.insert(u"LC_ALL"_qs, QString());
    const auto startWith = [&](const QString &path) {
        QProcessEnvironment changes = underC;
        changes.insert(u"PATH"_qs, path);
        return d.startKivo(changes) && d.type({u"space"_qs});
    };
    // No SSE.EXE in any case: KIVO is not in the SSE folder; it says so and ends.
    QVERIFY(QFile::remove(exe) && startWith(only64.path()) && d.confirm(u"^KIVO$"_qs));
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
        {windows64, true, only64.filePath(u"none"_qs), true},
        {QByteArray("MZ"), true, only64.filePath(u"bin"_qs), true},
    };
    for (const auto &with : failing) {
        QVERIFY(d.writeSettings({{u"firstrun"_qs, with.firstRun ? QString() : u"no"_qs}}));
        QVERIFY(program(with.content, with.runnable) && startWith(with.path));
        QVERIFY2(d.confirm(u"^Error$"_qs), qPrintable(d.error()));
        QVERIFY(d.gone(u"^(KIVO|Error)$"_qs, 1000) && d.kivo->state() == QProcess::Running);
        QVERIFY(d.log(wineLog).isEmpty());
        QCOMPARE(d.setting(u"firstrun"_qs), with.firstRun ? QString() : u"no"_qs);
    }

    // Wine gets the program's path, then every name unchanged, in the SSE
    // folder, with a UTF-8 character locale.
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs}}));
    QVERIFY(program(windows64, true) && startWith(QStringLiteral(WINE_STANDIN_DIR)));
    QVERIFY(QTest::qWaitFor([&] { return !d.log(wineLog).isEmpty(); }, patience));
    const QJsonObject started = d.log(wineLog).constFirst();
    QCOMPARE(argumentsOf(started),
             QStringList{exe} +
                 saturnArguments(header, u"b.bin"_qs, words("-res 640 480 -stretch 0")));
    QCOMPARE(started.value(u"codeset").toString(), u"UTF-8"_qs);
    QCOMPARE(started.value(u"cwd").toString(), d.sse);
}

// Pressed while the picker is open, a Browse gives the picker of the new
// request, whose choice is what is handed over. A backup switch whose file
// was taken away passes no switch, and can still be cleared.
void TestE2e::aSecondBrowseAndABackupWithoutItsFile()
{
    Desktop &d = desktop;
    QVERIFY(d.prepare(u"SSE"_qs));
    QVERIFY(d.add(u"headers/game.sgh"_qs) && d.add(u"bios/bios.bin"_qs) &&
            d.add(u"intback.bin"_qs) && d.add(u"sse.cfg"_qs));
    QVERIFY(d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                             {u"opz1"_qs, u"1"_qs},
                             {u"Last Folders/text1"_qs, u"game.sgh"_qs},
                             {u"Last Folders/text1tag"_qs, u"game.sgh"_qs},
                             {u"Last Folders/text5"_qs, u"intback.bin"_qs},
                             {u"Last Folders/text5tag"_qs, u"intback.bin"_qs}}));
    QVERIFY(d.startKivo());

    // Header, then SSE folder: one level up from "headers", three Tabs on from Ok.
    QVERIFY(d.press(u"System and Game"_qs, u"Select Header"_qs));
    QString first = d.windows(pickerName).value(0);
    QVERIFY2(d.press(u"Emulator Path"_qs, u"Browse"_qs), qPrintable(d.error()));
    QVERIFY(d.inPicker(words("Tab Tab Tab Up Return alt+o"), first));
    QTRY_COMPARE(d.setting(u"Last Folders/text7"_qs), d.sse); // written as the picker closes
    // SSE folder, then Saturn BIOS: the first file of "bios".
    QVERIFY(d.press(u"Emulator Path"_qs, u"Browse"_qs));
    first = d.windows(pickerName).value(0);
    QVERIFY2(d.press(u"Bios"_qs, u"Browse"_qs), qPrintable(d.error()));
    QVERIFY(d.inPicker(words("Tab Tab Down alt+o"), first));
    QCOMPARE(d.run(), saturnArguments(u"game.sgh"_qs, u"bios.bin"_qs,
                                      words("-res 640 480 -stretch 0 -br intback.bin")));

    // The backup's picker confirmed with no file.
    QVERIFY(d.press(u"Advanced Settings"_qs, u"Browse"_qs));
    QVERIFY(d.inPicker(words("alt+o")));
    QTRY_COMPARE(d.setting(u"Last Folders/text5tag"_qs), QString());
    QCOMPARE(d.run(),
             saturnArguments(u"game.sgh"_qs, u"bios.bin"_qs, words("-res 640 480 -stretch 0")));
    QVERIFY(d.startKivo());
    QVERIFY(d.type(words("Tab Tab Tab Tab Tab space")));
    QVERIFY(QTest::qWaitFor([&] { return d.setting(u"opz1"_qs) == u"0"; }, patience));
}

QTEST_GUILESS_MAIN(TestE2e)
#include "test_e2e.moc"

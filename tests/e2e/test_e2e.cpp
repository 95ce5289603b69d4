// The real kivo on a private desktop, used with the keyboard and as a screen
// reader would, and what the stand-in emulator received and KIVO.ini holds;
// last, what Orca, the screen reader of Debian's desktops, says of it: its
// own words, as its debug log has them, checked against what AT-SPI shows
// of the same controls.

#include "desktop.h"
#include "lang/messages.h"

class TestE2e : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void aWholeConfigurationByKeyboard();
    void aKilledKivoLeavesNoTemporaryFiles();
    void noEmulatorBesideKivoEndsIt();
    void aStartThatCannotWorkSaysWhy_data();
    void aStartThatCannotWorkSaysWhy();
    void aWindowsProgramStartsThroughAWineFor64BitOnes();
    void anUnwritableSettingsFolderIsSaidOnce();
    void everyControlOfTheFourWindowsSaysWhatItIs();
    void runSseSaysTheLineItStarts();
    void cdDriveSaysWinesDriveLetters();
    void italianIsHeardOnEveryList();
    void theKeyboardAndAScreenReaderWorkTheLists();
    void aClosedPickersListsAnswerAScreenReaderNoMore();
    void eachObjectSaysWhereItsParentListsIt();
    void orcaSaysTheResolutionOnFocusAndAfterDown_data();
    void orcaSaysTheResolutionOnFocusAndAfterDown();
    void orcaTellsTheBiosBrowseButtonsApart();
    void orcaSaysTheHeaderChosenInThePicker();
    void orcaSaysTheStvPromptAgainOnTheBlankEntry();
    void orcaReadsAboutsTextWhenItOpens();

private:
    bool prepareOddStart();
    bool writeEmulator(const QByteArray &content, bool runnable);
    bool startUnderC(const QString &path);
    const QString oddHeader = u"ゲーム 'x'.sgh"_qs, wineDir = QStringLiteral(WINE_STANDIN_DIR),
                  wineLog = u"wine-standin.log"_qs;
    const QByteArray windows64 = windowsProgram(0x8664);
    // Debian's wine64 alone: bin/wine beside lib/wine/wine64, no lib/wine/wine.
    QTemporaryDir only64;

    // kivo with a header and BIOS chosen and Wine drive letters of its own,
    // About, the launcher and the picker open over it.
    bool startWithEveryWindow();
    std::unique_ptr<QTemporaryDir> prefix;
    // Orca on the desktop from the first call on, and kivo in the language,
    // once Orca read the control focused at its start.
    bool withOrca(const QString &language = u"English"_qs);

    Desktop d;
    const QString header = u"demo.sgh"_qs, bios[2] = {u"saturn-demo.bin"_qs, u"stv-demo.bin"_qs};
};

void TestE2e::initTestCase()
{
    QVERIFY2(d.start(), qPrintable(d.error()));
    for (const QString &to : {u"bin/wine"_qs, u"lib/wine/wine64"_qs})
        QVERIFY(QDir(only64.path()).mkpath(QFileInfo(to).path()) &&
                QFile::copy(wineDir + u"/wine"_qs, only64.filePath(to)));
}

// Deeper than 4,000 characters, names a shell would trip on, and the SSE
// folder as it came from Windows: SSE.EXE, Headers, BIOS.
void TestE2e::aWholeConfigurationByKeyboard()
{
    QString deep;
    for (int level = 1; deep.size() < 3900; ++level)
        deep += u"level %1 "_qs.arg(level).leftJustified(199, u'x') + u'/';
    const QString header = u"my \"game\" $(touch x); \\ é.sgh"_qs,
                  bios = u"Saturn 'v1' `id` ü.bin"_qs, backup = u"back up; $HOME.bin"_qs;
    QVERIFY(d.prepare(deep + u"My SSé"_qs, {u"Headers/"_qs + header, u"BIOS/"_qs + bios, backup},
                      u"SSE.EXE"_qs));

    // Started from elsewhere; the first press prepares the emulator.
    QVERIFY2(d.startKivo({}, d.top()), qPrintable(d.error()));
    QCOMPARE(d.run(), QStringList{u"-resetcfg"_qs});
    QVERIFY2(d.confirm(u"^KIVO$"_qs), qPrintable(d.error()));
    QCOMPARE(d.setting(u"firstrun"_qs), u"no"_qs);

    // Header, BIOS, the SSE folder (up from "BIOS"), the backup and its switch.
    for (const int tabs : {2, 1, 8, 1}) {
        const char *choose = tabs == 8 ? "Tab Tab Tab Up Return alt+o" : "Tab Tab Down Return";
        QVERIFY(d.type(QStringList(tabs, u"Tab"_qs) << u"space"_qs) && d.inPicker(words(choose)));
    }
    const QStringList back(8, u"shift+Tab"_qs);
    QVERIFY2(d.type(back + words("space") + back.mid(3)), qPrintable(d.error()));
    const QStringList expected = saturnArguments(header, bios, {u"-br"_qs, backup});
    QCOMPARE(d.run(), expected);
    QVERIFY(d.log().constLast().value(u"accepted"_qs).toBool());

    // Killed, started again: the same line from what was saved, and no box.
    QVERIFY(d.startKivo());
    QCOMPARE(d.run(), expected);
    QVERIFY(d.gone(u"^(KIVO|Error)$"_qs, 1000));
}

// Killed as a session's end may kill it, after choices were saved.
void TestE2e::aKilledKivoLeavesNoTemporaryFiles()
{
    QVERIFY(d.prepare(u"SSE"_qs, {}));
    QVERIFY(d.startKivo() && d.type({u"space"_qs}) && d.confirm(u"^KIVO$"_qs));
    QCOMPARE(d.setting(u"firstrun"_qs), u"no"_qs);
    d.kivo->kill();
    QVERIFY(d.kivo->waitForFinished(patience));
    const QStringList left =
        QDir(d.temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY2(left.isEmpty(), qPrintable(left.join(u", "_qs)));
}

// A header with a name from another script, and a BIOS, already chosen; the
// emulator named Sse.exe, as it may come from Windows, and a folder named
// like the program, which is no program, as for Wine.
bool TestE2e::prepareOddStart()
{
    return d.prepare(u"My SSé"_qs,
                     {u"headers/"_qs + oddHeader, u"bios/b.bin"_qs, u"SSE.EXE/readme"_qs},
                     u"Sse.exe"_qs) &&
           d.writeSettings(
               {{u"firstrun"_qs, u"no"_qs}, {u"text1"_qs, oddHeader}, {u"text3"_qs, u"b.bin"_qs}});
}

bool TestE2e::writeEmulator(const QByteArray &content, bool runnable)
{
    QFile file(d.sse + u"/Sse.exe"_qs);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.setPermissions(QFile::ReadOwner | QFile::WriteOwner |
                               (runnable ? QFile::ExeOwner : QFile::Permissions()));
}

// kivo under LANG=C with that PATH, "Run SSE" pressed.
bool TestE2e::startUnderC(const QString &path)
{
    return d.startKivo(words("LANG=C LC_ALL=") << u"PATH="_qs + path) && d.type({u"space"_qs});
}

// No program named sse.exe in any case: KIVO is not in the SSE folder; it
// says so and ends.
void TestE2e::noEmulatorBesideKivoEndsIt()
{
    QVERIFY(prepareOddStart() && QFile::remove(d.sse + u"/Sse.exe"_qs));
    QVERIFY(startUnderC(only64.path()) && d.confirm(u"^KIVO$"_qs));
    QVERIFY(d.kivo->waitForFinished(patience));
    QCOMPARE(d.kivo->exitCode(), 0);
}

void TestE2e::aStartThatCannotWorkSaysWhy_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("runnable");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("firstrun"); // and what stays of it
    const QByteArray elf("\177ELF not really\n");
    QTest::newRow("a Linux program that may not run, before the first run")
        << elf << false << wineDir << QString();
    QTest::newRow("a Linux program that cannot start, after the first run")
        << elf << true << wineDir << u"no"_qs;
    QTest::newRow("a Windows program and no wine")
        << windows64 << true << only64.filePath(u"none"_qs) << QString();
    // "MZ" alone runs as 32-bit.
    QTest::newRow("a 32-bit Windows program and a wine for 64-bit ones only")
        << QByteArray("MZ") << true << only64.filePath(u"bin"_qs) << QString();
}
// Under LANG=C too: the box, then kivo still there, and nothing started.
void TestE2e::aStartThatCannotWorkSaysWhy()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, runnable);
    QFETCH(QString, path);
    QFETCH(QString, firstrun);
    QVERIFY(prepareOddStart() && d.writeSettings({{u"firstrun"_qs, firstrun}}));
    QVERIFY(writeEmulator(content, runnable) && startUnderC(path));
    QVERIFY2(d.confirm(u"^Error$"_qs), qPrintable(d.error()));
    QVERIFY(d.gone(u"^(KIVO|Error)$"_qs, 1000));
    QCOMPARE(d.kivo->state(), QProcess::Running);
    QVERIFY(d.log(wineLog).isEmpty());
    QCOMPARE(d.setting(u"firstrun"_qs), firstrun);
}

// Wine gets the program's path, then every name unchanged, in the SSE
// folder, with a UTF-8 character locale.
void TestE2e::aWindowsProgramStartsThroughAWineFor64BitOnes()
{
    QVERIFY(prepareOddStart() && writeEmulator(windows64, true));
    QVERIFY(startUnderC(only64.filePath(u"bin"_qs)));
    QVERIFY(QTest::qWaitFor([&] { return !d.log(wineLog).isEmpty(); }, patience));
    const QVariantMap started = d.log(wineLog).constFirst();
    QCOMPARE(started.value(u"arguments"_qs).toStringList(),
             QStringList{d.sse + u"/Sse.exe"_qs} + saturnArguments(oddHeader, u"b.bin"_qs));
    QCOMPARE(started.value(u"codeset"_qs).toString(), u"UTF-8"_qs);
    QCOMPARE(started.value(u"cwd"_qs).toString(), d.sse);
}

// A settings folder under a file, which even root cannot write: one box
// once the window shows, then the first run's, and no other.
void TestE2e::anUnwritableSettingsFolderIsSaidOnce()
{
    QVERIFY(prepareOddStart() && writeEmulator(windows64, true));
    const QString unwritable = u"XDG_CONFIG_HOME="_qs + d.sse + u"/Sse.exe/config"_qs;
    QVERIFY(d.startKivo(words("LANG=C LC_ALL=") << u"PATH="_qs + wineDir << unwritable) &&
            d.confirm(u"^Error$"_qs) && d.type({u"space"_qs}) && d.confirm(u"^KIVO$"_qs));
    QVERIFY(d.gone(u"^(KIVO|Error)$"_qs, 1000));
    QCOMPARE(d.log(wineLog).size(), 1);
}

// What a list is for: its name, and its label's when it has one beside its frame's.
static QString purpose(const Desktop::Accessible &list)
{
    QStringList labels = list.labelledBy;
    labels.removeIf([&](const QString &label) { return list.within.contains(label); });
    return labels.isEmpty() || labels.contains(list.name) ? list.name : QString();
}

// The lists that show.
static QList<Desktop::Accessible> lists(QList<Desktop::Accessible> all)
{
    all.removeIf([](const Desktop::Accessible &o) { return !o.is(25) || o.role != u"combo box"; });
    return all;
}

bool TestE2e::startWithEveryWindow()
{
    prefix = std::make_unique<QTemporaryDir>();
    bool made = d.prepare(u"SSE"_qs, {u"headers/game.sgh"_qs, u"bios/b.bin"_qs}) &&
                d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                                 {u"text1"_qs, u"game.sgh"_qs},
                                 {u"text3"_qs, u"b.bin"_qs}}) &&
                QDir(prefix->path()).mkdir(u"dosdevices"_qs);
    for (const auto &[letter, target] : {std::pair{"c:", "../drive_c"},
                                         {"d:", "/media/<b>cd</b> & x"},
                                         {"d::", "/dev/sr0"},
                                         {"com1", "/dev/ttyS0"}})
        made = made && QFile::link(QString::fromUtf8(target),
                                   prefix->filePath(u"dosdevices/"_qs + QLatin1String(letter)));
    return made && d.startKivo({u"WINEPREFIX="_qs + prefix->path()}) &&
           d.act(d.find(u"menu item"_qs, u"About.."_qs)) &&
           d.act(d.find(u"menu item"_qs, u"Extrlow Launcher (header extractor)"_qs)) &&
           d.act(d.find(u"push button"_qs, u"Browse"_qs, u"Emulator Path"_qs)) &&
           !d.windows(pickerName).isEmpty();
}

// Every control of the four windows has a role and a name of its own, not
// its frame's; every list its purpose, its entry as its text, and its
// entries. The window opened later is in front, and the main window stays
// below the three, also when it is clicked.
void TestE2e::everyControlOfTheFourWindowsSaysWhatItIs()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    const QList<Desktop::Accessible> all = d.accessibles();
    static const QRegularExpression controls(
        u"^(push button|check box|radio button|text|combo box|list|tree)$"_qs);
    QSet<QString> windows;
    for (const Desktop::Accessible &control : all) {
        if (!control.is(25) || !controls.match(control.role).hasMatch())
            continue;
        windows.insert(control.within.value(control.within.size() - 3));
        QVERIFY2(!control.name.isEmpty(), qPrintable(control.role + control.within.join(u'/')));
        QVERIFY2(!control.within.contains(control.name), qPrintable(control.name));
        if (control.role != u"combo box")
            continue;
        const auto entry = [&](const Desktop::Accessible &item) {
            return item.role == u"list item" && item.within.value(1) == control.name;
        };
        QVERIFY2(!purpose(control).isEmpty(), qPrintable(control.name));
        QVERIFY2(!control.text.isEmpty(), qPrintable(control.name));
        QVERIFY2(std::any_of(all.cbegin(), all.cend(), entry), qPrintable(control.name));
    }
    QCOMPARE(windows.size(), 4);
    const QStringList opened{u"KIVO - Olvar's SSE Frontend 0.2"_qs,
                             u"About KIVO - Olvar's SSE Frontend 0.2"_qs,
                             u"Extra: extrlow Windows Launcher"_qs, u"Select file/Path"_qs};
    QCOMPARE(d.stacking(), opened);
    QVERIFY(d.tool(words("xdotool windowactivate --sync") << d.windows(u"^KIVO - "_qs).value(0)));
    QTRY_COMPARE(d.stacking(), opened);
}

// Without the pointer: the exact line.
void TestE2e::runSseSaysTheLineItStarts()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    QCOMPARE(d.find(u"push button"_qs, u"Run SSE"_qs).description,
             u"sse.exe "_qs + saturnArguments(u"game.sgh"_qs, u"b.bin"_qs).join(u' '));
}

// Without the pointer: Wine's drive letters, markup in a target kept as it
// is; in Italian, Italian words.
void TestE2e::cdDriveSaysWinesDriveLetters()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    const Desktop::Accessible drives = d.find(u"combo box"_qs, u"Cd Drive:"_qs);
    QCOMPARE(purpose(drives), u"Cd Drive:"_qs);
    QCOMPARE(drives.text, u"F:"_qs);
    const QStringList letters = drives.description.split(u'\n');
    QVERIFY2(letters.value(0).contains(prefix->path()), qPrintable(drives.description));
    QCOMPARE(letters.mid(1), QStringList({u"c: → "_qs + prefix->filePath(u"drive_c"_qs),
                                          u"d: → /media/<b>cd</b> & x"_qs, u"d:: → /dev/sr0"_qs}));
    QVERIFY(d.act(d.find(u"menu item"_qs, u"Italiano"_qs)));
    QTRY_VERIFY(d.find(u"menu item"_qs, u"Aiuto"_qs).is(25));
    QVERIFY(d.find(u"combo box"_qs, u"Cd Drive:"_qs).description.split(u'\n').value(0) !=
            letters[0]);
}

// The lists that show words show them in Italian and say so, purposes and entries too.
void TestE2e::italianIsHeardOnEveryList()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    const QList<Desktop::Accessible> before = lists(d.accessibles());
    QVERIFY(d.listen() && d.act(d.find(u"menu item"_qs, u"Italiano"_qs)));
    QTRY_VERIFY(d.find(u"menu item"_qs, u"Aiuto"_qs).is(25));
    const QList<Desktop::Accessible> after = lists(d.accessibles());
    QCOMPARE(after.size(), before.size());
    int changed = 0;
    for (qsizetype index = 0; index < after.size(); ++index) {
        changed += after[index].text != before[index].text;
        QVERIFY(!after[index].text.isEmpty());
        QVERIFY(!purpose(after[index]).isEmpty());
    }
    QCOMPARE(changed, 2); // the game list's prompt, and the stretch entry
    QTRY_VERIFY(d.announced.contains(after.value(1).text));
    // The game list's blank entry reads as its prompt, in Italian too.
    const Desktop::Accessible game = after.value(1);
    QVERIFY2(!d.find(u"list item"_qs, game.text, game.name).path.isEmpty(), qPrintable(d.error()));
}

// Escape closes each window; Return and keypad Enter press; the game list
// takes the game chosen by keyboard; a screen reader opens a list, and closes it.
void TestE2e::theKeyboardAndAScreenReaderWorkTheLists()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    for (const QString &window : {pickerName, u"^Extra: "_qs, u"^About KIVO"_qs})
        QVERIFY(d.type({u"Escape"_qs}, d.windows(window).value(0)) && d.gone(window));
    QCOMPARE(d.run(u"Return"_qs), saturnArguments(u"game.sgh"_qs, u"b.bin"_qs));
    QVERIFY(d.type(QStringList(4, u"shift+Tab"_qs) + words("Down Down")));
    const Desktop::Accessible game = lists(d.accessibles()).value(1);
    QTRY_COMPARE(d.find(u"combo box"_qs, game.name).text, u"Astra Super Stars"_qs);
    QVERIFY(d.type(QStringList(4, u"Tab"_qs) + words("KP_Enter")) && d.confirm(u"^Error$"_qs));
    for (const bool open : {true, false}) {
        QVERIFY(d.act(d.find(u"combo box"_qs, u"Cd Drive:"_qs)));
        QTRY_COMPARE(d.find(u"list"_qs, QString(), u"Cd Drive:"_qs).is(25), open);
    }
}

// What a screen reader held of the picker's drive list, its shown text too,
// is gone with the picker: asked again, nothing answers.
void TestE2e::aClosedPickersListsAnswerAScreenReaderNoMore()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    const Desktop::Accessible drives = lists(d.accessibles()).constLast();
    QCOMPARE(drives.within.value(drives.within.size() - 3), u"Select file/Path"_qs);
    const Desktop::Accessible shown = d.find(u"text"_qs, drives.text, drives.name);
    QVERIFY2(d.stillThere(shown), qPrintable(d.error()));
    QVERIFY(d.type({u"Escape"_qs}, d.windows(pickerName).value(0)) && d.gone(pickerName));
    QTRY_VERIFY(!d.stillThere(drives));
    QVERIFY(!d.stillThere(shown));
}

// A screen reader finds its way back up and across by an object's index
// in its parent: every object of kivo's four windows gives its own.
void TestE2e::eachObjectSaysWhereItsParentListsIt()
{
    QVERIFY2(startWithEveryWindow(), qPrintable(d.error()));
    QStringList astray;
    for (const Desktop::Accessible &object : d.accessibles())
        if (const int index = d.indexInParent(object);
            object.within.size() > 1 && index != object.position)
            astray << u"%1 %2 in %3: %4, not %5"_qs
                          .arg(object.role, object.name, object.within.join(u'/'))
                          .arg(index)
                          .arg(object.position);
    QCOMPARE(astray.join(u'\n'), QString());
}

bool TestE2e::withOrca(const QString &language)
{
    const QStringList files{u"headers/"_qs + header, u"bios/"_qs + bios[0], u"bios/"_qs + bios[1]};
    return (!d.spoken.isEmpty() || (d.prepare(u"SSE"_qs, files) && d.startOrca())) &&
           d.writeSettings({{u"firstrun"_qs, u"no"_qs},
                            {u"language"_qs, language},
                            {u"text3"_qs, bios[0]},
                            {u"text4"_qs, bios[1]}}) &&
           d.startKivo() && d.says(d.focused().name);
}

// A list with a label: its label, then its entry, once each, in the language,
// when it takes the focus and when Down changes it.
void TestE2e::orcaSaysTheResolutionOnFocusAndAfterDown_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("keys");
    const QStringList back(3, u"shift+Tab"_qs);
    for (const QStringView language : Messages::languages)
        QTest::addRow("%s, on focus", language.toUtf8().constData()) << language.toString() << back;
    QTest::newRow("English, after Down") << u"English"_qs << (back + QStringList{u"Down"_qs});
}

void TestE2e::orcaSaysTheResolutionOnFocusAndAfterDown()
{
    QFETCH(QString, language);
    QFETCH(QStringList, keys);
    QVERIFY2(withOrca(language) && d.press(keys), d.said());
    const Desktop::Accessible list = d.focused();
    QCOMPARE(list.role, u"combo box"_qs);
    QVERIFY2(list.labelledBy.contains(list.name), qPrintable(list.name));
    QVERIFY2(d.says(list.text), d.said());
    QCOMPARE(d.heard(list.name), 1);
    QCOMPARE(d.heard(list.text), 1);
}

// Each Browse button: its field and the file chosen there.
void TestE2e::orcaTellsTheBiosBrowseButtonsApart()
{
    QVERIFY2(withOrca() && d.press({u"Tab"_qs, u"Tab"_qs}), d.said());
    QStringList told;
    for (const QString &file : bios) {
        QVERIFY2(d.press({u"Tab"_qs}) && d.says(file), d.said());
        told << d.spoken.filter(file).constLast();
    }
    QVERIFY2(told[0] != told[1], qPrintable(told[0]));
}

// The file the first Down selects, and at the button again, the header chosen.
void TestE2e::orcaSaysTheHeaderChosenInThePicker()
{
    QVERIFY2(withOrca() && d.press({u"Tab"_qs, u"Tab"_qs, u"space"_qs}), d.said());
    const QString picker = d.windows(pickerName).value(0);
    QVERIFY2(d.press({u"Tab"_qs, u"Tab"_qs, u"Down"_qs}, picker) && d.says(header), d.said());
    QVERIFY2(d.press({u"Return"_qs}, picker) && d.says(header), d.said());
}

// No game chosen: Down chooses the blank entry, which reads as the prompt the
// list showed, and still changes what the list holds: it is heard again.
void TestE2e::orcaSaysTheStvPromptAgainOnTheBlankEntry()
{
    QVERIFY2(withOrca() && d.press(QStringList(4, u"shift+Tab"_qs)), d.said());
    const QString prompt = d.focused().text;
    QVERIFY(!prompt.isEmpty());
    QVERIFY2(d.press({u"Down"_qs}) && d.says(prompt), d.said());
    QCOMPARE(d.focused().text, prompt);
}

// As it opens: its title, then each of its texts.
void TestE2e::orcaReadsAboutsTextWhenItOpens()
{
    // The menu bar by Alt alone: Alt+H opens Help through Qt's shortcut, before
    // Orca answers, and the Alt Qt holds till then would close it again.
    QVERIFY2(withOrca() && d.press(words("alt Left Down Return")), d.said());
    const QString about = d.focused().within.value(0);
    QStringList unheard;
    for (const Desktop::Accessible &label : d.accessibles())
        if (label.role == u"label" && label.within.contains(about) && !d.says(label.name))
            unheard << label.name;
    QCOMPARE(unheard.join(u'|'), QString());
}

QTEST_GUILESS_MAIN(TestE2e)
#include "test_e2e.moc"

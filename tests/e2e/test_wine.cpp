// The real Wine, with recorder.exe as sse.exe: a Windows program built with
// mingw-w64 that writes down how it was started. Every name reaches it whole,
// and a minimised start reaches it minimised, from the real process start
// and from kivo. Wine gets a prefix of the test's own: making it takes about
// ten seconds, every start after that a fraction of one, so each row is a
// start of its own.

#include "desktop.h"
#include "mainwindow/processstart.h"

// STARTUPINFO's: the flag that makes wShowWindow a request, and minimised.
constexpr uint useShowWindow = 1, showMinimised = 2;

class TestWine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyNameReachesTheProgramWhole_data();
    void everyNameReachesTheProgramWhole();
    void aMinimisedStartReachesTheProgramMinimisedInItsFolder();
    void aNormalStartLeavesTheWindowToTheProgram();
    void theFirstRunReachesSseMinimised();
    // Wine keeps its server running on the prefix for a while.
    void cleanupTestCase() { QProcess::execute(u"wineserver"_qs, {u"-k"_qs}); }

private:
    // Starts sse.exe with these arguments, and returns what it wrote down.
    QVariantMap started(const QStringList &arguments, bool minimised = true);
    // The record after the first `before`, once it is written.
    QVariantMap recorded(qsizetype before);
    const QString log = u"recorder.log"_qs;
    QTemporaryDir prefix;
    Desktop d;
    kivo::InstalledWine wine;
    kivo::DetachedProcessStarter starter{wine};
};

void TestWine::initTestCase()
{
    // Before anything else, so that the end kills only this prefix's server.
    qputenv("WINEPREFIX", QFile::encodeName(prefix.path()));
    // Wine keeps its server's folder in TMPDIR: kivo's, so that the starts
    // from here and from kivo share one server, and it goes with the desktop.
    qputenv("TMPDIR", QFile::encodeName(d.temporary.path()));
    QVERIFY2(!QStringLiteral(RECORDER).isEmpty(),
             "recorder.exe was not built: it needs x86_64-w64-mingw32-gcc, from the Debian "
             "package gcc-mingw-w64-x86-64-win32");
    QVERIFY2(!wine.program().isEmpty(), "no wine on the PATH: Debian packages wine and wine64");
    // No prompt for Mono or Gecko, no menu entries.
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    QCOMPARE(QProcess::execute(wine.program(), {u"wineboot"_qs, u"--init"_qs}), 0);
    QVERIFY2(d.start(), qPrintable(d.error()));
    const QString exe = u"/sse.exe"_qs;
    QVERIFY(d.prepare(u"SSE é 'x' $(y) %z%"_qs, {}) && QFile::remove(d.sse + exe) &&
            QFile::copy(QStringLiteral(RECORDER), d.sse + exe));
}

QVariantMap TestWine::started(const QStringList &arguments, bool minimised)
{
    const qsizetype before = d.log(log).size();
    const kivo::StartOutcome outcome =
        starter.start(d.sse, QStringList{u"sse.exe"_qs} + arguments,
                      minimised ? kivo::WindowState::Minimised : kivo::WindowState::Normal);
    return outcome.result == kivo::StartResult::Started ? recorded(before) : QVariantMap();
}

QVariantMap TestWine::recorded(qsizetype before)
{
    const auto record = [&] { return d.log(log).value(before); };
    (void)QTest::qWaitFor([&] { return record().contains(u"showWindow"_qs); }, patience);
    return record();
}

// Each is started twice over, so that it both comes before another
// argument and ends the line.
void TestWine::everyNameReachesTheProgramWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("minimised");
    const std::pair<const char *, QString> names[] = {
        {"blanks and letters beyond ASCII", u"日本 ゲーム é.sgh"_qs},
        {"double quotes", u"my \"game\".sgh"_qs},
        {"single quotes", u"Saturn 'v1'.bin"_qs},
        {"a trailing backslash", u"back\\"_qs},
        {"blanks and a trailing backslash", u"back up\\"_qs},
        {"double quotes and a trailing backslash", u"\"a b\" c\\"_qs},
        {"backslashes before a double quote", u"a\\\\\"b c"_qs},
        {"a lone double quote", u"\""_qs},
        {"shell characters", u"$(touch x); `id` & a|b > c"_qs},
        {"cmd's characters", u"^%PATH%^ !x! <y>"_qs},
        {"the header extractor's blanks", u"  .sgh"_qs},
        {"a tab", u"a\tb"_qs},
        {"one of start's own options", u"/wait"_qs},
    };
    for (const bool minimised : {true, false})
        for (const auto &[row, name] : names)
            QTest::addRow("%s, %s", minimised ? "minimised" : "normal", row) << name << minimised;
}

// As CommandLineToArgvW splits the command line, and as the C runtime does.
void TestWine::everyNameReachesTheProgramWhole()
{
    QFETCH(QString, name);
    QFETCH(bool, minimised);
    const QVariantMap record = started({name, name}, minimised);
    QCOMPARE(record.value(u"arguments"_qs).toStringList(), QStringList({name, name}));
    QCOMPARE(record.value(u"crtArguments"_qs).toStringList(), QStringList({name, name}));
}

void TestWine::aMinimisedStartReachesTheProgramMinimisedInItsFolder()
{
    const QVariantMap record = started({u"-resetcfg"_qs});
    QCOMPARE(record.value(u"flags"_qs).toUInt() & useShowWindow, useShowWindow);
    QCOMPARE(record.value(u"showWindow"_qs).toUInt(), showMinimised);
    QCOMPARE(record.value(u"cwd"_qs).toString(), u"Z:"_qs + QString(d.sse).replace(u'/', u'\\'));
}

// No request: the program shows its window as it opens it.
void TestWine::aNormalStartLeavesTheWindowToTheProgram()
{
    QCOMPARE(started({u"-resetcfg"_qs}, false).value(u"flags"_qs).toUInt() & useShowWindow, 0u);
}

// kivo under a locale that is not UTF-8; its box about the first run follows.
void TestWine::theFirstRunReachesSseMinimised()
{
    const qsizetype before = d.log(log).size();
    QVERIFY(d.startKivo(words("LANG=C LC_ALL=")) && d.type({u"space"_qs}));
    const QVariantMap record = recorded(before);
    QCOMPARE(record.value(u"arguments"_qs).toStringList(), QStringList{u"-resetcfg"_qs});
    QCOMPARE(record.value(u"showWindow"_qs).toUInt(), showMinimised);
    QVERIFY2(d.confirm(u"^KIVO$"_qs), qPrintable(d.error()));
}

QTEST_GUILESS_MAIN(TestWine)
#include "test_wine.moc"

// The real kivo and the real Wine, under a locale that is not UTF-8, with a
// recorder built with mingw as sse.exe: it writes down what Windows handed
// it. Skipped where wine or mingw is missing.

#include "desktop.h"
#include "mainwindow/wine.h"

class TestE2eRealWine : public QObject
{
    Q_OBJECT

private slots:
    void windowsProgramsGetTheirArgumentsUnchanged();

private:
    QTemporaryDir home;
    Desktop d;
};

void TestE2eRealWine::windowsProgramsGetTheirArgumentsUnchanged()
{
    // Wine's prefix stays in the test's own folder; no prompt for Mono or Gecko.
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("WINEPREFIX", QFile::encodeName(home.filePath(u"prefix"_qs)));
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    QVERIFY2(d.start(), qPrintable(d.error()));
    // No '"': Windows forbids it in a name, so no Windows program opens one.
    const QString header = u"ゲーム 'x'.sgh"_qs;
    const QString bios = u"Saturn BIOS 'JP';é.bin"_qs;
    QVERIFY(d.prepare(u"My SSé"_qs, {u"headers/"_qs + header, u"bios/"_qs + bios}));
    QVERIFY(
        d.writeSettings({{u"firstrun"_qs, u"no"_qs}, {u"text1"_qs, header}, {u"text3"_qs, bios}}));
    const QString exe = d.sse + u"/sse.exe"_qs;

    for (const QString &recorder : {QStringLiteral(RECORDER64), QStringLiteral(RECORDER32)}) {
        QFile::remove(exe);
        QFile::remove(d.sse + u"/recorder.log"_qs);
        QVERIFY(QFile::copy(recorder, exe) && d.startKivo(words("LANG=C LC_ALL=")) &&
                d.type({u"space"_qs}));
        const kivo::InstalledWine wine;
        if (recorder == QStringLiteral(RECORDER32) && !wine.runs32Bit(wine.program())) {
            // Wine would fail without a word: KIVO says why, and stays.
            QVERIFY2(d.confirm(u"^Error$"_qs), qPrintable(d.error()));
            QCOMPARE(d.kivo->state(), QProcess::Running);
            QVERIFY(d.log(u"recorder.log"_qs).isEmpty());
            continue;
        }
        // A first start of Wine makes its prefix, which takes a while.
        QVERIFY(QTest::qWaitFor([&] { return !d.log(u"recorder.log"_qs).isEmpty(); }, 180000));
        const QVariantMap run = d.log(u"recorder.log"_qs).constFirst();
        QCOMPARE(run.value(u"arguments"_qs).toStringList(), saturnArguments(header, bios));
        QCOMPARE(run.value(u"cwd"_qs).toString(), u"Z:"_qs + QString(d.sse).replace(u'/', u'\\'));
        // The emulator opens the header and the BIOS by the names it was given.
        QCOMPARE(run.value(u"foundIn"_qs).toList().mid(0, 5),
                 QVariantList({u"headers"_qs, u""_qs, u""_qs, u""_qs, u"bios"_qs}));
    }
    // Wine leaves its server running on the prefix for a while.
    QProcess::execute(u"wineserver"_qs, {u"-k"_qs});
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (QStandardPaths::findExecutable(u"wine"_qs).isEmpty() ||
        QStringLiteral(RECORDER32).isEmpty()) {
        std::puts("Skipped: needs wine on the PATH and the recorders built by mingw-w64");
        return 77; // SKIP_RETURN_CODE in tests/CMakeLists.txt
    }
    TestE2eRealWine test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_e2e_realwine.moc"

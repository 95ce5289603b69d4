#include "fakeplatform.h"
#include "mainwindow/settingsstore.h"
#include "shownstate.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// KIVO.ini as a crash, a full disk or a hand edit may leave it: the real
// store on the file, the main window on the store. Whatever cannot be read
// shows as at a first start, and the program goes on saving choices.

namespace
{

// A main window on the real store of a file; the other seams record.
struct FileHarness : RecordingSeams {
    explicit FileHarness(const QString &file) : settings(file) {}
    kivo::IniSettingsStore settings;
    kivo::Platform platform = on(settings);
};

// The state of a start on a store that holds exactly these values.
QStringList stateFor(const QList<std::array<QString, 3>> &values, const QString &ownFolder)
{
    Harness harness;
    harness.ownFolder.folder = ownFolder;
    for (const auto &[section, key, value] : values)
        harness.settings.values[{section, key}] = value;
    return shownState(harness.start());
}

bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

// Whether the file now reads without error and holds the value.
bool holds(const QString &path, const QString &key, const QString &value)
{
    QSettings ini(path, QSettings::IniFormat);
    return ini.status() == QSettings::NoError && ini.value(key).toString() == value;
}

const QString general = QStringLiteral("General");
const QString lastFolders = QStringLiteral("Last Folders");

} // namespace

class TestBadSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void garbageStartsAsAFirstStartAndIsReplaced();
    void aTruncatedFileShowsWhatIsLeft();
    void valuesOfTheWrongTypeOrOutOfRange();

private:
    // Starts on the file, then makes a choice and checks the file took it.
    void startChooseAndReread(const QString &path, const QStringList &expected);

    QTemporaryDir dir;
    QString sse;
};

void TestBadSettings::initTestCase()
{
    QVERIFY(dir.isValid());
    sse = dir.filePath(QStringLiteral("SSE"));
    QVERIFY(QDir().mkpath(sse));
}

void TestBadSettings::startChooseAndReread(const QString &path, const QStringList &expected)
{
    QStringList ticked;
    {
        FileHarness harness(path);
        harness.ownFolder.folder = sse;
        Form1 form(harness.platform);
        QCOMPARE(shownState(form), expected);
        QCOMPARE(harness.boxes.shown.size(), 0);
        // A choice after the start reaches a file that reads again.
        form.ui->Check6->click();
        QCOMPARE(form.ui->Check6->checkState(), Qt::Checked);
        QVERIFY(holds(path, QStringLiteral("opz6"), QStringLiteral("1")));
        ticked = shownState(form);
    }
    FileHarness again(path);
    again.ownFolder.folder = sse;
    Form1 form(again.platform);
    QCOMPARE(shownState(form), ticked);
}

void TestBadSettings::garbageStartsAsAFirstStartAndIsReplaced()
{
    QByteArray noise(4096, '\0');
    QRandomGenerator random(6);
    for (char &byte : noise)
        byte = char(random.bounded(256));
    QByteArray utf16("\xff\xfe");
    for (const char c : QByteArray("[General]\r\nres=2\r\nopz4=1\r\n"))
        utf16.append(c).append('\0');

    const QList<QPair<const char *, QByteArray>> files{
        {"empty", QByteArray()},
        {"noise", noise},
        {"zeros", QByteArray(1024, '\0')},
        {"broken sections", "\x01\x02[[[General\n=\n\xff\xfe garbage\0\0 \n[Last"},
        {"UTF-16", utf16},
        {"one long line", QByteArray(1 << 20, 'x')},
        {"only sections", "[General]\n[Last%20Folders]\n[]\n[General]\n"},
        {"another format", "{\"General\": {\"res\": 2, \"opz4\": true}}\n<xml res=\"2\"/>\n"},
    };
    const QStringList firstStart = stateFor({}, sse);
    for (const auto &[name, content] : files) {
        const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".ini"));
        QVERIFY2(writeFile(path, content), name);
        startChooseAndReread(path, firstStart);
    }
}

void TestBadSettings::aTruncatedFileShowsWhatIsLeft()
{
    // A whole configuration, one value a line, in the order written here.
    const QList<std::array<QString, 3>> values{
        {general, QStringLiteral("firstrun"), QStringLiteral("no")},
        {general, QStringLiteral("language"), QStringLiteral("Italiano")},
        {general, QStringLiteral("opz1"), QStringLiteral("1")},
        {general, QStringLiteral("opz3"), QStringLiteral("1")},
        {general, QStringLiteral("opz5"), QStringLiteral("1")},
        {general, QStringLiteral("res"), QStringLiteral("2")},
        {general, QStringLiteral("stretch"), QStringLiteral("1")},
        {general, QStringLiteral("drive"), QStringLiteral("12")},
        {general, QStringLiteral("stvrom"), QStringLiteral("33")},
        {general, QStringLiteral("system-sat"), QStringLiteral("True")},
        {general, QStringLiteral("system-stv"), QStringLiteral("False")},
        {lastFolders, QStringLiteral("text1"), QStringLiteral("my game.sgh")},
        {lastFolders, QStringLiteral("text1tag"), QStringLiteral("my game.sgh")},
        {lastFolders, QStringLiteral("text3"), QStringLiteral("sat bios.bin")},
        {lastFolders, QStringLiteral("text3tag"), QStringLiteral("sat bios.bin")},
        {lastFolders, QStringLiteral("text5"), QStringLiteral("back up.bin")},
        {lastFolders, QStringLiteral("text5tag"), QStringLiteral("back up.bin")},
        {lastFolders, QStringLiteral("text7"), sse},
        {lastFolders, QStringLiteral("text7tag"), sse},
    };
    QByteArray whole;
    QList<qsizetype> lineEnds;
    QString section;
    for (const auto &[inSection, key, value] : values) {
        if (inSection != section) {
            section = inSection;
            whole += inSection == general ? "[General]\n" : "[Last%20Folders]\n";
        }
        whole += key.toUtf8() + '=' + value.toUtf8() + '\n';
        lineEnds.append(whole.size());
    }
    const QString path = dir.filePath(QStringLiteral("truncated.ini"));

    // Cut between lines, as a write that stopped would leave it: the lines
    // left are shown, the rest as at a first start.
    for (qsizetype kept = 0; kept <= values.size(); ++kept) {
        const qsizetype size = kept == 0 ? 0 : lineEnds.at(kept - 1);
        QVERIFY(writeFile(path, whole.left(size)));
        startChooseAndReread(path, stateFor(values.mid(0, kept), sse));
    }

    // Cut inside a line too, a key or a value short: no choice shows in a
    // state a person could not give it, and choices are saved again.
    for (qsizetype size = 1; size < whole.size(); size += 5) {
        QVERIFY(writeFile(path, whole.left(size)));
        FileHarness harness(path);
        harness.ownFolder.folder = sse;
        Form1 form(harness.platform);
        const auto &ui = form.ui;
        for (QCheckBox *box :
             {ui->Check1, ui->Check2, ui->Check3, ui->Check4, ui->Check5, ui->Check6})
            QVERIFY(box->checkState() != Qt::PartiallyChecked);
        for (ListBox *list : {ui->Combo3, ui->Combo4, ui->Combo5})
            QVERIFY(list->currentIndex() >= 0 && list->currentIndex() < list->count());
        QVERIFY(ui->Combo2->currentIndex() >= -1 &&
                ui->Combo2->currentIndex() < ui->Combo2->count());
        QVERIFY(!(ui->Option1->isChecked() && ui->Option2->isChecked()));
        QCOMPARE(harness.boxes.shown.size(), 0);
        ui->Combo3->setCurrentIndex(ui->Combo3->currentIndex() == 1 ? 0 : 1);
        QVERIFY(holds(path, QStringLiteral("res"), QString::number(ui->Combo3->currentIndex())));
    }
}

void TestBadSettings::valuesOfTheWrongTypeOrOutOfRange()
{
    // Numbers that are no index or check state, words that are no system,
    // values that QSettings reads as another type, and lists.
    const QByteArray wrong = "[General]\n"
                             "drive=99\n"
                             "res=abc\n"
                             "stretch=-1\n"
                             "stvrom=40\n"
                             "opz1=7\n"
                             "opz2=maybe\n"
                             "opz3=1.0\n"
                             "opz4=@Rect(1 2 3 4)\n"
                             "opz5=2\n"
                             "opz6=\"1, 1\"\n"
                             "system-sat=maybe\n"
                             "system-stv=1\n"
                             "[Last%20Folders]\n"
                             "text1=@Variant(\\0\\0\\0\\x7f\\0garbage)\n"
                             "text1tag=@Size(2 3)\n"
                             "text3=a, b\n"
                             "text3tag=a, b\n";
    const QString path = dir.filePath(QStringLiteral("wrong.ini"));
    QVERIFY(writeFile(path, wrong));
    // Only what a person can read back is shown: the BIOS with a comma.
    startChooseAndReread(
        path, stateFor({{lastFolders, QStringLiteral("text3"), QStringLiteral("a, b")},
                        {lastFolders, QStringLiteral("text3tag"), QStringLiteral("a, b")}},
                       sse));

    // A language that is none of the three starts as the store says it
    // would, and a language from the menu is saved over it.
    QVERIFY(writeFile(path, "[General]\nlanguage=Klingon\n"));
    startChooseAndReread(
        path, stateFor({{general, QStringLiteral("language"), QStringLiteral("Klingon")}}, sse));
    FileHarness harness(path);
    harness.ownFolder.folder = sse;
    Form1 form(harness.platform);
    QVERIFY(form.ui->opz11->isChecked() && !form.ui->Option1->isChecked());
    form.ui->opz13->trigger();
    QVERIFY(holds(path, QStringLiteral("language"), QString::fromUtf16(u"Français")));
    // A new prompt is no choice of system: still none.
    QVERIFY(!form.ui->Option1->isChecked() && !form.ui->Option2->isChecked());
    QVERIFY(!holds(path, QStringLiteral("system-sat"), QStringLiteral("True")));
}

QTEST_MAIN(TestBadSettings)
#include "test_badsettings.moc"

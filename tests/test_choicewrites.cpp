#include "mainwindow/settingsstore.h"
#include "shownstate.h"
#include "test_pickerhelpers.h"

using namespace pickertest;

// A program killed while it saves a choice leaves KIVO.ini as it was at
// that moment. Every state the file passes through while a choice is saved
// is started again here: it must show the choice, or what was there
// before, and never a mix of the two.

namespace
{

// The real store, keeping a copy of the file after each write.
struct WatchedStore : kivo::IniSettingsStore {
    using IniSettingsStore::IniSettingsStore;
    QList<QByteArray> states;
    void save(const QString &section, const QString &key, const QString &value) override
    {
        IniSettingsStore::save(section, key, value);
        look();
    }
    void release() override
    {
        IniSettingsStore::release();
        look();
    }
    QByteArray content() const
    {
        QFile file(fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void look()
    {
        const QByteArray now = content();
        if (states.isEmpty() || states.last() != now)
            states.append(now);
    }
};

} // namespace

class TestChoiceWrites : public QObject
{
    Q_OBJECT

private slots:
    void aKillWhileAChoiceIsSavedLeavesOneOrTheOther();
};

void TestChoiceWrites::aKillWhileAChoiceIsSavedLeavesOneOrTheOther()
{
    SseFolder sse;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString restartFile = dir.filePath(QStringLiteral("restart.ini"));
    const auto shownByANewStart = [&](const QByteArray &content) {
        QFile file(restartFile);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(content) != content.size())
            return QStringList{QStringLiteral("cannot write ") + restartFile};
        file.close();
        kivo::IniSettingsStore store(restartFile);
        RecordingSeams seams;
        seams.ownFolder.folder = sse.path;
        kivo::Platform platform = seams.on(store);
        Form1 form(platform);
        return shownState(form);
    };

    WatchedStore store(dir.filePath(QStringLiteral("KIVO.ini")));
    RecordingSeams seams;
    seams.ownFolder.folder = sse.path;
    kivo::Platform platform = seams.on(store);
    Form1 form(platform);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // A file of a file request, or a folder of the folder request.
    const auto choose = [&](QPushButton *request, const QString &name) {
        QTest::mouseClick(request, Qt::LeftButton);
        QVERIFY(form.apriFile);
        if (request == form.ui->Command7)
            openFolder(form.apriFile->ui->Dir1, name);
        else
            clickFile(form.apriFile->ui->File1, name);
        QTest::mouseClick(form.apriFile->ui->OKButton, Qt::LeftButton);
    };

    const QList<QPair<QString, std::function<void()>>> choices{
        {QStringLiteral("a check box"),
         [&] { QTest::mouseClick(form.ui->Check4, Qt::LeftButton); }},
        {QStringLiteral("a list entry"), [&] { QTest::keyClick(form.ui->Combo3, Qt::Key_Down); }},
        {QStringLiteral("an ST-V game"), [&] { QTest::keyClick(form.ui->Combo2, Qt::Key_End); }},
        {QStringLiteral("Saturn"), [&] { QTest::mouseClick(form.ui->Option1, Qt::LeftButton); }},
        {QStringLiteral("ST-V"), [&] { QTest::mouseClick(form.ui->Option2, Qt::LeftButton); }},
        {QStringLiteral("another ST-V game"),
         [&] { QTest::keyClick(form.ui->Combo2, Qt::Key_Up); }},
        {QStringLiteral("a header from the picker"), [&] { choose(form.ui->Command1, oddHeader); }},
        {QStringLiteral("a BIOS from the picker"), [&] { choose(form.ui->Command3, oddBios); }},
        {QStringLiteral("a backup file from the picker"),
         [&] { choose(form.ui->Command5, oddBackup); }},
        {QStringLiteral("the SSE folder from the picker"),
         [&] { choose(form.ui->Command7, QStringLiteral("headers")); }},
        {QStringLiteral("a language"), [&] { form.ui->opz12->trigger(); }},
    };
    for (const auto &[choice, make] : choices) {
        const QByteArray before = store.content();
        store.states.clear();
        make();
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(choice));
        const QStringList old = shownByANewStart(before);
        const QStringList chosen = shownByANewStart(store.content());
        QVERIFY2(chosen != old, qPrintable(choice));
        for (const QByteArray &state : std::as_const(store.states)) {
            const QStringList shown = shownByANewStart(state);
            QVERIFY2(shown == old || shown == chosen,
                     qPrintable(choice + QStringLiteral(" left:\n") + QString::fromUtf8(state)));
        }
    }
}

QTEST_MAIN(TestChoiceWrites)
#include "test_choicewrites.moc"

#include "mainwindow/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Two KIVOs saving choices into the same KIVO.ini at the same time, as two
// processes with the real store: the file is never seen broken, and in the
// end it holds a value that one of them wrote for every key.

namespace
{

using kivo::sectionGeneral;
using kivo::sectionLastFolders;

constexpr int rounds = 150;
const QString writerSwitch = QStringLiteral("--writer");

QString value(const QString &writer, int round)
{
    return writer + u'-' + QString::number(round);
}

// What one program does: single choices, each written at once, and now
// and then a start-up's held batch.
int write(const QString &file, const QString &writer)
{
    kivo::IniSettingsStore store(file);
    for (int round = 0; round < rounds; ++round) {
        store.save(sectionGeneral, QStringLiteral("res"), value(writer, round));
        store.save(sectionGeneral, writer + QStringLiteral("-own"), value(writer, round));
        if (round % 10 == 0) {
            store.hold();
            store.save(sectionGeneral, QStringLiteral("drive"), value(writer, round));
            store.save(sectionLastFolders, QStringLiteral("text1"), value(writer, round));
            store.release();
        }
    }
    return 0;
}

} // namespace

class TestConcurrentSettings : public QObject
{
    Q_OBJECT

private slots:
    void twoProgramsSaveAtOnce();
};

void TestConcurrentSettings::twoProgramsSaveAtOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("KIVO.ini"));
    const QStringList writers{QStringLiteral("A"), QStringLiteral("B")};

    QSet<QString> written;
    for (const QString &writer : writers) {
        for (int round = 0; round < rounds; ++round)
            written.insert(value(writer, round));
    }
    const QSet<QString> keys{QStringLiteral("res"), QStringLiteral("A-own"),
                             QStringLiteral("B-own"), QStringLiteral("drive"),
                             QStringLiteral("Last Folders/text1")};
    // Every time the file is read: whole, known keys, written values.
    const auto readsWell = [&](QString *why) {
        QSettings ini(file, QSettings::IniFormat);
        if (ini.status() != QSettings::NoError) {
            *why = QStringLiteral("status %1").arg(ini.status());
            return false;
        }
        for (const QString &key : ini.allKeys()) {
            const QString held = ini.value(key).toString();
            if (!keys.contains(key) || !written.contains(held)) {
                *why = key + u'=' + held;
                return false;
            }
        }
        return true;
    };

    std::vector<std::unique_ptr<QProcess>> processes;
    for (const QString &writer : writers) {
        auto process = std::make_unique<QProcess>();
        process->setProgram(QCoreApplication::applicationFilePath());
        process->setArguments({writerSwitch, file, writer});
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        process->start();
        QVERIFY(process->waitForStarted());
        processes.push_back(std::move(process));
    }
    int reads = 0;
    QString why;
    const auto running = [&] {
        return std::any_of(processes.begin(), processes.end(), [](const auto &process) {
            return process->state() != QProcess::NotRunning;
        });
    };
    while (running()) {
        if (QFile::exists(file)) {
            QVERIFY2(readsWell(&why), qPrintable(why));
            ++reads;
        }
        processes.front()->waitForFinished(2);
        processes.back()->waitForFinished(2);
    }
    for (const auto &process : processes) {
        QCOMPARE(process->exitStatus(), QProcess::NormalExit);
        QCOMPARE(process->exitCode(), 0);
    }
    QVERIFY(reads > 0);

    QVERIFY2(readsWell(&why), qPrintable(why));
    QSettings ini(file, QSettings::IniFormat);
    const QStringList stored = ini.allKeys();
    QCOMPARE(QSet<QString>(stored.cbegin(), stored.cend()), keys);
    // Each program's last word on a key it alone wrote stays; a key both
    // wrote holds the last word of one of them.
    const QString last = QString::number(rounds - 1);
    QCOMPARE(ini.value(QStringLiteral("A-own")).toString(), value(QStringLiteral("A"), rounds - 1));
    QCOMPARE(ini.value(QStringLiteral("B-own")).toString(), value(QStringLiteral("B"), rounds - 1));
    const QString res = ini.value(QStringLiteral("res")).toString();
    QVERIFY2(res.endsWith(u'-' + last), qPrintable(res));
    // Nothing is left beside it: no lock, no half-written copy.
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList{QStringLiteral("KIVO.ini")});
}

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() == 4 && arguments.at(1) == writerSwitch)
        return write(arguments.at(2), arguments.at(3));
    TestConcurrentSettings test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_concurrentsettings.moc"

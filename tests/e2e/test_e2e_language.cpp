// The real kivo on a private X server: the language is switched from the
// Options menu with the keyboard, and a new start opens in it, the About
// window included.

#include "ssefolder.h"

#include <QtTest>

namespace
{

const QString fullName = QStringLiteral("^KIVO - Olvar's SSE Frontend 0\\.2$");

QString storedLanguage(const SseFolder &sse)
{
    return sse.setting(QStringLiteral("language"));
}

} // namespace

class TestE2eLanguage : public QObject
{
    Q_OBJECT

private slots:
    void switchFromTheMenuAndStartAgain();
};

void TestE2eLanguage::switchFromTheMenuAndStartAgain()
{
    XSession x;
    QVERIFY2(x.start(), qPrintable(x.error()));
    SseFolder sse;
    QVERIFY(sse.isValid());
    QVERIFY(sse.addProgram(QStringLiteral(KIVO_BINARY), QStringLiteral("kivo")));

    struct Step {
        QStringList menuKeys;  // to choose the language, in the language shown before
        QString language;      // as stored
        QStringList aboutKeys; // Help menu and its About item, in the new language
        QString aboutTitle;
    };
    const Step steps[] = {
        {{QStringLiteral("alt+o"), QStringLiteral("l"), QStringLiteral("i")},
         QStringLiteral("Italiano"),
         {QStringLiteral("alt+a"), QStringLiteral("i")},
         QStringLiteral("^Info su KIVO - Olvar's SSE Frontend 0\\.2$")},
        {{QStringLiteral("alt+o"), QStringLiteral("l"), QStringLiteral("f")},
         QString::fromUtf16(u"Français"),
         {QStringLiteral("alt+a"), QStringLiteral("a")},
         QStringLiteral("^A propos de KIVO - Olvar's SSE Frontend 0\\.2$")},
    };
    for (const Step &step : steps) {
        QProcess *kivo = sse.launchKivo(x);
        QVERIFY2(kivo, qPrintable(x.error()));
        QStringList mainWindow = x.waitForWindows(fullName, patience);
        QVERIFY2(mainWindow.size() == 1, qPrintable(x.error()));
        QVERIFY2(x.focusAndKey(mainWindow.first(), step.menuKeys), qPrintable(x.error()));
        QVERIFY(QTest::qWaitFor([&] { return storedLanguage(sse) == step.language; }, patience));

        // A new start opens in the language, with the main window's caption
        // as it always is and the About window's in the language.
        kivo->kill();
        kivo->waitForFinished();
        QVERIFY2(x.waitUntilGone(fullName, patience), qPrintable(x.error()));
        QVERIFY2(sse.launchKivo(x), qPrintable(x.error()));
        mainWindow = x.waitForWindows(fullName, patience);
        QVERIFY2(mainWindow.size() == 1, qPrintable(x.error()));
        QVERIFY2(x.focusAndKey(mainWindow.first(), step.aboutKeys), qPrintable(x.error()));
        QVERIFY2(x.waitForWindows(step.aboutTitle, patience).size() == 1, qPrintable(x.error()));
        QCOMPARE(storedLanguage(sse), step.language);
        x.stop();
        QVERIFY2(x.start(), qPrintable(x.error()));
    }
}

QTEST_GUILESS_MAIN(TestE2eLanguage)
#include "test_e2e_language.moc"

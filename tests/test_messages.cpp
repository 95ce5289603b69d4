#include "lang/messages.h"

#include <QRegularExpression>
#include <QTest>

using namespace Messages;

// The catalogue checked by what every text must be, plus the few exact
// texts whose error a user would meet first.
class TestMessages : public QObject
{
    Q_OBJECT

private slots:
    void everyMessageInEveryLanguage();
    void eachFunctionGivesItsOwnMessage();
    void valuesGoInAsTheyAre();
};

namespace
{

QStringList placeholders(QStringView text)
{
    QStringList found;
    static const QRegularExpression placeholder(QStringLiteral("%[0-9]"));
    for (const QRegularExpressionMatch &match : placeholder.globalMatch(text))
        found.append(match.captured());
    found.sort();
    found.removeDuplicates();
    return found;
}

} // namespace

void TestMessages::everyMessageInEveryLanguage()
{
    for (const Message *message = catalogueBegin(); message != catalogueEnd(); ++message) {
        const QStringView english = message->texts.column[0];
        for (const QStringView text : message->texts.column) {
            QVERIFY2(!text.trimmed().isEmpty(), message->name);
            // Lines join with a lone carriage return.
            QVERIFY2(!text.contains(u'\n'), message->name);
            QVERIFY2(!text.startsWith(u' ') && !text.contains(u"\r "), message->name);
            QCOMPARE(placeholders(text), placeholders(english));
        }
    }
    QVERIFY(catalogueEnd() - catalogueBegin() >= 15);
}

void TestMessages::eachFunctionGivesItsOwnMessage()
{
    using Plain = QString (*)(const QString &);
    using OfValue = QString (*)(const QString &, const QString &);
    const QPair<const char *, Plain> plain[] = {
        {"msgfirstrun", msgfirstrun},       {"msgselheader", msgselheader},
        {"msgselbios", msgselbios},         {"msgnostretch", msgnostretch},
        {"msgfullstretch", msgfullstretch}, {"msgpropstretch", msgpropstretch},
        {"msgselstvrom", msgselstvrom},     {"msgneedbioshdr", msgneedbioshdr},
        {"msgneedbiosrom", msgneedbiosrom}, {"msgnotinssedir", msgnotinssedir},
        {"msgnoheaders", msgnoheaders},     {"msgnobios", msgnobios},
        {"msgnossepath", msgnossepath},     {"msgneedhdrname", msgneedhdrname},
    };
    const QPair<const char *, OfValue> ofValue[] = {
        {"msgromdirname", msgromdirname},       {"msgnoprogram", msgnoprogram},
        {"msgnotexecutable", msgnotexecutable}, {"msgnowine", msgnowine},
        {"msgnowine32", msgnowine32},           {"msgwinedrives", msgwinedrives},
        {"msgnowineprefix", msgnowineprefix},
    };
    const auto entry = [](const char *name) -> const Message * {
        for (const Message *message = catalogueBegin(); message != catalogueEnd(); ++message) {
            if (qstrcmp(message->name, name) == 0)
                return message;
        }
        return nullptr;
    };
    const QStringList notLanguages{QString(), QStringLiteral("english"), QStringLiteral("Francais"),
                                   QString::fromUtf16(u"français"), QStringLiteral("Italiano ")};
    for (int language = 0; language < int(languages.size()); ++language) {
        const QString name = languages[language].toString();
        for (const auto &[id, function] : plain)
            QCOMPARE(function(name), entry(id)->texts.column[language].toString());
        for (const auto &[id, function] : ofValue) {
            QCOMPARE(function(name, QStringLiteral("x")),
                     entry(id)->texts.column[language].toString().arg(QStringLiteral("x")));
        }
    }
    for (const QString &name : notLanguages) {
        QVERIFY(!isLanguage(name));
        for (const auto &[id, function] : plain)
            QCOMPARE(function(name), QString());
        for (const auto &[id, function] : ofValue)
            QCOMPARE(function(name, QStringLiteral("x")), QString());
        QCOMPARE(msgnotstarted(name, QStringLiteral("x"), QStringLiteral("y")), QString());
    }

    // The first box a user meets, letter for letter.
    QCOMPARE(msgfirstrun(QStringLiteral("English")),
             QStringLiteral("This is the first run: KIVO has created a necessary file to run "
                            "SSE.\rClick again on 'Run SSE' button to start."));
}

void TestMessages::valuesGoInAsTheyAre()
{
    const QString english = QStringLiteral("English");
    QCOMPARE(msgromdirname(english, QString()),
             QStringLiteral("(Dir or Zip name for selected game: )"));
    QCOMPARE(msgromdirname(english, QStringLiteral("astrass")),
             QStringLiteral("(Dir or Zip name for selected game: astrass)"));
    QCOMPARE(msgromdirname(QString::fromUtf16(u"Français"), QStringLiteral("sss")),
             QString::fromUtf16(u"(Séléctionner un jeu [un zip ou un répertoire]: sss)"));
    // A value that looks like a placeholder stays what it is.
    const QString odd = QStringLiteral("%2 %1 100%");
    QVERIFY(msgromdirname(english, odd).contains(odd));
    const QString started = msgnotstarted(english, odd, QStringLiteral("%1 failed"));
    QVERIFY(started.startsWith(odd));
    QVERIFY(started.endsWith(QStringLiteral("%1 failed")));
    QCOMPARE(msgnotexecutable(english, odd).count(odd), 2);
}

QTEST_APPLESS_MAIN(TestMessages)
#include "test_messages.moc"

#include "mainwindow/commandline.h"

#include <QTest>

using kivo::CommandLine;

// The text a person reads and the arguments a process receives.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void wordsSplitAtBlanksAndValuesStayWhole();
};

void TestCommandLine::wordsSplitAtBlanksAndValuesStayWhole()
{
    const CommandLine line =
        CommandLine::words(u"extrlow.exe ") + CommandLine::value(QStringLiteral("day tona")) +
        CommandLine::words(u".sgh") + CommandLine::words(u"  -a   b ") +
        CommandLine::value(QString()) + CommandLine::words(u" -c ") +
        CommandLine::value(QStringLiteral(" ")) + CommandLine::value(QStringLiteral("x"));
    QCOMPARE(line.text(), QStringLiteral("extrlow.exe day tona.sgh  -a   b  -c  x"));
    QCOMPARE(line.arguments(),
             QStringList({QStringLiteral("extrlow.exe"), QStringLiteral("day tona.sgh"),
                          QStringLiteral("-a"), QStringLiteral("b"), QStringLiteral("-c"),
                          QStringLiteral(" x")}));
    QVERIFY(CommandLine().isEmpty());
    QVERIFY(CommandLine::value(QString()).isEmpty());
    QCOMPARE(CommandLine::words(u" -br ").arguments(), QStringList(QStringLiteral("-br")));
}

QTEST_APPLESS_MAIN(TestCommandLine)
#include "test_commandline.moc"

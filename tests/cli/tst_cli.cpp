#include "config/endpoints.h"
#include "support/clirun.h"

#include <QTest>

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void badUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("firstLineStart");
        QTest::newRow("no command") << QStringList() << QStringLiteral("usage:");
        QTest::newRow("unknown command") << QStringList{QStringLiteral("fly")} << QStringLiteral("vorlen360-cli: unknown command fly");
        QTest::newRow("refused endpoint")
            << QStringList{QStringLiteral("--share-site"), QStringLiteral("file:///etc"), QStringLiteral("help")}
            << QStringLiteral("--share-site: not an http or https URL");
    }
    void badUsage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, firstLineStart);
        const CliOutcome outcome = runCli(arguments);
        QCOMPARE(outcome.code, 2);
        QVERIFY2(outcome.err.startsWith(firstLineStart), qPrintable(outcome.err));
        QVERIFY(outcome.out.isEmpty());
    }

    void refusedVariableIsNamed()
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("VORLEN_PROBE"), QStringLiteral("nowhere"));
        const CliOutcome outcome = runCli({QStringLiteral("help")}, environment);
        QCOMPARE(outcome.code, 2);
        QVERIFY(outcome.err.startsWith(u"VORLEN_PROBE"));
        QCOMPARE(outcome.err.count(u'\n'), 1);
    }

    void helpListsTheEndpointOptions()
    {
        const CliOutcome outcome = runCli({QStringLiteral("help")});
        QCOMPARE(outcome.code, 0);
        QVERIFY(outcome.out.contains(Config::endpointOptionsHelp()));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"

#include "config/endpoints.h"
#include "support/clirun.h"

#include <QTest>

using namespace Qt::StringLiterals;

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

    // The password of aes and rndxor (login's is in its own test) from standard input, and
    // refusals that never show it.
    void passwords_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("input");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out"); // checked when the code is 0
        const QString secret = u"secret 口令"_s;
        const QString hex = runCli({u"aes"_s, u"encrypt"_s, u"--password"_s, secret, u"资源"_s}).out;
        const QString cipher = runCli({u"rndxor"_s, u"encrypt"_s, u"--password"_s, secret, u"资源"_s}).out.trimmed();
        const QStringList aesStdin{u"aes"_s, u"encrypt"_s, u"--password-stdin"_s, u"资源"_s};
        QTest::newRow("aes, CR LF dropped, first line only") << aesStdin << secret + u"\r\nmore\n"_s << 0 << hex;
        QTest::newRow("rndxor, LF dropped") << QStringList{u"rndxor"_s, u"decrypt"_s, u"--password-stdin"_s, cipher}
                                            << secret + u'\n' << 0 << u"资源\n"_s;
        QTest::newRow("nothing on stdin") << aesStdin << QString() << 2 << QString();
        QTest::newRow("both ways") << QStringList{u"aes"_s, u"encrypt"_s, u"--password"_s, secret, u"--password-stdin"_s, u"t"_s}
                                   << secret << 2 << QString();
        QTest::newRow("misspelt option") << QStringList{u"aes"_s, u"decrypt"_s, u"--pasword="_s + secret, u"00"_s}
                                         << QString() << 2 << QString();
    }
    void passwords()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, input);
        QFETCH(int, code);
        QFETCH(QString, out);
        const CliOutcome outcome = runCli(arguments, {}, input);
        QCOMPARE(outcome.code, code);
        if (code == 0)
            QCOMPARE(outcome.out, out);
        else
            QVERIFY(outcome.out.isEmpty());
        QVERIFY2(!outcome.err.contains(u"secret"_s), qPrintable(outcome.err));
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

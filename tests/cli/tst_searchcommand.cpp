#include "scriptedsite.h"
#include "support/clirun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

class TestSearchCommand : public QObject
{
    Q_OBJECT

private slots:
    void search_data();
    void search();
};

void TestSearchCommand::search_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("results"); // "rows": two entries; "stopped": the second lacks its detail page
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("wd");      // as the request carries it; empty: nothing requested
    QTest::addColumn<QString>("lastError");
    const QString done = u"礼包码获取完毕.."_qs;
    QTest::newRow("rows") << QStringList{u"中文"_qs} << QByteArray("rows") << 0 << u"%D6%D0%CE%C4"_qs << done;
    QTest::newRow("as json") << QStringList{u"--format=json"_qs, u"中文"_qs} << QByteArray("rows") << 0
                             << u"%D6%D0%CE%C4"_qs << done;
    QTest::newRow("keyword sent as given") << QStringList{u"--"_qs, u"--a b\t&%#"_qs} << QByteArray("rows") << 0
                                           << u"--a%20b%09%26%25%23"_qs << done;
    QTest::newRow("detail pass stopped") << QStringList{u"ab"_qs} << QByteArray("stopped") << 4 << u"ab"_qs
                                         << u"detail pass stopped early: 1 of 2 share codes read"_qs;
    QTest::newRow("nothing found") << QStringList{u"ab"_qs} << QByteArray("<html>无</html>") << 1 << u"ab"_qs
                                   << u"未搜索到相关资源"_qs;
    QTest::newRow("empty results page") << QStringList{u"ab"_qs} << QByteArray("") << 3 << u"ab"_qs
                                        << u"正在进行搜索ab相关资源.."_qs;
    QTest::newRow("empty keyword") << QStringList{QString()} << QByteArray("rows") << 2 << QString()
                                   << u"请输入要搜索的关键字"_qs;
    QTest::newRow("one character") << QStringList{u"书"_qs} << QByteArray("rows") << 2 << QString()
                                   << u"请输入最少两个字符"_qs;
    QTest::newRow("no keyword") << QStringList() << QByteArray("rows") << 2 << QString() << QString();
    QTest::newRow("two keywords") << QStringList{u"ab"_qs, u"cd"_qs} << QByteArray("rows") << 2 << QString() << QString();
    QTest::newRow("unknown format") << QStringList{u"ab"_qs, u"--format=xml"_qs} << QByteArray("rows") << 2 << QString()
                                    << QString();
}

void TestSearchCommand::search()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, results);
    QFETCH(int, code);
    QFETCH(QString, wd);
    QFETCH(QString, lastError);
    ScriptedSite site;
    if (results == "rows" || results == "stopped")
        site.addListing(2, 2, "/");
    else
        site.setPage("/", results.toStdString());
    if (results == "stopped")
        site.setDetail(2, 2, "<html>分享已取消</html>");
    QVERIFY(site.start());
    const Net::Endpoints endpoints = site.endpoints();

    const CliOutcome outcome = runCli(QStringList{u"--share-site"_qs, endpoints.shareSite, u"--share-prefix"_qs,
                                                  endpoints.sharePrefix, u"--timeout=10"_qs, u"search"_qs}
                                      + arguments);

    QCOMPARE(outcome.code, code);
    const QStringList requests = site.requestedTargets();
    if (wd.isEmpty()) {
        QVERIFY(requests.isEmpty());
    } else {
        QCOMPARE(requests.value(0), u"/?wd="_qs + wd + u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_qs);
    }
    if (!lastError.isEmpty())
        QCOMPARE(outcome.err.trimmed().split(u'\n').last(), lastError);
    else
        QVERIFY(outcome.err.contains(u"usage:"_qs));
    const bool rows = code == 0 || code == 4;
    if (arguments.contains(u"--format=json"_qs))
        QCOMPARE(QJsonDocument::fromJson(outcome.out.toUtf8()).array().size(), 2);
    else
        QCOMPARE(outcome.out.count(u'\n'), rows ? 2 : 0);
    if (rows) { // the second row's code is missing exactly when the pass stopped
        const Harvest::ResourceEntry second = ScriptedSite::row(2, 2, true);
        QCOMPARE(outcome.out.contains(second.shareCode), code == 0);
    }
}

QTEST_GUILESS_MAIN(TestSearchCommand)
#include "tst_searchcommand.moc"

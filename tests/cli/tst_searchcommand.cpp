#include "scriptedsite.h"
#include "support/clirun.h"

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
    QTest::addColumn<QString>("wd"); // as the request carries it; empty: nothing requested
    QTest::addColumn<QString>("lastError");
    QTest::newRow("rows") << QStringList{u"中文"_qs} << QByteArray("rows") << 0 << u"%D6%D0%CE%C4"_qs << u"礼包码获取完毕.."_qs;
    QTest::newRow("keyword sent as given") << QStringList{u"--"_qs, u"--a b\t&%#"_qs} << QByteArray("rows") << 0
                                           << u"--a%20b%09%26%25%23"_qs << u"礼包码获取完毕.."_qs;
    QTest::newRow("detail pass stopped") << QStringList{u"ab"_qs} << QByteArray("stopped") << 4 << u"ab"_qs
                                         << u"部分完成: 第2行"_qs;
    QTest::newRow("nothing found") << QStringList{u"ab"_qs} << QByteArray("<html>无</html>") << 1 << u"ab"_qs
                                   << u"未搜索到相关资源"_qs;
    QTest::newRow("empty results page") << QStringList{u"ab"_qs} << QByteArray("") << 3 << u"ab"_qs
                                        << u"正在进行搜索ab相关资源.."_qs;
    QTest::newRow("empty keyword") << QStringList{QString()} << QByteArray("rows") << 2 << QString()
                                   << u"请输入要搜索的关键字"_qs;
    QTest::newRow("one character") << QStringList{u"书"_qs} << QByteArray("rows") << 2 << QString()
                                   << u"请输入最少两个字符"_qs;
    QTest::newRow("no keyword") << QStringList() << QByteArray("rows") << 2 << QString() << QString();
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
    const Config::Endpoints endpoints = site.endpoints();

    const CliOutcome outcome = runCli(QStringList{u"--share-site"_qs, endpoints.shareSite, u"--share-prefix"_qs,
                                                  endpoints.sharePrefix, u"--timeout=10"_qs, u"search"_qs}
                                      + arguments);

    QCOMPARE(outcome.code, code);
    const QString tail = u"&submit.x=49&submit.y=14&submit=%BF%AA%CA%BC%CB%D1%CB%F7"_qs;
    QCOMPARE(site.requestedTargets().value(0), wd.isEmpty() ? QString() : u"/?wd="_qs + wd + tail);
    if (lastError.isEmpty())
        QVERIFY(outcome.err.contains(u"usage:"_qs));
    else
        QVERIFY2(outcome.err.trimmed().split(u'\n').last().startsWith(lastError), qPrintable(outcome.err));
    // Rows, the second one's share code only when the pass went through.
    QCOMPARE(outcome.out.count(u'\n'), code == 0 || code == 4 ? 2 : 0);
    QCOMPARE(outcome.out.contains(ScriptedSite::shareCode(2, 2)), code == 0);
}

QTEST_GUILESS_MAIN(TestSearchCommand)
#include "tst_searchcommand.moc"

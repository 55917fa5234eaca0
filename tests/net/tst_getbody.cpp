#include "net/getbody.h"
#include "net/networkaccess.h"
#include "support/closedport.h"
#include "support/loopbackserver.h"
#include "text/gbk.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {

std::string gbk(const char *utf8)
{
    return Text::toGbk(QString::fromUtf8(utf8)).toStdString();
}

} // namespace

class TestGetBody : public QObject
{
    Q_OBJECT

    LoopbackServer m_server;
    QString m_base;

private slots:
    void initTestCase()
    {
        auto &http = m_server.server();
        http.Get("/missing", [](const httplib::Request &, httplib::Response &res) {
            res.status = 404;
            res.set_content("<html>not here</html>", "text/html");
        });
        http.Get("/empty", [](const httplib::Request &, httplib::Response &res) { res.status = 200; });
        http.Get("/gbk-undeclared", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(gbk("<p>资源获取完毕</p>"), "text/html");
        });
        http.Get("/utf8-header", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("<p>资源获取完毕</p>", "text/html; charset=UTF-8");
        });
        http.Get("/utf8-meta", [](const httplib::Request &, httplib::Response &res) {
            res.set_content("<html><head><meta charset=\"utf-8\"></head><p>资源获取完毕</p>", "text/html");
        });
        http.Get("/gbk-meta-http-equiv", [](const httplib::Request &, httplib::Response &res) {
            res.set_content(gbk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><p>资源获取完毕</p>"),
                            "text/html");
        });
        http.Get("/slow", [](const httplib::Request &, httplib::Response &res) {
            std::this_thread::sleep_for(600ms);
            res.set_content("slow page", "text/plain");
        });
        http.Get("/silent", [](const httplib::Request &, httplib::Response &res) {
            std::this_thread::sleep_for(1500ms);
            res.set_content("too late", "text/plain");
        });
        http.Get("/fast", [](const httplib::Request &, httplib::Response &res) { res.set_content("fast page", "text/plain"); });
        QVERIFY(m_server.start());
        m_base = m_server.baseUrl();
        Net::setTransferTimeout(10s);
    }

    void returnsTheBodyOfAnErrorPage()
    {
        QCOMPARE(Net::GetBody(m_base + u"missing"), std::optional<QString>(QStringLiteral("<html>not here</html>")));
    }

    void bodylessAnswerIsTheEmptyText()
    {
        const auto body = Net::GetBody(m_base + u"empty");
        QVERIFY(body.has_value());
        QVERIFY(body->isEmpty());
    }

    void decodesByTheDeclaredCharset_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("no declaration is GBK") << QStringLiteral("gbk-undeclared");
        QTest::newRow("header charset") << QStringLiteral("utf8-header");
        QTest::newRow("meta charset") << QStringLiteral("utf8-meta");
        QTest::newRow("meta http-equiv gb2312") << QStringLiteral("gbk-meta-http-equiv");
    }
    void decodesByTheDeclaredCharset()
    {
        QFETCH(QString, path);
        const auto body = Net::GetBody(m_base + path);
        QVERIFY(body.has_value());
        QVERIFY2(body->contains(QString::fromUtf8("<p>资源获取完毕</p>")), qPrintable(*body));
    }

    void sendsIfModifiedSinceZeroOnce()
    {
        m_server.clearRequests();
        QVERIFY(Net::GetBody(m_base + u"fast").has_value());
        const auto requests = m_server.requests();
        QCOMPARE(requests.size(), 1u);
        QCOMPARE(requests[0].method, std::string("GET"));
        QCOMPARE(requests[0].headers.count("If-Modified-Since"), 1u);
        QCOMPARE(requests[0].headers.find("If-Modified-Since")->second, std::string("0"));
    }

    void reusesTheConnection()
    {
        m_server.clearRequests();
        QVERIFY(Net::GetBody(m_base + u"fast").has_value());
        QVERIFY(Net::GetBody(m_base + u"fast").has_value());
        const auto requests = m_server.requests();
        QCOMPARE(requests.size(), 2u);
        QCOMPARE(requests[0].remotePort, requests[1].remotePort);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("url");
        QTest::newRow("connection refused") << QStringLiteral("http://127.0.0.1:%1/").arg(closedPort());
        QTest::newRow("not a URL") << QStringLiteral("::not a url::");
        QTest::newRow("relative") << QStringLiteral("act-0.html");
    }
    void failures()
    {
        QFETCH(QString, url);
        QCOMPARE(Net::GetBody(url), std::nullopt);
    }

    void silentServerTimesOut()
    {
        Net::setTransferTimeout(200ms);
        QElapsedTimer clock;
        clock.start();
        const auto body = Net::GetBody(m_base + u"silent");
        Net::setTransferTimeout(10s);
        QCOMPARE(body, std::nullopt);
        QVERIFY(clock.elapsed() < 1400);
    }

    void timersKeepFiringWhileWaiting()
    {
        int ticks = 0;
        QTimer timer;
        timer.setInterval(50);
        connect(&timer, &QTimer::timeout, this, [&ticks] { ++ticks; });
        timer.start();
        QCOMPARE(Net::GetBody(m_base + u"slow"), std::optional<QString>(QStringLiteral("slow page")));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void anotherFetchCanRunInsideTheWait()
    {
        std::optional<QString> inner;
        QTimer::singleShot(100, this, [&] { inner = Net::GetBody(m_base + u"fast"); });
        const auto outer = Net::GetBody(m_base + u"slow");
        QCOMPARE(inner, std::optional<QString>(QStringLiteral("fast page")));
        QCOMPARE(outer, std::optional<QString>(QStringLiteral("slow page")));
    }

    // Must stay last: after QCoreApplication::exit() no event loop of this process waits again.
    void quittingEndsTheWaitAtOnce()
    {
        QTimer::singleShot(50, qApp, [] { QCoreApplication::exit(0); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Net::GetBody(m_base + u"silent"), std::nullopt);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(Net::GetBody(m_base + u"fast"), std::nullopt);
    }

    void cleanupTestCase() { m_server.stop(); }
};

QTEST_GUILESS_MAIN(TestGetBody)
#include "tst_getbody.moc"

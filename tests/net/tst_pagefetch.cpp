#include "net/pagefetch.h"
#include "net/networkaccess.h"
#include "support/closedport.h"
#include "support/loopbackserver.h"
#include "text/gbk.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

constexpr std::chrono::milliseconds kPatient = 10s;

std::string gbk(const char *utf8)
{
    return Text::toGbk(QString::fromUtf8(utf8)).toStdString();
}

// Pages holding the words 资源获取完毕 in the character set a browser would read them in;
// served at /page/<index>.
struct CharsetPage
{
    const char *name;
    const char *contentType;
    std::string body;
};

const std::vector<CharsetPage> &charsetPages()
{
    static const std::vector<CharsetPage> pages{
        {"nothing declared is GBK", "text/html", gbk("<p>资源获取完毕</p>")},
        {"header beats meta", "text/html; charset=UTF-8", "<meta charset=gbk><p>资源获取完毕</p>"},
        {"meta charset", "text/html", "<html><head><META CharSet = 'utf-8'></head><p>资源获取完毕</p>"},
        {"meta http-equiv gb2312", "text/html",
         gbk("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\"><p>资源获取完毕</p>")},
        {"meta content without http-equiv", "text/html", gbk("<meta content=\"text/html; charset=utf-8\"><p>资源获取完毕</p>")},
        {"script charset", "text/html", gbk("<script charset=\"utf-8\" src=\"a.js\"></script><p>资源获取完毕</p>")},
        {"meta inside an attribute", "text/html", gbk("<a title='<meta charset=utf-8>'>x</a><p>资源获取完毕</p>")},
        {"charset in text", "text/html", gbk("<p>charset=utf-16 资源获取完毕</p>")},
        {"UTF-16 declared", "text/html", "<meta charset=\"utf-16\"><p>资源获取完毕</p>"},
        {"UTF-32 declared", "text/html", "<meta charset=utf-32le><p>资源获取完毕</p>"},
        {"unknown name", "text/html", gbk("<meta charset=\"no-such-set\"><p>资源获取完毕</p>")},
        {"unknown name, then a known one", "text/html", "<meta charset=\"no-such-set\"><meta charset=utf-8><p>资源获取完毕</p>"},
        {"comment holding a meta", "text/html", gbk("<!-- <meta charset=\"utf-8\"> --><p>资源获取完毕</p>")},
    };
    return pages;
}

} // namespace

class TestPageFetch : public QObject
{
    Q_OBJECT

    LoopbackServer m_server;
    QString m_base;

private slots:
    void initTestCase()
    {
        auto &http = m_server.server();
        // Answers with the status its path names, a body naming it, and the challenges Qt would
        // like to answer.
        http.Get(R"(/status/(\d+))", [](const httplib::Request &req, httplib::Response &res) {
            res.status = std::stoi(req.matches[1]);
            res.set_header("WWW-Authenticate", "Basic realm=\"vorlen\"");
            res.set_header("Proxy-Authenticate", "Basic realm=\"vorlen\"");
            res.set_content("<p>status " + req.matches[1].str() + "</p>", "text/html");
        });
        http.Get("/cut", [](const httplib::Request &, httplib::Response &res) { // status, then half a body
            res.set_content_provider(1000, "text/html", [](size_t, size_t, httplib::DataSink &sink) {
                sink.write("<p>half", 7);
                return false;
            });
        });
        http.Get("/empty", [](const httplib::Request &, httplib::Response &res) { res.status = 200; });
        http.Get(R"(/page/(\d+))", [](const httplib::Request &req, httplib::Response &res) {
            const CharsetPage &page = charsetPages().at(std::stoul(req.matches[1]));
            res.set_content(page.body, page.contentType);
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
    }

    // Whatever the status, an answer's body is the page; it is asked for once.
    void returnsTheBodyOfEveryStatus_data()
    {
        QTest::addColumn<int>("status");
        for (const int status : {400, 401, 403, 404, 407, 418, 500, 503})
            QTest::addRow("%d", status) << status;
    }
    void returnsTheBodyOfEveryStatus()
    {
        QFETCH(int, status);
        m_server.clearRequests();
        const QString number = QString::number(status);
        QCOMPARE(Net::fetchPageText(m_base + u"status/"_s + number, kPatient), std::optional<QString>(u"<p>status "_s + number + u"</p>"_s));
        QCOMPARE(m_server.requests().size(), 1u);
    }

    void bodylessAnswerIsTheEmptyText()
    {
        const auto body = Net::fetchPageText(m_base + u"empty", kPatient);
        QVERIFY(body.has_value());
        QVERIFY(body->isEmpty());
    }

    void decodesByTheDeclaredCharset_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < charsetPages().size(); ++i)
            QTest::newRow(charsetPages()[i].name) << int(i);
    }
    void decodesByTheDeclaredCharset()
    {
        QFETCH(int, index);
        const auto body = Net::fetchPageText(m_base + u"page/"_s + QString::number(index), kPatient);
        QVERIFY(body.has_value());
        QVERIFY2(body->contains(u"资源获取完毕</p>"_s), qPrintable(*body));
    }

    void sendsIfModifiedSinceZeroOnce()
    {
        m_server.clearRequests();
        QVERIFY(Net::fetchPageText(m_base + u"fast", kPatient).has_value());
        const auto requests = m_server.requests();
        QCOMPARE(requests.size(), 1u);
        QCOMPARE(requests[0].method, std::string("GET"));
        QCOMPARE(requests[0].headers.count("If-Modified-Since"), 1u);
        QCOMPARE(requests[0].headers.find("If-Modified-Since")->second, std::string("0"));
    }

    void reusesTheConnection()
    {
        m_server.clearRequests();
        QVERIFY(Net::fetchPageText(m_base + u"fast", kPatient).has_value());
        QVERIFY(Net::fetchPageText(m_base + u"fast", kPatient).has_value());
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
        QTest::newRow("cut after the status") << m_base + u"cut"_s;
    }
    void failures()
    {
        QFETCH(QString, url);
        QCOMPARE(Net::fetchPageText(url, kPatient), std::nullopt);
    }

    void silentServerTimesOut()
    {
        QElapsedTimer clock;
        clock.start();
        const auto body = Net::fetchPageText(m_base + u"silent", 200ms);
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
        QCOMPARE(Net::fetchPageText(m_base + u"slow", kPatient), std::optional<QString>(QStringLiteral("slow page")));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
    }

    void anotherFetchCanRunInsideTheWait()
    {
        std::optional<QString> inner;
        QTimer::singleShot(100, this, [&] { inner = Net::fetchPageText(m_base + u"fast", kPatient); });
        const auto outer = Net::fetchPageText(m_base + u"slow", kPatient);
        QCOMPARE(inner, std::optional<QString>(QStringLiteral("fast page")));
        QCOMPARE(outer, std::optional<QString>(QStringLiteral("slow page")));
    }

    // Must stay last: after QCoreApplication::exit() no event loop of this process waits again.
    void quittingEndsTheWaitAtOnce()
    {
        QTimer::singleShot(50, qApp, [] { QCoreApplication::exit(0); });
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(Net::fetchPageText(m_base + u"silent", kPatient), std::nullopt);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(Net::fetchPageText(m_base + u"fast", kPatient), std::nullopt);
    }

    void cleanupTestCase() { m_server.stop(); }
};

QTEST_GUILESS_MAIN(TestPageFetch)
#include "tst_pagefetch.moc"

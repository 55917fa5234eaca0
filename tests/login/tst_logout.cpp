#include "demo-site/server.h"
#include "login/logout.h"
#include "net/pagefetch.h"
#include "net/networkaccess.h"
#include "support/demositerows.h"
#include "support/loopbackserver.h"

#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A cookie of a logged-in forum user, as the login would leave it.
void logIn(const QString &forum)
{
    Net::networkManager().cookieJar()->setCookiesFromUrl({QNetworkCookie("auth", "alice")}, QUrl(forum));
}

} // namespace

class TestLogout : public QObject
{
    Q_OBJECT

private slots:
    void sendsTheLogoutAndForgetsEveryCookie();
    void demoForumSessionEnds();
};

void TestLogout::sendsTheLogoutAndForgetsEveryCookie()
{
    LoopbackServer server;
    // A forum that answers the logout with a fresh cookie, and a page that shows the cookies.
    server.server().Get("/member.php", [](const httplib::Request &, httplib::Response &response) {
        response.set_header("Set-Cookie", "auth=again; path=/");
        response.set_content("bye", "text/html");
    });
    server.server().Get("/cookies", [](const httplib::Request &request, httplib::Response &response) {
        response.set_content("[" + request.get_header_value("Cookie") + "]", "text/plain");
    });
    QVERIFY(server.start());
    const QString forum = server.baseUrl();
    logIn(forum);
    QCOMPARE(Net::fetchPageText(forum + u"cookies"_s, std::chrono::seconds(10)), u"[auth=alice]"_s);
    server.clearRequests();

    QSignalSpy answered(&Net::networkManager(), &QNetworkAccessManager::finished);
    Login::endForumLogin(forum, std::chrono::seconds(10));
    QVERIFY(Net::networkManager().cookieJar()->cookiesForUrl(QUrl(forum)).isEmpty()); // at once, not after the answer
    QVERIFY(answered.wait(10000));

    const std::vector<LoopbackServer::Request> requests = server.requests();
    QCOMPARE(requests.size(), std::size_t(1));
    const LoopbackServer::Request &logout = requests.front();
    QCOMPARE(logout.method, "GET");
    QCOMPARE(logout.path, "/member.php");
    QCOMPARE(logout.params, (httplib::Params{{"mod", "logging"}, {"action", "logout"}}));
    QCOMPARE(logout.headers.find("Referer")->second, forum.toStdString());
    QCOMPARE(logout.headers.find("Content-Type")->second, "application/x-www-form-urlencoded");
    QCOMPARE(logout.headers.find("Cookie")->second, "auth=alice"); // the forum learns whose login ends
    QVERIFY(logout.body.empty());
    // Neither the old cookie nor the one of the late answer comes back.
    QCOMPARE(Net::fetchPageText(forum + u"cookies"_s, std::chrono::seconds(10)), u"[]"_s);
    Net::networkManager().clearConnectionCache();
}

void TestLogout::demoForumSessionEnds()
{
    DemoSite::Server site;
    QVERIFY(site.start());
    const QString forum = DemoSiteRows::endpointsOf(site).forum;
    QVERIFY(Net::fetchPageText(forum, std::chrono::seconds(10)).value_or(QString()).contains(u"当前会话：无"_s));
    QVERIFY(Net::fetchPageText(forum, std::chrono::seconds(10)).value_or(QString()).contains(u"当前会话：s"_s));
    Login::endForumLogin(forum, std::chrono::seconds(10));
    QVERIFY(Net::fetchPageText(forum, std::chrono::seconds(10)).value_or(QString()).contains(u"当前会话：无"_s));
    Net::networkManager().clearConnectionCache();
}

QTEST_GUILESS_MAIN(TestLogout)
#include "tst_logout.moc"

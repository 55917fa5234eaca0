#include "demo-site/server.h"
#include "login/exchange.h"
#include "net/networkaccess.h"
#include "support/demositerows.h"
#include "support/demoaccounts.h"
#include "support/logincookie.h"
#include "support/loopbackserver.h"

#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QTest>
#include <QTimer>

#include <map>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;
using Login::LoginForm;
using Login::LoginOutcome;

namespace {

struct Run
{
    std::optional<Login::LoginResult> result;
    QStringList statuses;
};

// Runs one login and waits for its end; result stays empty when it never ends.
Run login(const Config::Endpoints &endpoints, const LoginForm &form)
{
    Run run;
    Login::Exchange exchange(endpoints);
    QObject::connect(&exchange, &Login::Exchange::statusChanged, [&run](const QString &text) { run.statuses << text; });
    QObject::connect(&exchange, &Login::Exchange::finished, [&run](const Login::LoginResult &result) {
        QVERIFY(!run.result);
        run.result = result;
    });
    exchange.start(form);
    (void)QTest::qWaitFor([&run] { return run.result.has_value(); }, 10000);
    return run;
}

enum class Forum { Down, Silent, Unavailable };

} // namespace

class TestExchange : public QObject
{
    Q_OBJECT

    DemoSite::Server m_site;
    Config::Endpoints m_endpoints;

private slots:
    void initTestCase();
    void init();
    void demoAccounts_data();
    void demoAccounts();
    void unreachable_data();
    void unreachable();
    void interruptedProbe();
};

void TestExchange::initTestCase()
{
    QVERIFY(m_site.start());
    m_endpoints = DemoSiteRows::endpointsOf(m_site);
}

void TestExchange::init()
{
    Net::networkManager().setCookieJar(new QNetworkCookieJar);
}

void TestExchange::demoAccounts_data()
{
    QTest::addColumn<LoginForm>("form");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("values"); // user name, group, UID
    QTest::addColumn<bool>("cookie");

    const QString failed = u"登录失败，您还可以尝试 4 次"_s;
    // What the exchange makes of each account's answer, and whether the forum set its cookie.
    struct Expected
    {
        LoginOutcome outcome;
        QString message;
        bool cookie;
    };
    const std::map<QString, Expected> expected{
        {u"success"_s, {LoginOutcome::Success, {}, true}},
        {u"with question"_s, {LoginOutcome::Success, {}, true}},
        {u"question left out"_s, {LoginOutcome::FailureText, failed, false}},
        {u"password of reserved bytes"_s, {LoginOutcome::Success, {}, true}},
        {u"wrong password"_s, {LoginOutcome::FailureText, failed, false}},
        {u"banned"_s, {LoginOutcome::Banned, {}, true}},
        {u"login data error"_s, {LoginOutcome::LoginDataError, {}, true}},
        {u"forum message"_s, {LoginOutcome::ForumMessage, u"抱歉，您的帐号正在审核中，请耐心等待"_s, false}},
        {u"broken answer"_s, {LoginOutcome::ForumFailure, {}, false}},
    };
    for (const DemoAccount &a : ::demoAccounts()) {
        const Expected &e = expected.at(a.label);
        QTest::newRow(qPrintable(a.label)) << LoginForm{a.account, a.password, a.question, a.answer}
                                           << static_cast<int>(e.outcome) << e.message
                                           << QStringList{a.userName, a.group, a.uid} << e.cookie;
    }
}

void TestExchange::demoAccounts()
{
    QFETCH(LoginForm, form);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(QStringList, values);
    QFETCH(bool, cookie);

    const Run run = login(m_endpoints, form);
    QVERIFY(run.result);
    QCOMPARE(int(run.result->outcome), outcome);
    QCOMPARE(run.result->message, message);
    QCOMPARE(run.result->userName, values[0]);
    QCOMPARE(run.result->userGroup, values[1]);
    QCOMPARE(run.result->uid.value_or(QString()), values[2]);
    QCOMPARE(run.statuses.size(), 1);
    // The forum's login cookie is in the one cookie store every later forum request reads.
    QCOMPARE(hasLoginCookie(m_endpoints.forum), cookie);
}

void TestExchange::unreachable_data()
{
    QTest::addColumn<QByteArray>("probe"); // null: nothing listens
    QTest::addColumn<Forum>("forum");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("forumRequests");

    QTest::newRow("probe refused") << QByteArray() << Forum::Unavailable << int(LoginOutcome::NoConnection) << 0;
    QTest::newRow("probe empty") << QByteArray("") << Forum::Unavailable << int(LoginOutcome::NoConnection) << 0;
    QTest::newRow("forum refused") << QByteArray("<html>ok</html>") << Forum::Down << int(LoginOutcome::NoConnection) << 0;
    QTest::newRow("forum never answers") << QByteArray("<html>ok</html>") << Forum::Silent << int(LoginOutcome::NoConnection) << 1;
    QTest::newRow("forum's 503 page") << QByteArray("<html>ok</html>") << Forum::Unavailable << int(LoginOutcome::ForumFailure) << 1;
}

void TestExchange::unreachable()
{
    QFETCH(QByteArray, probe);
    QFETCH(Forum, forum);
    QFETCH(int, outcome);
    QFETCH(int, forumRequests);

    LoopbackServer probeServer;
    probeServer.server().Get("/", [probe](const httplib::Request &, httplib::Response &response) {
        response.set_content(probe.toStdString(), "text/html");
    });
    LoopbackServer forumServer;
    forumServer.server().Post("/member.php", [forum](const httplib::Request &, httplib::Response &response) {
        if (forum == Forum::Silent)
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        response.status = 503;
        response.set_content("<html><title>503 Service Unavailable</title></html>", "text/html");
    });
    // One request per connection, so no idle connection holds up the servers' end.
    probeServer.server().set_keep_alive_max_count(1);
    forumServer.server().set_keep_alive_max_count(1);
    QVERIFY(probeServer.start());
    QVERIFY(forumServer.start());
    Config::Endpoints endpoints;
    endpoints.forum = forumServer.baseUrl();
    endpoints.probe = probeServer.baseUrl();
    endpoints.timeout = std::chrono::milliseconds(300);
    if (probe.isNull())
        probeServer.stop();
    if (forum == Forum::Down)
        forumServer.stop();

    const Run run = login(endpoints, LoginForm{u"alice"_s, u"pw"_s, 0, {}});
    QVERIFY(run.result);
    QCOMPARE(int(run.result->outcome), outcome);
    QCOMPARE(int(forumServer.requests().size()), forumRequests);
}

// Interrupting the probe (which waits in a nested event loop): a newer start() takes over and
// the older one ends silently; a deleted exchange is never touched again.
void TestExchange::interruptedProbe()
{
    DemoSite::Server slowSite(DemoSite::Options{1, 300, "V1.0"});
    QVERIFY(slowSite.start());
    const QString base = QString::fromStdString(slowSite.baseUrl());
    Config::Endpoints endpoints;
    endpoints.forum = base + u"forum/"_s;
    endpoints.probe = base + u"probe/"_s;

    QList<Login::LoginResult> results;
    auto *exchange = new Login::Exchange(endpoints);
    connect(exchange, &Login::Exchange::finished, this, [&results](const Login::LoginResult &r) { results << r; });
    QTimer::singleShot(50, exchange, [exchange] { exchange->start(LoginForm{u"demo"_s, u"demo123"_s, 0, {}}); });
    exchange->start(LoginForm{u"demo"_s, u"wrong"_s, 0, {}});
    QTRY_COMPARE_WITH_TIMEOUT(results.size(), 1, 5000);
    QCOMPARE(results.first().outcome, LoginOutcome::Success);
    QTest::qWait(400);
    QCOMPARE(results.size(), 1);

    QTimer::singleShot(50, exchange, [exchange] { delete exchange; });
    exchange->start(LoginForm{u"demo"_s, u"demo123"_s, 0, {}});
    QCOMPARE(results.size(), 1);
}

QTEST_GUILESS_MAIN(TestExchange)
#include "tst_exchange.moc"

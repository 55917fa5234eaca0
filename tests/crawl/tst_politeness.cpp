// How long the crawl waits for a host: what a Retry-After value asks for, and how the pause of
// one host follows throttling answers, successes, the jitter and a Crawl-delay floor.
#include "crawl/hostdelay.h"
#include "crawl/retryafter.h"

#include <QTest>

using namespace Qt::StringLiterals;
using std::chrono::milliseconds;

class TestPoliteness : public QObject
{
    Q_OBJECT

private slots:
    void retryAfter_data();
    void retryAfter();
    void hostDelay_data();
    void hostDelay();
    void jitter_data();
    void jitter();
};

void TestPoliteness::retryAfter_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<qint64>("millis"); // -1: unreadable

    const qint64 cap = (qint64(1) << 31) * 1000;
    QTest::newRow("seconds") << "120"_ba << qint64(120000);
    QTest::newRow("spaces around") << " 7\t"_ba << qint64(7000);
    QTest::newRow("zero") << "0"_ba << qint64(0);
    QTest::newRow("huge saturates") << "99999999999999999999999999"_ba << cap;
    QTest::newRow("negative") << "-5"_ba << qint64(-1);
    QTest::newRow("fraction") << "1.5"_ba << qint64(-1);
    QTest::newRow("empty") << ""_ba << qint64(-1);
    QTest::newRow("word") << "soon"_ba << qint64(-1);
    QTest::newRow("IMF-fixdate") << "Thu, 06 Nov 2025 08:49:37 GMT"_ba << qint64(37000);
    QTest::newRow("RFC 850") << "Thursday, 06-Nov-25 08:49:37 GMT"_ba << qint64(37000);
    QTest::newRow("asctime") << "Thu Nov  6 08:49:37 2025"_ba << qint64(37000);
    QTest::newRow("asctime, two-digit day") << "Sun Nov 16 08:49:00 2025"_ba << qint64(10 * 86400000LL);
    QTest::newRow("leap second") << "Thu, 06 Nov 2025 08:49:60 GMT"_ba << qint64(59000);
    QTest::newRow("past") << "Sun, 06 Nov 1994 08:49:37 GMT"_ba << qint64(0);
    QTest::newRow("two-digit year, 50 ahead") << "Wednesday, 06-Nov-75 08:49:37 GMT"_ba << qint64(1577836837000);
    QTest::newRow("two-digit year, 51 ahead") << "Thursday, 06-Nov-76 08:49:37 GMT"_ba << qint64(0);
    QTest::newRow("far future saturates") << "Fri, 31 Dec 9999 23:59:59 GMT"_ba << cap;
    QTest::newRow("other zone") << "Thu, 06 Nov 2025 08:49:37 UTC"_ba << qint64(-1);
    QTest::newRow("no such day") << "Sat, 31 Feb 2026 08:49:37 GMT"_ba << qint64(-1);
    QTest::newRow("no such hour") << "Thu, 06 Nov 2025 24:00:00 GMT"_ba << qint64(-1);
    QTest::newRow("short year") << "Thu, 06 Nov 25 08:49:37 GMT"_ba << qint64(-1);
    QTest::newRow("trailing text") << "Thu Nov  6 08:49:37 2025x"_ba << qint64(-1);
}

void TestPoliteness::retryAfter()
{
    QFETCH(QByteArray, value);
    QFETCH(qint64, millis);
    const QDateTime now(QDate(2025, 11, 6), QTime(8, 49), Qt::UTC);
    const auto wait = Crawl::retryAfterWait(value, now);
    QCOMPARE(wait ? wait->count() : -1, millis);
}

void TestPoliteness::hostDelay_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("events"); // t: throttled, s: succeeded
    QTest::addColumn<int>("current");

    QTest::newRow("untouched") << 300 << 0 << QString() << 300;
    QTest::newRow("first backoff") << 0 << 0 << u"t"_s << 1000;
    QTest::newRow("doubles") << 0 << 0 << u"ttt"_s << 4000;
    QTest::newRow("ceiling") << 0 << 0 << u"tttttttt"_s << 60000;
    QTest::newRow("from set delay") << 5000 << 0 << u"t"_s << 10000;
    QTest::newRow("short set delay") << 300 << 0 << u"tt"_s << 2000;
    QTest::newRow("not eased yet") << 0 << 0 << u"ttssss"_s << 2000;
    QTest::newRow("eased") << 0 << 0 << u"ttsssss"_s << 1000;
    QTest::newRow("eased to set") << 300 << 0 << u"tsssss"_s << 300;
    QTest::newRow("throttle restarts count") << 0 << 0 << u"ttsssstssss"_s << 4000;
    QTest::newRow("floor") << 0 << 10000 << QString() << 10000;
    QTest::newRow("doubles the floor") << 0 << 10000 << u"t"_s << 20000;
    QTest::newRow("eased to floor") << 0 << 10000 << u"tsssssssss"_s << 10000;
}

void TestPoliteness::hostDelay()
{
    QFETCH(int, set);
    QFETCH(int, floor);
    QFETCH(QString, events);
    QFETCH(int, current);
    Crawl::HostDelay delay{milliseconds(set)};
    delay.setFloor(milliseconds(floor));
    for (const QChar event : events)
        event == u't' ? delay.throttled() : delay.succeeded();
    QCOMPARE(delay.current().count(), current);
}

void TestPoliteness::jitter_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("floor");
    QTest::addColumn<double>("jitter");
    QTest::addColumn<double>("random");
    QTest::addColumn<int>("wait");

    QTest::newRow("lowest") << 1000 << 0 << 0.5 << 0.0 << 500;
    QTest::newRow("middle") << 1000 << 0 << 0.5 << 0.5 << 1000;
    QTest::newRow("highest") << 1000 << 0 << 0.5 << 0.999 << 1499;
    QTest::newRow("no jitter") << 1000 << 0 << 0.0 << 0.9 << 1000;
    QTest::newRow("jitter kept to 1") << 1000 << 0 << 3.0 << 0.0 << 0;
    QTest::newRow("random kept in range") << 1000 << 0 << 0.5 << 7.0 << 1500;
    QTest::newRow("floor not undercut") << 1000 << 1000 << 0.5 << 0.0 << 1000;
}

void TestPoliteness::jitter()
{
    QFETCH(int, set);
    QFETCH(int, floor);
    QFETCH(double, jitter);
    QFETCH(double, random);
    QFETCH(int, wait);
    Crawl::HostDelay delay(milliseconds(set), jitter);
    delay.setFloor(milliseconds(floor));
    QCOMPARE(delay.wait(random).count(), wait);
}

QTEST_GUILESS_MAIN(TestPoliteness)
#include "tst_politeness.moc"

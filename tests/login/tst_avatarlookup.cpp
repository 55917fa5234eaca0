#include "login/avatarlookup.h"
#include "login/pictureformat.h"
#include "net/networkaccess.h"
#include "support/loopbackserver.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAvatarLookup : public QObject
{
    Q_OBJECT

private slots:
    void numericAccount_data();
    void numericAccount();
    void avatarUrl_data();
    void avatarUrl();
    void pictureFormat_data();
    void pictureFormat();
    void probe_data();
    void probe();
    void onlyTheNewestLookupReports();
};

void TestAvatarLookup::numericAccount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    for (const char *yes : {"7", "0042", "+12", "-3", "1.5", ".5", "1."})
        QTest::newRow(yes) << QString::fromLatin1(yes) << true;
    for (const char *no : {"", "alice", "12a", "1.2.3", "+", ".", "1 2", " 7", "1e5", "--1"})
        QTest::newRow(no) << QString::fromLatin1(no) << false;
    QTest::newRow("full-width digits") << u"１２"_s << false;
}

void TestAvatarLookup::numericAccount()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QCOMPARE(Login::isNumericAccount(text), numeric);
}

void TestAvatarLookup::avatarUrl_data()
{
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("path"); // after the store's folder; empty: no address
    QTest::newRow("7") << u"7"_s << u"000/00/00/07_avatar_middle.jpg"_s;
    QTest::newRow("42") << u"42"_s << u"000/00/00/42_avatar_middle.jpg"_s;
    QTest::newRow("123") << u"123"_s << u"000/00/01/23_avatar_middle.jpg"_s;
    QTest::newRow("1234") << u"1234"_s << u"000/00/12/34_avatar_middle.jpg"_s;
    QTest::newRow("12345") << u"12345"_s << u"000/01/23/45_avatar_middle.jpg"_s;
    QTest::newRow("123456") << u"123456"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("1.5, character by character") << u"1.5"_s << u"000/00/01/.5_avatar_middle.jpg"_s;
    // A uid from a forum answer cannot leave its path segment.
    QTest::newRow("slash and query") << u"1/?#"_s << u"000/00/1%2F/%3F%23_avatar_middle.jpg"_s;
}

void TestAvatarLookup::avatarUrl()
{
    QFETCH(QString, uid);
    QFETCH(QString, path);
    const QString forum = u"http://forum.test/bbs/"_s;
    QCOMPARE(Login::avatarUrl(forum, uid), path.isEmpty() ? QString() : forum + u"uc_server/data/avatar/"_s + path);
}

void TestAvatarLookup::pictureFormat_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("format"); // empty: not decoded
    QTest::newRow("JPEG") << QByteArray("\xFF\xD8\xFF\xE0") << QByteArray("JPEG");
    QTest::newRow("GIF87a") << QByteArray("GIF87a\x01") << QByteArray("GIF");
    QTest::newRow("GIF89a") << QByteArray("GIF89a") << QByteArray("GIF");
    QTest::newRow("PNG") << QByteArray("\x89PNG\r\n\x1A\n\0") << QByteArray("PNG");
    QTest::newRow("bitmap") << QByteArray("BM6") << QByteArray("BMP");
    QTest::newRow("PNG cut short") << QByteArray("\x89PNG\r\n") << QByteArray();
    QTest::newRow("portable pixmap") << QByteArray("P6\n1 1\n255\n") << QByteArray();
    QTest::newRow("icon") << QByteArray("\0\0\1\0", 4) << QByteArray();
    QTest::newRow("WebP") << QByteArray("RIFF\0\0\0\0WEBP", 12) << QByteArray();
    QTest::newRow("error page") << QByteArray("<html>BM") << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestAvatarLookup::pictureFormat()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, format);
    QCOMPARE(QByteArray(Login::pictureFormat(bytes)), format);
}

// Stored pictures, error pages, refused connections and uids without an address are played
// through the login window against the demo forum; here only what that forum does not serve.
void TestAvatarLookup::probe_data()
{
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("picture");
    const QByteArray gif("GIF89a\x01\x00\x01\x00", 10);
    const QByteArray webp("RIFF\0\0\0\0WEBP", 12);
    QTest::newRow("image type, other format") << QByteArray("image/webp") << webp << false;
    QTest::newRow("picture bytes, vague type") << QByteArray("application/octet-stream") << gif << true;
    const QByteArray tooLarge = gif + QByteArray(Login::AvatarLookup::kLargestPicture, 'x');
    QTest::newRow("over the limit") << QByteArray("image/gif") << tooLarge << false;
}

void TestAvatarLookup::probe()
{
    QFETCH(QByteArray, contentType);
    QFETCH(QByteArray, body);
    QFETCH(bool, picture);
    LoopbackServer server;
    server.server().Get(".*", [&](const httplib::Request &, httplib::Response &response) {
        response.set_content(body.toStdString(), contentType.toStdString());
    });
    QVERIFY(server.start());
    Login::AvatarLookup lookup(server.baseUrl(), std::chrono::seconds(10));
    QSignalSpy finished(&lookup, &Login::AvatarLookup::finished);
    lookup.lookUp(u"123"_s);
    QVERIFY(finished.wait(10000));

    QCOMPARE(finished.at(0).at(0).value<Login::AvatarResult>().picture, picture ? body : QByteArray());
    QCOMPARE(server.requests().size(), std::size_t(1));
    QCOMPARE(server.requests().at(0).path, "/uc_server/data/avatar/000/00/01/23_avatar_middle.jpg");
    Net::networkManager().clearConnectionCache(); // the server stops without waiting for it
}

void TestAvatarLookup::onlyTheNewestLookupReports()
{
    LoopbackServer server;
    server.server().Get(".*", [](const httplib::Request &, httplib::Response &response) {
        response.set_content("GIF89a", "image/gif");
    });
    QVERIFY(server.start());
    Login::AvatarLookup lookup(server.baseUrl(), std::chrono::seconds(10));
    QSignalSpy finished(&lookup, &Login::AvatarLookup::finished);
    lookup.lookUp(u"7"_s);
    lookup.lookUp(u"42"_s);
    QVERIFY(finished.wait(10000));
    QTest::qWait(100);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.at(0).at(0).value<Login::AvatarResult>().uid, u"42"_s);
    Net::networkManager().clearConnectionCache();
}

QTEST_GUILESS_MAIN(TestAvatarLookup)
#include "tst_avatarlookup.moc"

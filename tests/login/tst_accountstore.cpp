#include "crypto/aes/rijndael.h"
#include "login/accountstore.h"
#include "support/files.h"
#include "support/messagerecorder.h"
#include "text/gbk.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Login::AccountStore;
using Login::LoginIni;
using Login::SavedAccount;

namespace {

constexpr auto kSection = u"INFORMATION";
// Owner, group and others; Qt also reports the running user's bits, which are the owner's here.
constexpr QFileDevice::Permissions kModeBits(0x7077);

QString enciphered(const QString &text)
{
    Crypto::cRijndael cipher;
    return cipher.StringEncrypt(text, u"Quill"_s, 256, 256);
}

QByteArray gbk(const QString &text)
{
    return Text::toGbk(text);
}

} // namespace

class TestAccountStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void read_data();
    void read();
    void handWrittenFileKeepsItsOtherLines();
    void brokenCipherTexts_data();
    void brokenCipherTexts();
    void unwritableLocationIsSkipped();
    void fileModes();
    void explicitPathWins();
};

void TestAccountStore::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(u"login.ini"_s);
    QFile::remove(m_path);
}

void TestAccountStore::roundTrip_data()
{
    QTest::addColumn<SavedAccount>("account");
    QTest::addColumn<SavedAccount>("loaded");
    QTest::addColumn<QString>("keep");
    QTest::addColumn<QString>("ask");
    QTest::addColumn<int>("passLength"); // characters of the stored PASS
    QTest::addColumn<int>("ansLength");
    QTest::addColumn<bool>("refused"); // the save says why it remembered nothing

    const SavedAccount alice{true, u"alice"_s, u"pw"_s, 0, {}};
    QTest::newRow("alice, no question") << alice << alice << u"是"_s << u"0"_s << 32 << 0 << false;
    const SavedAccount question{true, u"alice"_s, u"pw"_s, 5, u"ThinkPad 笔记本"_s};
    QTest::newRow("question 5") << question << question << u"是"_s << u"5"_s << 32 << 32 << false;
    // 40 GBK bytes make three blocks: 64 digits, two spaces, 32 digits.
    const SavedAccount longPassword{true, u"用户"_s, QString(20, u'密'), 0, {}};
    QTest::newRow("three blocks") << longPassword << longPassword << u"是"_s << u"0"_s << 98 << 0 << false;
    QTest::newRow("unticked clears") << SavedAccount{false, u"alice"_s, u"pw"_s, 3, u"x"_s} << SavedAccount{} << u"否"_s << u"0"_s
                                     << 0 << 0 << false;
    // Enciphered, these pass the 254 bytes a profile value is cut to: read whole.
    const SavedAccount longest{true, u"alice"_s, QString(200, u'p'), 0, {}};
    QTest::newRow("200-character password") << longest << longest << u"是"_s << u"0"_s << int(enciphered(longest.password).size())
                                            << 0 << false;
    const SavedAccount longAnswer{true, u"alice"_s, u"pw"_s, 3, QString(60, u'答')};
    QTest::newRow("120-byte answer") << longAnswer << longAnswer << u"是"_s << u"3"_s << 32
                                     << int(enciphered(longAnswer.answer).size()) << false;
    // Quoted, so that the reader's trimming and unquoting give it back.
    const SavedAccount spaced{true, u" \"bob\" "_s, u"pw"_s, 0, {}};
    QTest::newRow("spaces and quotes around the account") << spaced << spaced << u"是"_s << u"0"_s << 32 << 0 << false;
    // A name that would split the section is not remembered, and neither is the old account.
    QTest::newRow("line break in the account")
        << SavedAccount{true, u"bob\r\n[X]"_s, u"pw"_s, 0, {}} << SavedAccount{} << u"否"_s << u"0"_s << 0 << 0 << true;
    QTest::newRow("NUL in the account") << SavedAccount{true, u"bob"_s + QChar(0) + u"x"_s, u"pw"_s, 0, {}} << SavedAccount{}
                                        << u"否"_s << u"0"_s << 0 << 0 << true;
}

void TestAccountStore::roundTrip()
{
    QFETCH(SavedAccount, account);
    QFETCH(SavedAccount, loaded);
    QFETCH(QString, keep);
    QFETCH(QString, ask);
    QFETCH(int, passLength);
    QFETCH(int, ansLength);
    QFETCH(bool, refused);

    // Over a file that remembered someone else with a question.
    AccountStore(m_path).save({true, u"old"_s, u"old"_s, 2, u"old"_s});
    AccountStore store(m_path);
    QCOMPARE(store.save(account).isEmpty(), !refused);

    const LoginIni ini(m_path);
    QCOMPARE(ini.read(kSection, u"保存账号"), keep);
    QCOMPARE(ini.read(kSection, u"USER"), loaded.user);
    QCOMPARE(ini.read(kSection, u"PASS", LoginIni::ValueKind::Secret).size(), passLength);
    QCOMPARE(ini.read(kSection, u"ASK"), ask);
    QCOMPARE(ini.read(kSection, u"ANS", LoginIni::ValueKind::Secret).size(), ansLength);
    const QByteArray file = TestFiles::readAll(m_path);
    QVERIFY(!file.contains("\n\n")); // CR LF throughout
    QVERIFY(!file.contains(gbk(enciphered(u"old"_s))));

    MessageRecorder messages;
    QVERIFY(AccountStore(m_path).load() == loaded);
    QCOMPARE(messages.texts, QStringList());
}

void TestAccountStore::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    const QByteArray plain = "[INFORMATION]\r\nUSER=alice\r\n";
    QTest::newRow("exact") << plain << u"INFORMATION"_s << u"USER"_s << u"alice"_s;
    QTest::newRow("names in any case") << plain << u"Information"_s << u"user"_s << u"alice"_s;
    QTest::newRow("missing key") << plain << u"INFORMATION"_s << u"PASS"_s << QString();
    QTest::newRow("missing section") << plain << u"OTHER"_s << u"USER"_s << QString();
    QTest::newRow("key of another section") << QByteArray("[A]\r\nUSER=x\r\n[B]\r\nK=y\r\n") << u"B"_s << u"USER"_s << QString();
    QTest::newRow("LF only, spaces and quotes") << QByteArray("[INFORMATION]\nUSER =  \"bob \"  \n") << u"INFORMATION"_s
                                                << u"USER"_s << u"bob "_s;
    QTest::newRow("first of two") << QByteArray("[S]\r\nK=1\r\nK=2\r\n") << u"S"_s << u"K"_s << u"1"_s;
    QTest::newRow("GBK key and value") << gbk(u"[INFORMATION]\r\n保存账号=是\r\n"_s) << u"INFORMATION"_s << u"保存账号"_s
                                       << u"是"_s;
    QTest::newRow("cut at 254 bytes") << "[S]\r\nK=" + QByteArray(300, 'A') << u"S"_s << u"K"_s << QString(254, u'A');
    QTest::newRow("no half character at the cut") << gbk(u"[S]\r\nK=a"_s + QString(150, u'密')) << u"S"_s << u"K"_s
                                                   << u"a"_s + QString(126, u'密');
}

void TestAccountStore::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QVERIFY(TestFiles::writeAll(m_path, file));
    QCOMPARE(LoginIni(m_path).read(section, key), value);
    QCOMPARE(LoginIni(m_dir.filePath(u"missing.ini"_s)).read(section, key), QString());
}

void TestAccountStore::handWrittenFileKeepsItsOtherLines()
{
    const QString head = u"; 由别的程序写的\r\n[Other]\r\nName=值\r\n\r\n"_s;
    const QString tail = u"\r\n[Tail]\r\nx=1"_s;
    QVERIFY(TestFiles::writeAll(m_path, gbk(head + u"[information]\r\n保存账号 = 是 \r\nuser=\"bob\"\r\nAsk=0\r\n"_s + tail)));

    AccountStore store(m_path);
    QVERIFY(store.load() == (SavedAccount{true, u"bob"_s, {}, 0, {}}));

    store.save({true, u"bob"_s, u"pw"_s, 0, {}});
    const QString section = u"[information]\r\n保存账号=是\r\nUSER=bob\r\nASK=0\r\nPASS="_s + enciphered(u"pw"_s)
        + u"\r\nANS=\r\n"_s;
    QCOMPARE(TestFiles::readAll(m_path), gbk(head + section + tail));
}

void TestAccountStore::brokenCipherTexts_data()
{
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("ans");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("password");

    const QString pw = enciphered(u"pw"_s);
    QTest::newRow("PASS not hexadecimal") << u"xyz"_s << QString() << u"错误：非十六进制数据！"_s << QString();
    QTest::newRow("PASS cut short") << pw.left(30) << QString() << QString() << QString();
    QTest::newRow("ANS not hexadecimal") << pw << u"zz"_s << u"错误：非十六进制数据！"_s << u"pw"_s;
}

void TestAccountStore::brokenCipherTexts()
{
    QFETCH(QString, pass);
    QFETCH(QString, ans);
    QFETCH(QString, message);
    QFETCH(QString, password);
    const QString ask = ans.isEmpty() ? u"0"_s : u"5"_s;
    QVERIFY(TestFiles::writeAll(m_path, gbk(u"[INFORMATION]\r\n保存账号=是\r\nUSER=alice\r\nPASS="_s + pass
                                             + u"\r\nASK="_s + ask + u"\r\nANS="_s + ans + u"\r\n"_s)));
    MessageRecorder messages;
    QVERIFY(AccountStore(m_path).load() == (SavedAccount{true, u"alice"_s, password, 0, {}}));
    QCOMPARE(messages.texts.size(), 1);
    if (!message.isEmpty())
        QCOMPARE(messages.texts.first(), message);
}

void TestAccountStore::unwritableLocationIsSkipped()
{
    // A file where the folder should be: no user, root included, can write there.
    const QString blocker = m_dir.filePath(u"blocker"_s);
    QVERIFY(TestFiles::writeAll(blocker, "x"));
    AccountStore store(blocker + u"/login.ini"_s);
    store.save({true, u"alice"_s, u"pw"_s, 0, {}});
    QVERIFY(store.load() == SavedAccount{});
    QCOMPARE(TestFiles::readAll(blocker), QByteArray("x"));
}

void TestAccountStore::fileModes()
{
    AccountStore(m_path).save({true, u"alice"_s, u"pw"_s, 0, {}});
    QCOMPARE(QFileInfo(m_path).permissions() & kModeBits, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A file the user made readable keeps its mode until a password goes into it.
    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QVERIFY(QFile::setPermissions(m_path, shared));
    AccountStore(m_path).save({false, {}, {}, 0, {}});
    QCOMPARE(QFileInfo(m_path).permissions() & kModeBits, shared);
    AccountStore(m_path).save({true, u"alice"_s, u"pw"_s, 0, {}});
    QCOMPARE(QFileInfo(m_path).permissions() & kModeBits, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestAccountStore::explicitPathWins()
{
    QCOMPARE(Login::loginIniPath(m_path), m_path);
    // The test's own folder is writable, so the file goes beside the program.
    QCOMPARE(Login::loginIniPath({}), QDir(QCoreApplication::applicationDirPath()).filePath(u"login.ini"_s));
}

QTEST_GUILESS_MAIN(TestAccountStore)
#include "tst_accountstore.moc"

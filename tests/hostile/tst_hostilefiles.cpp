// Files that are not what the program expects: a login.ini in another encoding, without line
// ends, with a huge value, over 1 MiB, or that is a FIFO, a folder or a link; an export target
// that cannot take the write; a cut-off cipher text; a crawl output on a full disk. Nothing may crash, and nothing the user
// had may be lost.
#include "demo-site/server.h"
#include "login/accountstore.h"
#include "net/networkaccess.h"
#include "support/clirun.h"
#include "support/demositerows.h"
#include "support/fifofeed.h"
#include "support/files.h"
#include "support/filesizelimit.h"
#include "support/messagerecorder.h"
#include "support/recordedform.h"
#include "text/gbk.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using Login::SavedAccount;

namespace {

enum class FileKind { Regular, Folder, Fifo, Link };

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void loginIni_data();
    void loginIni();
    void exportTarget_data();
    void exportTarget();
    void truncatedCipherText_data();
    void truncatedCipherText();
    void crawlOnAFullDisk_data();
    void crawlOnAFullDisk();
};

void TestHostileFiles::loginIni_data()
{
    QTest::addColumn<FileKind>("kind");
    QTest::addColumn<QByteArray>("content"); // of the file, the FIFO's feed or the link's target
    QTest::addColumn<SavedAccount>("loaded");
    QTest::addColumn<bool>("taken");      // the save goes into it
    QTest::addColumn<QByteArray>("kept"); // bytes the save must leave in the file

    const QByteArray other = "[OTHER]\r\nX=1\r\n";
    const QByteArray keep = Text::toGbk(u"[INFORMATION]\r\n保存账号=是\r\n"_s);
    const SavedAccount abc{true, u"abc"_s, {}, 0, {}};
    const QString text = u"[INFORMATION]\r\n保存账号=是\r\nUSER=abc\r\n"_s;
    QByteArray utf16("\xff\xfe", 2);
    utf16 += QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);

    // Another encoding: its keys are not ours, so nothing loads; the save adds ours.
    QTest::newRow("UTF-16") << FileKind::Regular << utf16 << SavedAccount{} << true << utf16;
    QTest::newRow("UTF-8") << FileKind::Regular << other + text.toUtf8() << SavedAccount{} << true << other;
    // Old Mac line ends: one line, the header's, with no key after it.
    const QByteArray oldMac = Text::toGbk(QString(text).replace(u"\r\n"_s, u"\r"_s));
    QTest::newRow("CR line ends") << FileKind::Regular << oldMac << SavedAccount{} << true << oldMac;
    QTest::newRow("last line without end") << FileKind::Regular << other + keep + "USER=abc" << abc << true << other;
    QTest::newRow("100 KB value") << FileKind::Regular << keep + "USER=" + QByteArray(100 << 10, 'a') + "\r\n" + other
                                  << SavedAccount{true, QString(254, u'a'), {}, 0, {}} << true << other;
    // Nothing but a regular file of up to 1 MiB is read or written: a FIFO would block the
    // window, a huge file fill its memory.
    const QByteArray huge = keep + "USER=abc\r\n" + QByteArray(1 << 20, ';');
    QTest::newRow("over 1 MiB") << FileKind::Regular << huge << SavedAccount{} << false << huge;
    QTest::newRow("a FIFO") << FileKind::Fifo << Text::toGbk(text) << SavedAccount{} << false << QByteArray();
    QTest::newRow("a folder") << FileKind::Folder << QByteArray() << SavedAccount{} << false << QByteArray();
    // A link is followed: it leads only where the user could write anyway.
    QTest::newRow("a link to a file") << FileKind::Link << Text::toGbk(text) << abc << true << QByteArray();
}

void TestHostileFiles::loginIni()
{
    QFETCH(FileKind, kind);
    QFETCH(QByteArray, content);
    QFETCH(SavedAccount, loaded);
    QFETCH(bool, taken);
    QFETCH(QByteArray, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"login.ini"_s);
    std::optional<FifoFeed> feed;
    switch (kind) {
    case FileKind::Regular: QVERIFY(TestFiles::writeAll(path, content)); break;
    case FileKind::Folder: QVERIFY(QDir(dir.path()).mkdir(u"login.ini"_s)); break;
    case FileKind::Fifo: QVERIFY(feed.emplace(path, content).isMade()); break;
    case FileKind::Link:
        QVERIFY(TestFiles::writeAll(dir.filePath(u"target.ini"_s), content));
        QVERIFY(QFile::link(u"target.ini"_s, path));
        break;
    }
    const QStringList entries = entriesOf(dir.path());
    MessageRecorder messages;
    Login::AccountStore store(path);

    QCOMPARE(store.load(), loaded);
    const SavedAccount saved{true, u"新用户"_s, u"p&w=密"_s, 3, u"北京"_s};
    store.save(saved);

    QVERIFY(messages.texts.isEmpty());
    QVERIFY(TestFiles::readAll(path).contains(kept)); // a FIFO's feed ends here
    QCOMPARE(Login::AccountStore(path).load(), taken ? saved : SavedAccount{});
    QCOMPARE(QFileInfo(path).isSymLink(), kind == FileKind::Link);
    QCOMPARE(entriesOf(dir.path()), entries); // no temporary file left
}

void TestHostileFiles::exportTarget_data()
{
    QTest::addColumn<bool>("diskFull"); // else the chosen file has become a folder
    QTest::newRow("disk full") << true;
    QTest::newRow("became a folder") << false;
}

// Between the save dialog and the write the target stops taking bytes: a warning naming the
// file, and the file as it was.
void TestHostileFiles::exportTarget()
{
    QFETCH(bool, diskFull);
    DemoSite::Server site;
    QVERIFY(site.start());
    RecordedForm f(DemoSiteRows::endpointsOf(site));
    QTest::mouseClick(f.child("Command1"), Qt::LeftButton);
    QVERIFY(f.child("Command4")->isEnabled());
    Net::networkManager().clearConnectionCache();

    QTemporaryDir dir;
    const QString target = dir.filePath(u"codes.txt"_s);
    const QByteArray old = "\r\nold/1\r\n";
    QVERIFY(diskFull ? TestFiles::writeAll(target, old) : QDir(dir.path()).mkdir(u"codes.txt"_s));
    f.saveAnswers = {target};
    {
        std::optional<FileSizeLimit> limit;
        if (diskFull)
            limit.emplace(old.size());
        QTest::mouseClick(f.child("Command4"), Qt::LeftButton);
    }

    QCOMPARE(f.messages.size(), 1);
    QCOMPARE(f.messages[0].icon, Gui::MessageIcon::Warning);
    QVERIFY(f.messages[0].text.contains(QDir::toNativeSeparators(target)));
    if (diskFull)
        QCOMPARE(TestFiles::readAll(target), old);
    else
        QVERIFY(QFileInfo(target).isDir());
}

void TestHostileFiles::truncatedCipherText_data()
{
    QTest::addColumn<QStringList>("encrypt"); // + PLAIN CIPHER
    QTest::addColumn<QStringList>("decrypt"); // + OUTPUT CIPHER
    QTest::addColumn<int>("cut");             // bytes taken off the end of the cipher text

    const QStringList password{u"--password"_s, u"口令"_s};
    QTest::newRow("aes, half a block") << QStringList{u"aes"_s, u"encrypt-file"_s} + password
                                       << QStringList{u"aes"_s, u"decrypt-file"_s} + password << 7;
    QTest::newRow("rndxor") << QStringList{u"rndxor"_s, u"encrypt-file"_s} + password
                            << QStringList{u"rndxor"_s, u"decrypt-file"_s} + password << 7;
    // One character over a whole group is ignored by the class's rule; two or three would
    // decode to nothing.
    QTest::newRow("base64, 4k+3") << QStringList{u"base64"_s, u"encode-file"_s} << QStringList{u"base64"_s, u"decode-file"_s} << 1;
    QTest::newRow("base64, 4k+2") << QStringList{u"base64"_s, u"encode-file"_s} << QStringList{u"base64"_s, u"decode-file"_s} << 2;
}

// A cipher text cut off in transit: exit code 1 with a message, and the good output that was
// there before stays in place.
void TestHostileFiles::truncatedCipherText()
{
    QFETCH(QStringList, encrypt);
    QFETCH(QStringList, decrypt);
    QFETCH(int, cut);
    QTemporaryDir dir;
    const QString plain = dir.filePath(u"plain.txt"_s);
    const QString cipher = dir.filePath(u"cipher"_s);
    const QString output = dir.filePath(u"output.txt"_s);
    QVERIFY(TestFiles::writeAll(plain, Text::toGbk(u"资源码 lk/9Zt 提取码 gp13\r\n"_s.repeated(300))));
    QCOMPARE(runCli(encrypt + QStringList{plain, cipher}).code, 0);
    QByteArray whole = TestFiles::readAll(cipher);
    whole.chop(cut);
    QVERIFY(TestFiles::writeAll(cipher, whole));
    const QByteArray good = "the good output\r\n";
    QVERIFY(TestFiles::writeAll(output, good));

    MessageRecorder messages;
    const CliOutcome outcome = runCli(decrypt + QStringList{output, cipher});

    QCOMPARE(outcome.code, 1);
    QVERIFY(!outcome.err.isEmpty() || !messages.texts.isEmpty());
    QCOMPARE(TestFiles::readAll(output), good);
    QCOMPARE(entriesOf(dir.path()), (QStringList{u"cipher"_s, u"output.txt"_s, u"plain.txt"_s}));
}

void TestHostileFiles::crawlOnAFullDisk_data()
{
    QTest::addColumn<bool>("append");
    QTest::newRow("replace") << false;
    QTest::newRow("append") << true;
}

// The crawl runs as its own process under a file-size limit well below its output: exit code
// 1, the summary on stderr, the old output untouched and no temporary file left.
void TestHostileFiles::crawlOnAFullDisk()
{
    QFETCH(bool, append);
    DemoSite::Server site;
    QVERIFY(site.start());
    QTemporaryDir dir;
    const QString output = dir.filePath(u"rows.jsonl"_s);
    const QByteArray old = "{\"old\":1}\n";
    QVERIFY(TestFiles::writeAll(output, old));

    QProcess crawl;
    crawl.setChildProcessModifier([] { FileSizeLimit::applyInChild(4096); });
    const QString base = QString::fromStdString(site.baseUrl());
    QStringList arguments{u"--share-site"_s, base, u"--share-prefix"_s, base + u"yunpan/"_s,
                          u"crawl"_s, u"--pages"_s, u"0-2"_s, u"--output"_s, output};
    if (append)
        arguments << u"--append"_s;
    crawl.start(QStringLiteral(VORLEN_CLI_EXECUTABLE), arguments);
    QVERIFY(crawl.waitForFinished(60000));

    const QString err = QString::fromUtf8(crawl.readAllStandardError());
    QCOMPARE(crawl.exitStatus(), QProcess::NormalExit);
    QCOMPARE(crawl.exitCode(), 1);
    QVERIFY2(err.contains(u"crawl: cannot write "_s + output), qPrintable(err));
    QVERIFY2(err.trimmed().section(u'\n', -1).startsWith(u"crawl: pages read "_s), qPrintable(err)); // the summary
    QCOMPARE(TestFiles::readAll(output), old);
    QCOMPARE(entriesOf(dir.path()), QStringList{u"rows.jsonl"_s});
}

QTEST_MAIN(TestHostileFiles)
#include "tst_hostilefiles.moc"

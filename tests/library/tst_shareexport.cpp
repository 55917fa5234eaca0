#include "library/shareexport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class ShareExportTest : public QObject
{
    Q_OBJECT

private slots:
    void write_data();
    void write();
    void unwritablePath();
    void names();
};

namespace {

QList<Library::ShareRecord> shares()
{
    Library::ShareRecord formula;
    formula.id = 1;
    formula.title = u"=1+1, \"A\""_s;
    formula.fileCount = u"3"_s;
    formula.shareCode = u"s/a"_s;
    formula.extractionCode = u"c1"_s;
    formula.shareUrl = u"http://y/s/a"_s;
    formula.firstSeen = QDateTime(QDate(2024, 5, 1), QTime(8, 0), Qt::UTC);
    formula.lastSeen = QDateTime(QDate(2024, 5, 2), QTime(8, 0), Qt::UTC);
    formula.timesSeen = 2;

    Library::ShareRecord dead = formula;
    dead.id = 2;
    dead.title = u"链接😀"_s;
    dead.fileCount = u"1"_s;
    dead.shareCode = u"s/b"_s;
    dead.extractionCode.clear();
    dead.shareUrl = u"http://y/s/b"_s;
    dead.timesSeen = 1;
    dead.link = Crawl::LinkVerdict{Crawl::LinkState::Dead, Crawl::DeadReason::Expired};
    return {formula, dead};
}

const QByteArray kBom("\xEF\xBB\xBF");
const QByteArray kLinkGbk("\xC1\xB4\xBD\xD3"); // 链接

} // namespace

void ShareExportTest::write_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray csvHead = "title,fileCount,shareCode,extractionCode,shareUrl,link,deadReason,firstSeen,lastSeen,timesSeen\r\n";
    const QByteArray csvFormula = "\"'=1+1, \"\"A\"\"\",3,s/a,c1,http://y/s/a,,,2024-05-01T08:00:00Z,2024-05-02T08:00:00Z,2\r\n";
    const QByteArray csvDeadTail = ",1,s/b,,http://y/s/b,dead,expired,2024-05-01T08:00:00Z,2024-05-02T08:00:00Z,1\r\n";
    const QByteArray jsonTimes = R"("firstSeen":"2024-05-01T08:00:00Z","lastSeen":"2024-05-02T08:00:00Z",)";
    const QByteArray jsonFormula = R"({"title":"=1+1, \"A\"","fileCount":"3","shareCode":"s/a","extractionCode":"c1","shareUrl":"http://y/s/a","link":null,"deadReason":null,)"
                                   + jsonTimes + "\"timesSeen\":2}\n";
    const QByteArray jsonDeadTail = R"(","fileCount":"1","shareCode":"s/b","extractionCode":"","shareUrl":"http://y/s/b","link":"dead","deadReason":"expired",)"
                                    + jsonTimes + "\"timesSeen\":1}\n";

    QTest::newRow("template, utf-8: no mark") << u"template"_s << u"utf-8"_s
                                             << QByteArray("=1+1, \"A\"|c1\r\n" + u"链接😀"_s.toUtf8() + "|\r\n");
    QTest::newRow("template, gbk: ? for what GBK lacks") << u"template"_s << u"gbk"_s
                                                         << QByteArray("=1+1, \"A\"|c1\r\n" + kLinkGbk + "?|\r\n");
    QTest::newRow("csv, utf-8: mark, defused, quoted")
        << u"csv"_s << u"utf-8"_s << QByteArray(kBom + csvHead + csvFormula + u"链接😀"_s.toUtf8() + csvDeadTail);
    QTest::newRow("csv, gbk: no mark") << u"csv"_s << u"gbk"_s << QByteArray(csvHead + csvFormula + kLinkGbk + "?" + csvDeadTail);
    QTest::newRow("jsonl, utf-8: formulas as they are")
        << u"jsonl"_s << u"utf-8"_s << QByteArray(jsonFormula + "{\"title\":\"" + u"链接😀"_s.toUtf8() + jsonDeadTail);
    QTest::newRow("jsonl, gbk") << u"jsonl"_s << u"gbk"_s << QByteArray(jsonFormula + "{\"title\":\"" + kLinkGbk + "?" + jsonDeadTail);
}

void ShareExportTest::write()
{
    QFETCH(QString, format);
    QFETCH(QString, encoding);
    QFETCH(QByteArray, bytes);
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"out"_s);
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x')); // replaced, not appended to
    old.close();

    Library::ExportOptions options;
    options.format = *Library::parseExportFormat(format);
    options.encoding = *Library::parseExportEncoding(encoding);
    options.shareTemplate = u"{title}|{code}"_s;
    QCOMPARE(Library::writeShareExport(path, shares(), options), QString());
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
}

void ShareExportTest::unwritablePath()
{
    const QTemporaryDir dir;
    const QString path = dir.filePath(u"missing/out.csv"_s);
    const QString refusal = Library::writeShareExport(path, shares(), {});
    QVERIFY2(refusal.startsWith(QDir::toNativeSeparators(path) + u": cannot be written: "_s), qPrintable(refusal));
    QVERIFY(!QFile::exists(path));
}

void ShareExportTest::names()
{
    QCOMPARE(Library::parseExportFormat(u"jsonl"), Library::ExportFormat::JsonLines);
    QCOMPARE(Library::parseExportFormat(u"JSON"), std::nullopt);
    QCOMPARE(Library::parseExportEncoding(u"gbk"), Library::ExportEncoding::Gbk);
    QCOMPARE(Library::parseExportEncoding(u"utf8"), std::nullopt);
}

QTEST_GUILESS_MAIN(ShareExportTest)
#include "tst_shareexport.moc"

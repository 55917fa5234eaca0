// Rows written in each format and read back by an independent reader: whatever a title holds,
// every field comes back as it was (TSV, which has no quoting, turns tabs and line breaks into
// spaces), except that a CSV or TSV cell is never a spreadsheet formula nor a terminal's escape
// sequence.
#include "crawl/rowformat.h"
#include "support/csvreader.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

Crawl::CrawlRow rowWithTitle(const QString &title, std::optional<Crawl::LinkCheck> link)
{
    return {3, {u"12"_s, title, u"5个文件"_s, u"lk/Ab9"_s, u"p8v84rftq4esmt93qh"_s, u"gp13"_s}, u"http://disk/lk/Ab9"_s, link};
}

// A dead link checked at 2024-05-01 16:00 in UTC+8.
const Crawl::LinkCheck kExpired{{Crawl::LinkState::Dead, Crawl::DeadReason::Expired},
                                QDateTime(QDate(2024, 5, 1), QTime(16, 0), QTimeZone(8 * 3600)), 200};

QStringList expectedFields(const Crawl::CrawlRow &row)
{
    QStringList fields{u"3"_s, u"12"_s, row.entry.title, u"5个文件"_s, u"lk/Ab9"_s, u"gp13"_s, u"http://disk/lk/Ab9"_s};
    if (row.link)
        fields << u"dead"_s << u"expired"_s << u"2024-05-01T08:00:00Z"_s;
    return fields;
}

} // namespace

class TestRowFormat : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data();
    void readBack();
    void spreadsheetCells_data();
    void spreadsheetCells();
};

void TestRowFormat::readBack_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("withLink");
    QTest::newRow("plain") << u"周星驰电影 1080P"_s << false;
    QTest::newRow("commas") << u"合集,第1季,第2季"_s << true;
    QTest::newRow("quotes") << u"\"经典\" 老歌 \"\""_s << true;
    QTest::newRow("line breaks") << u"上集\r\n下集\n花絮\r"_s << false;
    QTest::newRow("everything") << u"\"a\",\tb\r\n,\"c"_s << true;
    QTest::newRow("empty") << QString() << true;
}

void TestRowFormat::readBack()
{
    QFETCH(QString, title);
    QFETCH(bool, withLink);
    const Crawl::CrawlRow row = rowWithTitle(title, withLink ? std::optional(kExpired) : std::nullopt);
    const QStringList fields = expectedFields(row);

    const QString csv = Crawl::outputHead(Crawl::Format::Csv, withLink) + Crawl::formatRow(Crawl::Format::Csv, row)
        + Crawl::formatRow(Crawl::Format::Csv, row);
    QVERIFY(csv.startsWith(QChar(0xFEFF)));
    const auto records = readCsv(csv.mid(1));
    QVERIFY(records);
    QCOMPARE(records->size(), 3);
    QCOMPARE(records->at(0).size(), fields.size());
    QCOMPARE(records->at(1), fields);
    QCOMPARE(records->at(2), fields);

    const QString jsonl = Crawl::formatRow(Crawl::Format::Jsonl, row);
    QVERIFY(jsonl.endsWith(u'\n') && jsonl.count(u'\n') == 1);
    QJsonParseError error{};
    const QJsonObject object = QJsonDocument::fromJson(jsonl.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QStringList header = records->at(0);
    for (qsizetype i = 0; i < header.size(); ++i)
        QCOMPARE(object.value(header.at(i)).toVariant().toString(), fields.at(i));
    QCOMPARE(object.size(), header.size());
    QCOMPARE(object.value(u"page"_s).toInt(-1), 3);

    const QString tsv = Crawl::formatRow(Crawl::Format::Tsv, row);
    QVERIFY(tsv.endsWith(u'\n') && tsv.count(u'\n') == 1);
    QStringList flattened = fields;
    flattened[2] = QString(title).replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' ').replace(u'\t', u' ');
    QCOMPARE(tsv.chopped(1).split(u'\t'), flattened);
    QVERIFY(Crawl::outputHead(Crawl::Format::Tsv, withLink).isEmpty());
}

void TestRowFormat::spreadsheetCells_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QString>("csv"); // the title as CSV reads back
    QTest::addColumn<QString>("tsv");
    QTest::newRow("=") << u"=HYPERLINK(\"http://x\",\"看\")"_s << false << u"'=HYPERLINK(\"http://x\",\"看\")"_s
                       << u"'=HYPERLINK(\"http://x\",\"看\")"_s;
    QTest::newRow("+") << u"+1"_s << false << u"'+1"_s << u"'+1"_s;
    QTest::newRow("-") << u"-2+3"_s << false << u"'-2+3"_s << u"'-2+3"_s;
    QTest::newRow("@") << u"@SUM(A1)"_s << false << u"'@SUM(A1)"_s << u"'@SUM(A1)"_s;
    QTest::newRow("tab") << u"\t=1"_s << false << u"'\t=1"_s << u"' =1"_s;
    QTest::newRow("CR") << u"\r=1"_s << false << u"'\r=1"_s << u"' =1"_s;
    QTest::newRow("- inside") << u"上-下"_s << false << u"上-下"_s << u"上-下"_s;
    QTest::newRow("empty") << QString() << false << QString() << QString();
    QTest::newRow("only =") << u"="_s << false << u"'="_s << u"'="_s;
    QTest::newRow("escape sequence") << u"a\x1b[2Jb\x7f\u009b"_s << false << u"a [2Jb  "_s << u"a [2Jb  "_s;
    QTest::newRow("raw =") << u"=1+1"_s << true << u"=1+1"_s << u"=1+1"_s;
    QTest::newRow("raw tab") << u"\t=1"_s << true << u"\t=1"_s << u" =1"_s;
    QTest::newRow("raw, escape sequence") << u"@\x1b"_s << true << u"@ "_s << u"@ "_s;
}

void TestRowFormat::spreadsheetCells()
{
    QFETCH(QString, title);
    QFETCH(bool, raw);
    QFETCH(QString, csv);
    QFETCH(QString, tsv);
    const Crawl::CrawlRow row = rowWithTitle(title, std::nullopt);
    const Harvest::Formulas formulas = raw ? Harvest::Formulas::Raw : Harvest::Formulas::Defused;

    const auto records = readCsv(Crawl::formatRow(Crawl::Format::Csv, row, formulas));
    QVERIFY(records && records->size() == 1);
    QCOMPARE(records->front().at(2), csv);
    QCOMPARE(Crawl::formatRow(Crawl::Format::Tsv, row, formulas).split(u'\t').at(2), tsv);
    QCOMPARE(Harvest::toTsv({row.entry}, formulas).split(u'\t').at(1), tsv);
    // JSON lines carry the title as it is.
    const QJsonObject object = QJsonDocument::fromJson(Crawl::formatRow(Crawl::Format::Jsonl, row, formulas).toUtf8()).object();
    QCOMPARE(object.value(u"title"_s).toString(), title);
}

QTEST_GUILESS_MAIN(TestRowFormat)
#include "tst_rowformat.moc"

#include "harvest/entryparser.h"
#include "harvest/tabularoutput.h"

#include <QDir>
#include <QFile>
#include <QTest>

using Harvest::parseEntries;
using Harvest::ResourceEntry;

namespace {

QString readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The fields an entry's row shows, in column order, joined by "|".
QString rowText(const ResourceEntry &e)
{
    return QStringList{e.number, e.title, e.fileCount, e.shareCode, e.entryId, e.extractionCode}.join(u'|');
}

} // namespace

class TestEntryParser : public QObject
{
    Q_OBJECT

private slots:
    void goldenPages_data();
    void goldenPages();
    void edgeCases_data();
    void edgeCases();
    void numbersFollowPageOrder();
};

// Every data/<case>.html against the rows in data/<case>.tsv.
void TestEntryParser::goldenPages_data()
{
    QTest::addColumn<QString>("htmlPath");
    const QDir data(QFINDTESTDATA("data"));
    const QStringList pages = data.entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
    QVERIFY(pages.size() >= 7);
    for (const QString &page : pages)
        QTest::newRow(qPrintable(page)) << data.filePath(page);
}

void TestEntryParser::goldenPages()
{
    QFETCH(QString, htmlPath);
    QString tsvPath = htmlPath;
    tsvPath.replace(QStringLiteral(".html"), QStringLiteral(".tsv"));
    QVERIFY(QFile::exists(tsvPath));
    QCOMPARE(Harvest::toTsv(parseEntries(readUtf8(htmlPath), Config::SiteProfile())), readUtf8(tsvPath));
}

void TestEntryParser::edgeCases_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("empty page") << QString() << QStringList{};
    QTest::newRow("entry marker at the very end")
        << QStringLiteral("<dfn>t</dfn><dd class='fff' id='") << QStringList{QStringLiteral("1|t||||")};
    QTest::newRow("field ends at the first <")
        << QStringLiteral("<dd class='fff' id='x'><dfn>a<b>c</b></dfn>") << QStringList{QStringLiteral("1|a|||x'><dfn>a<b>c</b><|")};
    QTest::newRow("field right before <")
        << QStringLiteral("<dd class='fff' id='x'><dfn><i>t</i>") << QStringList{QStringLiteral("1||||x'><dfn><i>t</i>|")};
    QTest::newRow("next marker bounds the piece")
        << QStringLiteral("<dd class='fff' id='1'><dd class='fff' id='2'><dfn>a<dfn>b<")
        << QStringList{QStringLiteral("1||||1'>|"), QStringLiteral("2|b|||2'><dfn>a<dfn>b<|")};
    QTest::newRow("adjacent entry markers")
        << QStringLiteral("<dd class='fff' id='<dd class='fff' id='q<")
        << QStringList{QStringLiteral("1|||||"), QStringLiteral("2||||q<|")};
    QTest::newRow("exactly 18 characters left")
        << QStringLiteral("<dd class='fff' id='123456789012345678") << QStringList{QStringLiteral("1||||123456789012345678|")};
    QTest::newRow("19 characters cut to 18")
        << QStringLiteral("<dd class='fff' id='1234567890123456789") << QStringList{QStringLiteral("1||||123456789012345678|")};
    QTest::newRow("line break kept in a field")
        << QStringLiteral("<dd class='fff' id='i'><span class='sma'>a\r\nb</span>")
        << QStringList{QStringLiteral("1||||i'><span class='sm|a\r\nb")};
}

void TestEntryParser::edgeCases()
{
    QFETCH(QString, page);
    QFETCH(QStringList, rows);
    QStringList actual;
    for (const ResourceEntry &entry : parseEntries(page, Config::SiteProfile()))
        actual.append(rowText(entry));
    QCOMPARE(actual, rows);
}

void TestEntryParser::numbersFollowPageOrder()
{
    QString page;
    for (int i = 0; i < 120; ++i)
        page += QStringLiteral("<dd class='fff' id='%1'>").arg(i, 18, 10, QChar(u'0'));
    const QList<ResourceEntry> entries = parseEntries(page, Config::SiteProfile());
    QCOMPARE(entries.size(), 120);
    for (int i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries.at(i).number, QString::number(i + 1));
        QCOMPARE(entries.at(i).entryId, QStringLiteral("%1").arg(i, 18, 10, QChar(u'0')));
    }
}

QTEST_APPLESS_MAIN(TestEntryParser)
#include "tst_entryparser.moc"

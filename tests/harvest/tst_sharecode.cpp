#include "harvest/sharecode.h"

#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(std::optional<QString>)

using Harvest::cutShareCode;

namespace {

const QString kPrefix = QStringLiteral("http://yunpan.test/");

std::optional<QString> code(const char16_t *text)
{
    return QString::fromUtf16(text);
}

} // namespace

class TestShareCode : public QObject
{
    Q_OBJECT

private slots:
    void cut_data();
    void cut();
    void emptyPrefixFindsNothing();
};

void TestShareCode::cut_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<std::optional<QString>>("expected");

    auto page = [](const char16_t *before, const char16_t *after) -> QString {
        return QString::fromUtf16(before) + kPrefix + QString::fromUtf16(after);
    };
    QTest::newRow("question mark before the quote") << page(u"<a href=\"", u"Q7nAbc?\" target=x>") << code(u"Q7nAbc");
    QTest::newRow("path with slash") << page(u"", u"lk/9Zt\">open</a>") << code(u"lk/9Zt");
    QTest::newRow("text after ? kept") << page(u"", u"ab?cd\"") << code(u"abcd");
    QTest::newRow("踋 removed") << page(u"", u"a踋b\"") << code(u"ab");
    QTest::newRow("鉳 removed") << page(u"", u"a鉳b鉳\"") << code(u"ab");
    QTest::newRow("every noise character") << page(u"", u"?踋x鉳?y\"z\"") << code(u"xy");
    QTest::newRow("stops at the first quote") << page(u"", u"abc\"踋def\"") << code(u"abc");
    QTest::newRow("quote right after prefix") << page(u"", u"\"x") << code(u"");
    QTest::newRow("prefix without quote") << page(u"<p>", u"abc</p>") << code(u"");
    QTest::newRow("prefix twice, quote only after the second")
        << QString(page(u"", u"abc") + kPrefix + u"def\""_s) << code(u"");
    QTest::newRow("prefix twice, quote in the first stretch")
        << QString(page(u"", u"ab\"c") + kPrefix + u"def\""_s) << code(u"ab");
    QTest::newRow("first prefix counts") << QString(page(u"x", u"one\"") + kPrefix + u"two\""_s) << code(u"one");
    QTest::newRow("no prefix") << QStringLiteral("<a href=\"http://other.test/abc\">") << std::optional<QString>();
    QTest::newRow("prefix in other case") << QStringLiteral("HTTP://YUNPAN.TEST/abc\"") << std::optional<QString>();
    QTest::newRow("prefix cut short") << QStringLiteral("http://yunpan.test") << std::optional<QString>();
    QTest::newRow("empty page") << QString() << std::optional<QString>();
}

void TestShareCode::cut()
{
    QFETCH(QString, page);
    QFETCH(std::optional<QString>, expected);
    QCOMPARE(cutShareCode(page, kPrefix), expected);
}

void TestShareCode::emptyPrefixFindsNothing()
{
    QCOMPARE(cutShareCode(u"abc\"", u""), std::optional<QString>());
}

QTEST_APPLESS_MAIN(TestShareCode)
#include "tst_sharecode.moc"

#include "library/sharetemplate.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ShareTemplateTest : public QObject
{
    Q_OBJECT

private slots:
    void fill_data();
    void fill();
    void defaultUsesProfileQuery();
};

namespace {

Library::ShareRecord share(const QString &code, const QString &title = u"纪录片 第2集"_s)
{
    Library::ShareRecord share;
    share.title = title;
    share.fileCount = u"12"_s;
    share.shareCode = u"s/abc"_s;
    share.shareUrl = u"http://yunpan.test/s/abc"_s;
    share.extractionCode = code;
    return share;
}

} // namespace

void ShareTemplateTest::fill_data()
{
    QTest::addColumn<QString>("shareTemplate");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("filled");
    QTest::addColumn<QStringList>("unknown");

    const QString title = u"纪录片 第2集"_s;
    QTest::newRow("every placeholder") << u"{title}|{url}|{code}|{files}|{sharecode}"_s << title << u"x7k2"_s
                                       << u"纪录片 第2集|http://yunpan.test/s/abc|x7k2|12|s/abc"_s << QStringList();
    QTest::newRow("placeholder twice") << u"{code}{code}"_s << title << u"ab"_s << u"abab"_s << QStringList();
    QTest::newRow("empty field") << u"链接: {url}?pwd={code}"_s << title << QString() << u"链接: http://yunpan.test/s/abc?pwd="_s
                                 << QStringList();
    QTest::newRow("unknown kept as written, listed once")
        << u"{name} {url} {name} {Title}"_s << title << u"c"_s << u"{name} http://yunpan.test/s/abc {name} {Title}"_s
        << QStringList{u"{name}"_s, u"{Title}"_s};
    QTest::newRow("braces that make no placeholder") << u"{} { code} {code"_s << title << u"c"_s << u"{} { code} {code"_s << QStringList();
    QTest::newRow("placeholder right after a brace") << u"{{code}}"_s << title << u"c"_s << u"{c}"_s << QStringList();
    QTest::newRow("control characters in a field become spaces") << u"{title}"_s << u"a\r\nb\tc\u001b"_s << u"c"_s << u"a b c "_s << QStringList();
}

void ShareTemplateTest::fill()
{
    QFETCH(QString, shareTemplate);
    QFETCH(QString, title);
    QFETCH(QString, code);
    QFETCH(QString, filled);
    QFETCH(QStringList, unknown);
    QCOMPARE(Library::fillShareTemplate(shareTemplate, share(code, title)), filled);
    QCOMPARE(Library::unknownPlaceholders(shareTemplate), unknown);
}

void ShareTemplateTest::defaultUsesProfileQuery()
{
    Config::SiteProfile profile;
    QCOMPARE(Library::fillShareTemplate(Library::defaultShareTemplate(profile), share(u"x7"_s)),
             u"链接: http://yunpan.test/s/abc?pwd=x7"_s);
    profile.extractionCodeQuery = u"password"_s;
    QCOMPARE(Library::defaultShareTemplate(profile), u"链接: {url}?password={code}"_s);
}

QTEST_GUILESS_MAIN(ShareTemplateTest)
#include "tst_sharetemplate.moc"

#include "net/texthelpers.h"

#include <QTest>

class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void gbkEncodeUri_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("encoded");
        QTest::newRow("search caption") << QString::fromUtf8("开始搜索") << QStringLiteral("%BF%AA%CA%BC%CB%D1%CB%F7");
        QTest::newRow("letters") << QStringLiteral("ab") << QStringLiteral("%61%62");
        QTest::newRow("tab has a leading zero") << QStringLiteral("\t") << QStringLiteral("%09");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one Chinese character") << QString::fromUtf8("码") << QStringLiteral("%C2%EB");
        QTest::newRow("space and punctuation") << QStringLiteral(" %&") << QStringLiteral("%20%25%26");
    }
    void gbkEncodeUri()
    {
        QFETCH(QString, input);
        QFETCH(QString, encoded);
        QCOMPARE(Net::GBKEncodeURI(input), encoded);
    }

    void preg_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("result");
        const QString bold = QStringLiteral("</?b[^<>]*>");
        const QString font = QStringLiteral("</?font[^<>]*>");
        QTest::newRow("b tags of both cases") << QStringLiteral("<b>x</b> <B>y</B>") << bold << QStringLiteral("x y");
        QTest::newRow("every tag starting with b") << QStringLiteral("<body>a<br/>b<BR>c</body>") << bold << QStringLiteral("abc");
        QTest::newRow("other tags kept") << QStringLiteral("<i>a</i><p>b</p>") << bold << QStringLiteral("<i>a</i><p>b</p>");
        QTest::newRow("font with attributes")
            << QString::fromUtf8("<font color=\"red\">登录失败</FONT>") << font << QString::fromUtf8("登录失败");
        QTest::newRow("no match") << QStringLiteral("plain") << bold << QStringLiteral("plain");
        QTest::newRow("malformed pattern leaves source") << QStringLiteral("a(b") << QStringLiteral("(") << QStringLiteral("a(b");
    }
    void preg()
    {
        QFETCH(QString, source);
        QFETCH(QString, pattern);
        QFETCH(QString, result);
        QCOMPARE(Net::preg(source, pattern, QString()), result);
    }

    void specialFolderIsEmpty()
    {
        QCOMPARE(Net::GetSpecialFolder(33), QString());
        QCOMPARE(Net::GetSpecialFolder(-1), QString());
    }
};

QTEST_APPLESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"

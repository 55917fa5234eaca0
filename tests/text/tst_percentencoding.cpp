#include "text/percentencoding.h"

#include <QTest>

class TestPercentEncoding : public QObject
{
    Q_OBJECT

private slots:
    void percentEncodeGbk_data()
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
    void percentEncodeGbk()
    {
        QFETCH(QString, input);
        QFETCH(QString, encoded);
        QCOMPARE(Text::percentEncodeGbk(input), encoded);
    }
};

QTEST_APPLESS_MAIN(TestPercentEncoding)
#include "tst_percentencoding.moc"

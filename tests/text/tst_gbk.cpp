#include "text/gbk.h"

#include <QTest>

class TestGbk : public QObject
{
    Q_OBJECT

private slots:
    void encodes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("ascii") << QStringLiteral("ab 1") << QByteArray("ab 1");
        QTest::newRow("search caption") << QString::fromUtf8("开始搜索") << QByteArray::fromHex("BFAACABCCBD1CBF7");
        QTest::newRow("title") << QString::fromUtf8("提取码") << QByteArray::fromHex("CCE1C8A1C2EB");
        QTest::newRow("not representable") << QString::fromUtf8("a\u0E01b") << QByteArray("a?b");
    }
    void encodes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(Text::toGbk(text), bytes);
    }

    void roundTripsEveryTwoByteCharacter()
    {
        // Every GBK lead/trail pair that decodes to a character encodes back to the same pair.
        int characters = 0;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char pair[2] = {char(lead), char(trail)};
                const QString text = Text::fromGbk(QByteArrayView(pair, 2));
                if (text.size() != 1 || text.at(0) == QChar::ReplacementCharacter || text.at(0).isSurrogate())
                    continue;
                ++characters;
                QCOMPARE(Text::toGbk(text), QByteArray(pair, 2));
            }
        }
        QVERIFY2(characters > 21000, qPrintable(QString::number(characters)));
    }

    void decodesIncompleteAndInvalidBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("trailing lone lead byte") << QByteArray("x\x81") << QStringLiteral("x\uFFFD");
        QTest::newRow("lone lead byte only") << QByteArray("\xD6") << QStringLiteral("\uFFFD");
        QTest::newRow("whole pair") << QByteArray("x\xD6\xD0") << QString::fromUtf8("x中");
    }
    void decodesIncompleteAndInvalidBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(Text::fromGbk(bytes), text);
    }

    void decodesByCharsetName_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("charset");
        QTest::addColumn<QString>("text");
        const QString title = QString::fromUtf8("资源");
        QTest::newRow("utf-8") << title.toUtf8() << QByteArray("utf-8") << title;
        QTest::newRow("gbk") << Text::toGbk(title) << QByteArray("gbk") << title;
        QTest::newRow("none means gbk") << Text::toGbk(title) << QByteArray() << title;
        QTest::newRow("unknown means gbk") << Text::toGbk(title) << QByteArray("no-such-set") << title;
    }
    void decodesByCharsetName()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, charset);
        QFETCH(QString, text);
        QCOMPARE(Text::decode(bytes, charset), text);
    }
};

QTEST_APPLESS_MAIN(TestGbk)
#include "tst_gbk.moc"

#include "crypto/rndxor/mtransform.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace Crypto::MTransform;

class TestMTransform : public QObject
{
    Q_OBJECT

private slots:
    void writesLowByteFirst_data();
    void writesLowByteFirst();
    void readsHex_data();
    void readsHex();
    void roundTripsEveryCodeUnit();
};

void TestMTransform::writesLowByteFirst_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("hex");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("A") << u"A"_s << u"41 00 "_s;
    QTest::newRow("U+4E2D") << u"中"_s << u"2D 4E "_s;
    QTest::newRow("U+0000 and U+FFFF") << QString(QChar(0)) + QChar(0xFFFF) << u"00 00 FF FF "_s;
    QTest::newRow("surrogate pair") << u"\U0001F600"_s << u"3D D8 00 DE "_s;
}

void TestMTransform::writesLowByteFirst()
{
    QFETCH(QString, text);
    QFETCH(QString, hex);
    QCOMPARE(STR_to_HEX2(text), hex);
}

void TestMTransform::readsHex_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("text");
    QTest::newRow("with spaces") << u"41 00 2D 4E "_s << u"A中"_s;
    QTest::newRow("without spaces") << u"41002D4E"_s << u"A中"_s;
    QTest::newRow("odd spacing") << u" 4 1 0 02D4 E"_s << u"A中"_s;
    QTest::newRow("lower case") << u"2d4e"_s << u"中"_s;
    QTest::newRow("two digits alone") << u"41"_s << u"A"_s;
    QTest::newRow("three digits") << u"410"_s << u"A"_s;
    QTest::newRow("short last group") << u"41004"_s << u"A\u0004"_s;
    QTest::newRow("no hex digits") << u"ZZ00"_s << QString(QChar(0));
    QTest::newRow("leading digit only") << u"4Z4Z"_s << u"\u0404"_s;
    QTest::newRow("foreign first digit") << u"Z4G1"_s << QString(QChar(0));
    QTest::newRow("non-ASCII digits") << u"４１00"_s << QString(QChar(0));
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("spaces only") << u"   "_s << QString();
}

void TestMTransform::readsHex()
{
    QFETCH(QString, hex);
    QFETCH(QString, text);
    QCOMPARE(HEX_to_STR2(hex), text);
}

void TestMTransform::roundTripsEveryCodeUnit()
{
    QString all(0x10000, Qt::Uninitialized);
    for (int unit = 0; unit < 0x10000; ++unit)
        all[unit] = QChar(static_cast<char16_t>(unit));
    const QString hex = STR_to_HEX2(all);
    QCOMPARE(hex.size(), all.size() * 6);
    QCOMPARE(HEX_to_STR2(hex), all);
    QCOMPARE(HEX_to_STR2(QString(hex).remove(u' ')), all);
}

QTEST_APPLESS_MAIN(TestMTransform)
#include "tst_mtransform.moc"

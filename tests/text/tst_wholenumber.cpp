#include "text/wholenumber.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestWholeNumber : public QObject
{
    Q_OBJECT

private slots:
    void readsPlainDigitsInRange_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("low");
        QTest::addColumn<qint64>("high");
        QTest::addColumn<qint64>("value"); // -1 stands for "refused" where low is 0
        QTest::newRow("in range") << u"32767"_s << 0ll << 32767ll << 32767ll;
        QTest::newRow("above") << u"32768"_s << 0ll << 32767ll << -1ll;
        QTest::newRow("too many digits") << u"000001"_s << 0ll << 32767ll << -1ll;
        QTest::newRow("plus") << u"+1"_s << 0ll << 9ll << -1ll;
        QTest::newRow("space") << u" 1"_s << 0ll << 9ll << -1ll;
        QTest::newRow("minus where none may be") << u"-1"_s << 0ll << 9ll << -1ll;
        QTest::newRow("minus in range") << u"-32768"_s << -32768ll << 32767ll << -32768ll;
        QTest::newRow("minus below") << u"-32769"_s << -32768ll << 32767ll << -40000ll;
        QTest::newRow("minus alone") << u"-"_s << -9ll << 9ll << -40000ll;
        QTest::newRow("empty") << QString() << 0ll << 9ll << -1ll;
    }
    void readsPlainDigitsInRange()
    {
        QFETCH(QString, text);
        QFETCH(qint64, low);
        QFETCH(qint64, high);
        QFETCH(qint64, value);
        const std::optional<qint64> read = Text::wholeNumber(text, 5, low, high);
        if (value < low)
            QVERIFY(!read);
        else
            QCOMPARE(read, std::optional<qint64>(value));
    }
};

QTEST_APPLESS_MAIN(TestWholeNumber)
#include "tst_wholenumber.moc"

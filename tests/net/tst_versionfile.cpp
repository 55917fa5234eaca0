#include "net/versionfile.h"

#include <QTest>

using Net::VersionStatus;

class TestVersionFile : public QObject
{
    Q_OBJECT

private slots:
    void judge_data();
    void judge();
};

void TestVersionFile::judge_data()
{
    QTest::addColumn<QString>("body"); // a null string: the fetch failed
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("verdict");
    const int current = int(VersionStatus::Current);
    const int newer = int(VersionStatus::Newer);
    const int unreadable = int(VersionStatus::Unreadable);
    QTest::newRow("the entry alone") << u"360:V1.0|"_qs << u"V1.0"_qs << current;
    QTest::newRow("text and line breaks around it")
        << u"Vorlen versions\r\nyp:V2.1|\r\n360:V1.0|\r\nkp:V3|\n"_qs << u"V1.0"_qs << current;
    QTest::newRow("V1.1") << u"360:V1.1|"_qs << u"V1.1"_qs << newer;
    QTest::newRow("space after the marker") << u"360: V1.0|"_qs << u" V1.0"_qs << newer;
    QTest::newRow("lower-case v") << u"360:v1.0|"_qs << u"v1.0"_qs << newer;
    QTest::newRow("only the first entry counts") << u"360:V1.2|360:V1.0|"_qs << u"V1.2"_qs << newer;
    QTest::newRow("no bar") << u"360:V1.0"_qs << QString() << unreadable;
    QTest::newRow("nothing between marker and bar") << u"360:|"_qs << QString() << unreadable;
    QTest::newRow("no marker") << u"V1.0|"_qs << QString() << unreadable;
    QTest::newRow("second marker before the first bar") << u"x360:foo\n360:V1.0|"_qs << QString() << unreadable;
    QTest::newRow("error page") << u"<html><h1>404 Not Found</h1></html>"_qs << QString() << unreadable;
    QTest::newRow("empty body") << u""_qs << QString() << unreadable;
    QTest::newRow("fetch failed") << QString() << QString() << unreadable;
}

void TestVersionFile::judge()
{
    QFETCH(QString, body);
    QFETCH(QString, version);
    QFETCH(int, verdict);
    const Net::VersionVerdict check = Net::judgeVersionFile(body.isNull() ? std::nullopt : std::optional<QString>(body));
    QCOMPARE(check.version, version);
    QCOMPARE(int(check.status), verdict);
}

QTEST_APPLESS_MAIN(TestVersionFile)
#include "tst_versionfile.moc"

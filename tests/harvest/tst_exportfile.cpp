#include "harvest/exportfile.h"
#include "harvest/resultlist.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include "support/filesizelimit.h"
#endif

using namespace Qt::StringLiterals;

namespace {

void fill(Harvest::ResultList &list, const QStringList &shareCodes)
{
    QList<Harvest::ResourceEntry> entries;
    for (const QString &code : shareCodes)
        entries.append({QString::number(entries.size() + 1), {}, {}, code, {}, {}});
    list.append(entries);
}

} // namespace

class TestExportFile : public QObject
{
    Q_OBJECT

private slots:
    void shortWriteLeavesTheFileAsItWas_data();
    void shortWriteLeavesTheFileAsItWas();
};

void TestExportFile::shortWriteLeavesTheFileAsItWas_data()
{
    QTest::addColumn<QByteArray>("old"); // null: no file before the export
    QTest::newRow("existing file") << QByteArray("old");
    QTest::newRow("new file") << QByteArray();
}

// A size limit cuts the write short without an error of its own, as a full disk does.
void TestExportFile::shortWriteLeavesTheFileAsItWas()
{
#ifdef Q_OS_UNIX
    QFETCH(QByteArray, old);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"codes.txt"_s);
    QVERIFY(old.isNull() || TestFiles::writeAll(path, old));
    Harvest::ResultList list;
    fill(list, {u"s/1"_s, u"s/2"_s});

    Harvest::ExportResult result;
    {
        const FileSizeLimit limit(8);
        result = Harvest::appendExport(path, list);
    }

    QVERIFY(!result.written);
    QVERIFY(!result.errorString.isEmpty());
    QCOMPARE(QFile::exists(path), !old.isNull());
    QCOMPARE(TestFiles::readAll(path), old);
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_APPLESS_MAIN(TestExportFile)
#include "tst_exportfile.moc"

#include "harvest/exportfile.h"
#include "harvest/resultlist.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
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
    void shortWriteLeavesTheFileAsItWas();
};

// A size limit cuts the write short without an error of its own, as a full disk does.
void TestExportFile::shortWriteLeavesTheFileAsItWas()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(u"codes.txt"_s);
    QVERIFY(TestFiles::writeAll(path, "old"));
    Harvest::ResultList list;
    fill(list, {u"s/1"_s, u"s/2"_s});

    rlimit previous{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous;
    limit.rlim_cur = 8;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const Harvest::ExportResult result = Harvest::appendExport(path, list);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!result.written);
    QVERIFY(!result.errorString.isEmpty());
    QCOMPARE(TestFiles::readAll(path), QByteArray("old"));
#else
    QSKIP("needs a file size limit");
#endif
}

QTEST_APPLESS_MAIN(TestExportFile)
#include "tst_exportfile.moc"

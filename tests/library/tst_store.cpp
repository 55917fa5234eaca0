#include "library/recorder.h"
#include "library/schema.h"
#include "library/store.h"
#include "support/filesizelimit.h"
#include "support/librarysightings.h"
#include "support/unprivilegedfileaccess.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum class Fault { NotSqlite, Damaged, Newer, ReadOnly, Locked, FullDisk };

QList<Library::Sighting> numberedSightings(int count, const QString &prefix = u"t"_s)
{
    QList<Library::Sighting> sightings;
    for (int i = 0; i < count; ++i)
        sightings.append(librarySighting(prefix + u" 资源 "_s + QString::number(i), prefix + QString::number(i)));
    return sightings;
}

// A query of the shares, hidden ones too when asked, whose titles hold text.
Library::Query matching(const QString &text, bool includeHidden = false)
{
    Library::Query query;
    query.text = text;
    query.includeHidden = includeHidden;
    return query;
}

Library::Query inState(Crawl::LinkState state)
{
    Library::Query query;
    query.states = {state};
    return query;
}

QSet<QString> titlesOf(const QList<Library::ShareRecord> &records)
{
    QSet<QString> titles;
    for (const Library::ShareRecord &record : records)
        titles.insert(record.title);
    return titles;
}

// Sets a library file up at path the way fault spoils it; returns what must stay to be held.
std::unique_ptr<Library::Store> spoil(Fault fault, const QString &path)
{
    Library::Opened opened = Library::openStore(path);
    if (fault == Fault::NotSqlite) {
        opened.store.reset();
        QFile::remove(path);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("title\tcode\n");
        return nullptr;
    }
    recordRun(*opened.store, numberedSightings(2000));
    switch (fault) {
    case Fault::Damaged: {
        QSqlQuery(opened.store->database()).exec(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        opened.store.reset();
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.seek(file.size() / 2);
        file.write(QByteArray(8192, '\x5a'));
        return nullptr;
    }
    case Fault::Newer:
        QSqlQuery(opened.store->database()).exec(u"PRAGMA user_version = "_s + QString::number(Library::kSchemaVersion + 1));
        return nullptr;
    case Fault::ReadOnly:
        opened.store.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther | QFile::ReadGroup);
        QFile::setPermissions(QFileInfo(path).absolutePath(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                                  | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        return nullptr;
    case Fault::Locked: {
        // Another process's writer that does not let go within the busy timeout.
        QSqlQuery(opened.store->database()).exec(u"BEGIN IMMEDIATE"_s);
        return std::move(opened.store);
    }
    case Fault::FullDisk:
        // The disk fills while this run writes: the journal left by the last one starts empty.
        QSqlQuery(opened.store->database()).exec(u"PRAGMA wal_checkpoint(TRUNCATE)"_s);
        break;
    case Fault::NotSqlite: break;
    }
    return nullptr;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT

private slots:
    void faultsNeverStopTheRun_data();
    void faultsNeverStopTheRun();
    void migratesFromEveryEarlierVersion_data();
    void migratesFromEveryEarlierVersion();
    void searchAgreesWithAPlainScan_data();
    void searchAgreesWithAPlainScan();
    void oneRowPerShareWithItsHistory();
    void rowsOfAKilledRunAreFiledAtOpening();
};

void TestStore::faultsNeverStopTheRun_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("warns");
    // warns: one line, either from opening (there is no library then) or from the recording.
    QTest::newRow("not SQLite") << Fault::NotSqlite << false << true;
    QTest::newRow("damaged") << Fault::Damaged << true << false;
    QTest::newRow("newer version") << Fault::Newer << true << true;
    // Readable through the journal the last run left: the recording warns.
    QTest::newRow("read-only file") << Fault::ReadOnly << true << true;
    QTest::newRow("locked") << Fault::Locked << true << true;
    QTest::newRow("full disk") << Fault::FullDisk << true << true;
}

void TestStore::faultsNeverStopTheRun()
{
    QFETCH(Fault, fault);
    QFETCH(bool, opens);
    QFETCH(bool, warns);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    const std::unique_ptr<Library::Store> holder = spoil(fault, path);
    QFile original(path);
    original.open(QIODevice::ReadOnly);
    const QByteArray bytesBefore = original.readAll();
    original.close();

    std::optional<UnprivilegedFileAccess> asUser;
    if (fault == Fault::ReadOnly)
        asUser.emplace();
    Library::Opened opened = Library::openStore(path);
    QCOMPARE(bool(opened.store), opens);
    QCOMPARE(opened.error.isEmpty(), opens);

    QStringList warnings;
    {
        std::optional<FileSizeLimit> full;
        if (fault == Fault::FullDisk)
            full.emplace(QFileInfo(path).size() + 64 * 1024);
        Library::Recorder recorder(opened.store.get(), Library::RunKind::Crawl, u"0-1"_s,
                                   [&](const QString &line) { warnings.append(line); });
        for (const Library::Sighting &sighting : numberedSightings(fault == Fault::FullDisk ? 3000 : 3, u"n"_s))
            recorder.record(sighting);
        recorder.finish(u"exit 0"_s);
    }
    QCOMPARE(warnings.size() + (opened.error.isEmpty() ? 0 : 1), warns ? 1 : 0);

    switch (fault) {
    case Fault::NotSqlite: {
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), bytesBefore);
        break;
    }
    case Fault::Damaged:
        QVERIFY(opened.notice.contains(u"damaged"_s));
        QCOMPARE(QDir(dir.path()).entryList({u"library.sqlite.damaged-*[0-9]"_s}).size(), 1);
        QCOMPARE(opened.store->stats().shares, 3);
        break;
    case Fault::Newer:
        QVERIFY(opened.store->isReadOnly());
        QVERIFY(!opened.notice.isEmpty());
        QCOMPARE(opened.store->stats().shares, 2000); // still read
        break;
    case Fault::FullDisk: {
        // What went in before the disk filled stays whole.
        opened.store.reset();
        const Library::Opened again = Library::openStore(path);
        QVERIFY(again.notice.isEmpty());
        QVERIFY(again.store->stats().shares > 2000);
        break;
    }
    case Fault::ReadOnly:
    case Fault::Locked: break;
    }
}

void TestStore::migratesFromEveryEarlierVersion_data()
{
    QTest::addColumn<int>("from");
    for (int version = 0; version < Library::kSchemaVersion; ++version)
        QTest::addRow("from %d", version) << version;
}

void TestStore::migratesFromEveryEarlierVersion()
{
    QFETCH(int, from);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"old"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QCOMPARE(Library::migrate(db, 0, from), QString());
        // The row as the program of that version wrote it.
        if (from >= 1)
            QVERIFY(QSqlQuery(db).exec(u"INSERT INTO shares(key, title, first_seen, last_seen)"
                                       " VALUES('http://x/yunpan/abc', 'Old 三国演义 Title', 1, 2)"_s));
        if (from >= 3)
            QVERIFY(QSqlQuery(db).exec(u"UPDATE shares SET title_folded = '"_s
                                       + Library::searchableTitle(u"Old 三国演义 Title"_s) + u"'"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"old"_s);

    const Library::Opened opened = Library::openStore(path);
    QVERIFY2(opened.store, qPrintable(opened.error));
    QSqlQuery version(opened.store->database());
    QVERIFY(version.exec(u"PRAGMA user_version"_s) && version.next());
    QCOMPARE(version.value(0).toInt(), Library::kSchemaVersion);
    const int kept = from >= 1 ? 1 : 0;
    for (const QString &text : {u"三国"_s, u"old 三国"_s})
        QCOMPARE(opened.store->search(matching(text)).size(), kept);
    QVERIFY(recordRun(*opened.store, {librarySighting(u"新的"_s, u"new"_s)}));
    QCOMPARE(opened.store->stats().shares, kept + 1);
}

void TestStore::searchAgreesWithAPlainScan_data()
{
    QTest::addColumn<bool>("fullText");
    QTest::newRow("trigram index") << true;
    QTest::newRow("LIKE only") << false;
}

void TestStore::searchAgreesWithAPlainScan()
{
    QFETCH(bool, fullText);
    QTemporaryDir dir;
    const Library::Opened opened = Library::openStore(dir.filePath(u"library.sqlite"_s), {.fullTextSearch = fullText});
    QCOMPARE(opened.store->hasFullTextSearch(), fullText);

    // Few distinct characters, so substrings of every length hit many titles; case, wildcards
    // and quotes included, since each path must take them literally.
    const QString alphabet = u"高清合集教程三国Ab%_\"' 1"_s;
    QRandomGenerator random(7);
    QStringList titles;
    QList<Library::Sighting> sightings;
    for (int i = 0; i < 3000; ++i) {
        QString title;
        for (int n = 3 + random.bounded(12); n > 0; --n)
            title += alphabet.at(random.bounded(alphabet.size()));
        titles.append(title);
        sightings.append(librarySighting(title, u"c"_s + QString::number(i)));
    }
    // The first half in the trigram index, the rest recorded since: searches read both.
    QVERIFY(recordRun(*opened.store, sightings.mid(0, 1500)));
    QCOMPARE(opened.store->indexPendingTitles(), QString());
    QVERIFY(recordRun(*opened.store, sightings.mid(1500)));

    for (int i = 0; i < 300; ++i) {
        const QString &title = titles.at(random.bounded(titles.size()));
        const int length = std::min<int>(1 + i % 4, title.size());
        const QString query = title.mid(random.bounded(title.size() - length + 1), length);
        QSet<QString> expected;
        for (const QString &candidate : titles)
            if (Library::searchableTitle(candidate).contains(Library::searchableTitle(query)))
                expected.insert(candidate);
        QCOMPARE(titlesOf(opened.store->search(matching(query))), expected);
    }
    // A limit gives what the whole list starts with (the window's first rows).
    Library::Query first;
    first.sort = Library::SortColumn::TimesSeen;
    const QList<qint64> all = opened.store->matchingIds(first);
    first.limit = 100;
    QCOMPARE(opened.store->matchingIds(first), all.first(100));
}

void TestStore::oneRowPerShareWithItsHistory()
{
    QTemporaryDir dir;
    const Library::Opened opened = Library::openStore(dir.filePath(u"library.sqlite"_s));
    Library::Store &store = *opened.store;
    const QDateTime day1 = QDateTime::fromString(u"2026-01-01T10:00:00Z"_s, Qt::ISODate);
    const QDateTime day2 = day1.addDays(1);
    // Seen first without its code (the detail page failed), then with it: one share, two sightings.
    QVERIFY(recordRun(store, {librarySighting(u"连环画"_s, {}, u"E1"_s, day1), librarySighting(u"纪录片"_s, u"k2"_s, {}, day1)}));
    QVERIFY(recordRun(store, {librarySighting(u"连环画 全集"_s, u"k1"_s, u"E1"_s, day2)}));
    const QList<Library::ShareRecord> all = store.search({});
    QCOMPARE(all.size(), 2);
    const Library::ShareRecord &share = all.at(1).title.startsWith(u"连环画"_s) ? all.at(1) : all.at(0);
    QCOMPARE(share.title, u"连环画 全集"_s);
    QCOMPARE(share.key, u"http://127.0.0.1:1/yunpan/k1"_s);
    QCOMPARE(share.timesSeen, 2);
    QCOMPARE(share.firstSeen, day1);
    QCOMPARE(share.lastSeen, day2);
    QCOMPARE(store.search(matching(u"全集"_s)).size(), 1); // the new title is searchable
    QCOMPARE(store.search(matching(u"连环画 全"_s)).size(), 1);

    // Link checks: the newest is the share's state, every one stays in the history.
    const Library::LinkCheck live{{Crawl::LinkState::Live}, day1, 200};
    const Library::LinkCheck dead{{Crawl::LinkState::Dead, Crawl::DeadReason::Expired}, day2, 200};
    QCOMPARE(store.recordLinkCheck(share.key, dead), QString());
    QCOMPARE(store.recordLinkCheck(share.key, live), QString());
    QCOMPARE(store.latestLinkCheck(share.key)->verdict, dead.verdict);
    QCOMPARE(store.linkHistory(share.id).size(), 2);
    QCOMPARE(store.search(inState(Crawl::LinkState::Dead)).size(), 1);
    QCOMPARE(store.search(inState(Crawl::LinkState::Unknown)).size(), 1); // never checked

    QCOMPARE(store.setHidden({share.id}, true), QString());
    QCOMPARE(store.search({}).size(), 1);
    QCOMPARE(store.search(matching({}, true)).size(), 2);
    qint64 forgotten = 0;
    QCOMPARE(store.forgetBefore(day2, forgotten), QString());
    QCOMPARE(forgotten, 1);
    QCOMPARE(store.search(matching(u"纪录片"_s, true)).size(), 0);
    QCOMPARE(store.stats().shares, 1);
}

// A run that never ends (killed) leaves its rows as recorded; the next opening files them whole.
void TestStore::rowsOfAKilledRunAreFiledAtOpening()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"library.sqlite"_s);
    const QDateTime seen = QDateTime::fromString(u"2026-03-01T08:00:00Z"_s, Qt::ISODate);
    QList<Library::Sighting> sightings{librarySighting(u"连环画"_s, u"k1"_s, u"E1"_s, seen),
                                       librarySighting(u"纪录片"_s, {}, u"E2"_s, seen)};
    sightings[0].entry.fileCount = u"12"_s;
    sightings[0].link = Library::LinkCheck{{Crawl::LinkState::Dead, Crawl::DeadReason::Violation}, seen.addSecs(5), 200};
    sightings[1].page.reset();
    sightings[1].keyword = u"纪录"_s;
    {
        const Library::Opened opened = Library::openStore(path);
        qint64 run = 0;
        QCOMPARE(opened.store->startRun(Library::RunKind::Crawl, u"0"_s, run), QString());
        for (const Library::Sighting &sighting : sightings)
            QCOMPARE(opened.store->record(run, sighting), QString());
    }
    const Library::Opened again = Library::openStore(path);
    QCOMPARE(again.store->stats().sightings, 2);
    for (const Library::Sighting &sighting : sightings) {
        const QList<Library::ShareRecord> found = again.store->search(matching(sighting.entry.title));
        QCOMPARE(found.size(), 1);
        const Library::ShareRecord &share = found.first();
        QCOMPARE(QStringList({share.fileCount, share.entryId, share.shareCode, share.extractionCode, share.shareUrl}),
                 QStringList({sighting.entry.fileCount, sighting.entry.entryId, sighting.entry.shareCode,
                              sighting.entry.extractionCode, sighting.shareUrl}));
        QCOMPARE(share.firstSeen, seen);
        QCOMPARE(share.firstSource, sighting.page ? u"page 0"_s : sighting.keyword);
        QCOMPARE(share.link.has_value(), sighting.link.has_value());
        if (sighting.link) {
            QCOMPARE(share.link->reason, Crawl::DeadReason::Violation);
            QCOMPARE(share.linkCheckedAt, sighting.link->checkedAt);
        }
    }
}

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"

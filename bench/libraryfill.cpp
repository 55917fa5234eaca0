#include "libraryfill.h"

#include "library/store.h"

#include <QRandomGenerator>

#include <array>

using namespace Qt::StringLiterals;

namespace Bench {

namespace {

constexpr int kBatch = 5000;
constexpr qint64 kYearMs = 365LL * 24 * 60 * 60 * 1000;
constexpr int kMinTitle = 5;
constexpr int kMaxTitle = 60;
constexpr int kLastPage = 999;

constexpr std::array kChineseWords{
    u"高清", u"合集", u"教程", u"纪录片", u"三国演义", u"连环画", u"Java编程视频", u"更新中", u"中字", u"全集",
    u"电子书", u"考研", u"英语", u"动漫", u"无损音乐", u"课程", u"资料", u"国语", u"完结", u"蓝光", u"西游记",
    u"红楼梦", u"水浒传", u"素材", u"设计", u"摄影", u"历史", u"儿童绘本", u"小说", u"有声书", u"评书", u"相声",
    u"自然", u"科学", u"数学", u"物理", u"编程入门", u"实战", u"视频", u"字幕", u"双语", u"经典", u"老电影",
    u"电视剧", u"第一季", u"第二季", u"百家讲坛", u"钢琴", u"吉他", u"健身", u"烹饪", u"旅行", u"中国", u"日本",
};
constexpr std::array kAsciiWords{
    u"1080P", u"Java", u"Python", u"HD", u"MP4", u"PDF", u"mkv", u"BluRay", u"x264", u"FLAC", u"Photoshop", u"CAD",
    u"Linux", u"Office", u"WEB-DL", u"TXT", u"EPUB", u"4K", u"S01", u"Vol", u"Part", u"AAC", u"DVD", u"720p",
};
constexpr std::array kSeparators{u" ", u" ", u" ", u"-", u"_", u"【", u"】", u"（", u"）", u".", u"+", u""};
constexpr auto kCodeCharacters = u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
constexpr int kCodeAlphabet = 62;
constexpr std::array kDeadReasons{Crawl::DeadReason::Cancelled, Crawl::DeadReason::Expired, Crawl::DeadReason::Deleted,
                                  Crawl::DeadReason::Violation, Crawl::DeadReason::NotFound};

template<typename Words>
QString pick(QRandomGenerator &random, const Words &words)
{
    return QString::fromUtf16(words[random.bounded(static_cast<quint32>(words.size()))]);
}

QString numberWord(QRandomGenerator &random)
{
    switch (random.bounded(4)) {
    case 0: return QString::number(1990 + random.bounded(35));
    case 1: return u"第"_s + QString::number(1 + random.bounded(120)) + u"集"_s;
    case 2: return u"E"_s + QString::number(random.bounded(100)).rightJustified(2, u'0');
    default: return QString::number(random.bounded(1000));
    }
}

QString titleOf(QRandomGenerator &random)
{
    const int length = kMinTitle + random.bounded(kMaxTitle - kMinTitle + 1);
    QString title;
    while (title.size() < length) {
        if (!title.isEmpty())
            title += pick(random, kSeparators);
        const int kind = random.bounded(10);
        title += kind < 6 ? pick(random, kChineseWords) : kind < 8 ? pick(random, kAsciiWords) : numberWord(random);
    }
    title.truncate(kMaxTitle);
    return title;
}

QString codeOf(QRandomGenerator &random, int length, int alphabet)
{
    QString code(length, Qt::Uninitialized);
    for (QChar &c : code)
        c = QChar(kCodeCharacters[random.bounded(alphabet)]);
    return code;
}

QString fileCountOf(QRandomGenerator &random)
{
    const int band = random.bounded(10);
    return QString::number(1 + random.bounded(band < 6 ? 20 : band < 9 ? 200 : 5000));
}

// Where a sighting was: mostly listing pages, else a keyword's results.
void placeOf(QRandomGenerator &random, Library::Sighting &sighting)
{
    if (random.bounded(10) < 7) {
        sighting.page = random.bounded(kLastPage + 1);
        sighting.keyword.clear();
    } else {
        sighting.page.reset();
        sighting.keyword = random.bounded(3) == 0 ? pick(random, kAsciiWords) : pick(random, kChineseWords);
    }
}

Crawl::LinkCheck linkCheckAt(QRandomGenerator &random, const QDateTime &when)
{
    Crawl::LinkCheck check;
    check.checkedAt = when;
    const int roll = random.bounded(100);
    if (roll < 45) {
        check.verdict.state = Crawl::LinkState::Live;
        check.status = 200;
    } else if (roll < 55) {
        check.verdict.state = Crawl::LinkState::Locked;
        check.status = 200;
    } else if (roll < 80) {
        check.verdict = {Crawl::LinkState::Dead, kDeadReasons[random.bounded(static_cast<quint32>(kDeadReasons.size()))]};
        check.status = check.verdict.reason == Crawl::DeadReason::NotFound ? 404 : 200;
    } else if (roll < 85) {
        check.verdict.state = Crawl::LinkState::Limited;
        check.status = 429;
    } else {
        check.verdict.state = Crawl::LinkState::Unknown;
        check.status = random.bounded(2) == 0 ? 0 : 503;
    }
    return check;
}

// Sightings recorded as one run of a few thousand, as a crawl would leave them; the sightings of
// an earlier writer, when given, go in first.
class RunWriter
{
public:
    explicit RunWriter(Library::Store &store, RunWriter *earlier = nullptr)
        : m_store(store)
        , m_earlier(earlier)
    {
        m_pending.reserve(kBatch);
    }

    void add(Library::Sighting sighting)
    {
        m_pending.append(std::move(sighting));
        if (m_pending.size() >= kBatch)
            flush();
    }

    void flush()
    {
        if (m_earlier && m_error.isEmpty()) {
            m_earlier->flush();
            m_error = m_earlier->error();
        }
        if (m_pending.isEmpty() || !m_error.isEmpty())
            return;
        qint64 runId = 0;
        m_error = m_store.startRun(Library::RunKind::Crawl, u"0-"_s + QString::number(kLastPage), runId);
        if (m_error.isEmpty())
            m_error = m_store.recordBatch(runId, m_pending);
        if (m_error.isEmpty())
            m_error = m_store.endRun(runId, u"rows"_s);
        m_pending.clear();
    }

    const QString &error() const { return m_error; }

private:
    Library::Store &m_store;
    RunWriter *m_earlier;
    QList<Library::Sighting> m_pending;
    QString m_error;
};

} // namespace

QDateTime defaultFillEnd()
{
    return QDateTime(QDate(2025, 6, 1), QTime(0, 0), Qt::UTC);
}

QString fillLibrary(Library::Store &store, int count, quint32 seed, const QDateTime &end)
{
    QRandomGenerator random(seed);
    const qint64 endMs = end.toMSecsSinceEpoch();
    RunWriter firsts(store);
    // Seen again only after the first sightings are in, as a later crawl would.
    RunWriter laters(store, &firsts);
    for (int i = 0; i < count && firsts.error().isEmpty() && laters.error().isEmpty(); ++i) {
        Library::Sighting sighting;
        Harvest::ResourceEntry &entry = sighting.entry;
        entry.number = QString::number(1 + random.bounded(30));
        entry.title = titleOf(random);
        entry.fileCount = fileCountOf(random);
        entry.entryId = codeOf(random, 16, 16);
        // A few shares whose detail page failed: no code, keyed by their entry id.
        if (random.bounded(50) != 0) {
            entry.shareCode = codeOf(random, 10, kCodeAlphabet);
            sighting.shareUrl = u"http://127.0.0.1:1/yunpan/"_s + entry.shareCode;
        }
        if (random.bounded(10) < 6)
            entry.extractionCode = codeOf(random, 4, 36);
        placeOf(random, sighting);
        const qint64 firstMs = endMs - 1 - static_cast<qint64>(random.generate64() % kYearMs);
        sighting.seenAt = QDateTime::fromMSecsSinceEpoch(firstMs, Qt::UTC);
        const bool seenAgain = random.bounded(10) < 3;
        const bool checked = random.bounded(10) < 4;
        if (checked && !seenAgain)
            sighting.link = linkCheckAt(random, sighting.seenAt);
        if (seenAgain) {
            Library::Sighting later = sighting;
            placeOf(random, later);
            later.seenAt = QDateTime::fromMSecsSinceEpoch(firstMs + static_cast<qint64>(random.generate64() % (endMs - firstMs)),
                                                          Qt::UTC);
            if (checked)
                later.link = linkCheckAt(random, later.seenAt);
            laters.add(std::move(later));
        }
        firsts.add(std::move(sighting));
    }
    laters.flush();
    return laters.error();
}

} // namespace Bench

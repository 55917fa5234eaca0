#include "demo-site/catalog.h"

#include <array>
#include <string_view>
#include <utility>

namespace DemoSite {

namespace {

// splitmix64: tiny, and its output is fixed by the seed alone on every platform and library,
// which std::uniform_int_distribution does not promise.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // A number in [low, high].
    int between(int low, int high) { return low + static_cast<int>(next() % static_cast<std::uint64_t>(high - low + 1)); }

    template<typename List>
    std::string_view pick(const List &list) { return list[next() % list.size()]; }

    std::string text(std::string_view alphabet, int length)
    {
        std::string out;
        out.reserve(static_cast<std::size_t>(length));
        for (int i = 0; i < length; ++i)
            out += alphabet[next() % alphabet.size()];
        return out;
    }

private:
    std::uint64_t m_state;
};

constexpr std::string_view kLowerDigits = "abcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::string_view kMixedDigits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

constexpr std::array<std::string_view, 10> kTitleHeads{
    "", "", "", "【合集】", "[高清]", "2013最新", "经典", "珍藏版", "【推荐】", "独家"};
constexpr std::array<std::string_view, 24> kTitleSubjects{
    "周星驰电影", "宫崎骏动画", "Photoshop CS6教程", "英语四六级真题", "考研数学复习资料",
    "金庸武侠小说", "单机游戏", "华语流行歌曲", "Java编程视频", "Office办公模板",
    "桌面壁纸", "儿童故事MP3", "纪录片《舌尖上的中国》", "高中物理课件", "日语入门教材",
    "吉他弹唱曲谱", "3ds Max建模素材", "Rock'n'Roll经典老歌", "中医养生讲座", "围棋棋谱",
    "美剧 生活大爆炸", "三国演义连环画", "驾校科目一题库", "PPT动画模板"};
constexpr std::array<std::string_view, 10> kTitleTails{
    "", "全集", "合集", "（完整版）", "打包下载", " 1080P", "精选", "第2季", "100G", "更新中…"};

constexpr int kIdLength = 18;
constexpr int kSuffixEvery = 5; // one code in five is followed by "?" on its detail page
constexpr int kSlashEvery = 7;  // one code in seven is a "lk/..." path
constexpr std::uint64_t kGrowthSeed = 0x6E657773; // mixed into the seed for the entries a site gains

std::string makeTitle(Random &random)
{
    std::string title(random.pick(kTitleHeads));
    title += random.pick(kTitleSubjects);
    title += random.pick(kTitleTails);
    return title;
}

std::string makeFileCount(Random &random)
{
    const std::string count = std::to_string(random.between(1, 240));
    return random.next() % 3 == 0 ? count : count + "个文件";
}

std::string makeShareCode(Random &random, bool withSlash)
{
    if (withSlash)
        return "lk/" + random.text(kMixedDigits, random.between(4, 8));
    return random.text(kMixedDigits, random.between(6, 13));
}

using Index = std::unordered_map<std::string, std::size_t>;

// A new entry whose id and share code no entry of the indexes holds.
Entry makeEntry(Random &random, std::uint32_t seed, bool suffix, bool slash, const Index &byId, const Index &byShareCode)
{
    Entry entry;
    do
        entry.entryId = random.text(kLowerDigits, kIdLength);
    while (byId.count(entry.entryId) != 0);
    entry.title = makeTitle(random);
    entry.fileCount = makeFileCount(random);
    entry.extractionCode = random.text(kLowerDigits, 4);
    do
        entry.shareCode = makeShareCode(random, slash);
    while (byShareCode.count(entry.shareCode) != 0);
    entry.detailSuffix = suffix ? "?" : "";
    entry.share = shareStateOf(seed, entry.shareCode);
    return entry;
}

} // namespace

Catalog::Catalog(std::uint32_t seed, int newEntries) : m_seed(seed)
{
    Random random(seed);
    std::vector<std::size_t> pageSizes;
    pageSizes.reserve(kLastPage + 1);
    for (int page = 0; page <= kLastPage; ++page) {
        const int count = random.between(kMinEntriesPerPage, kMaxEntriesPerPage);
        pageSizes.push_back(static_cast<std::size_t>(count));
        // Rotating offsets put the unusual entries at different places on every page,
        // while each page still gets several of them.
        const int suffixOffset = random.between(0, kSuffixEvery - 1);
        const int slashOffset = random.between(0, kSlashEvery - 1);
        for (int i = 0; i < count; ++i)
            add(makeEntry(random, seed, (i + suffixOffset) % kSuffixEvery == 0, (i + slashOffset) % kSlashEvery == 0,
                          m_byId, m_byShareCode));
    }
    // The site's growth comes from a generator of its own, so the seed's catalogue stays as it is;
    // made oldest first, listed newest first.
    Random growth(seed ^ kGrowthSeed);
    std::vector<Entry> grown;
    for (int i = 0; i < newEntries; ++i) {
        grown.push_back(makeEntry(growth, seed, i % kSuffixEvery == 0, i % kSlashEvery == 0, m_byId, m_byShareCode));
        m_byId.emplace(grown.back().entryId, 0);
        m_byShareCode.emplace(grown.back().shareCode, 0);
    }
    if (!grown.empty()) {
        m_entries.insert(m_entries.begin(), grown.rbegin(), grown.rend());
        m_byId.clear();
        m_byShareCode.clear();
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            m_byId.emplace(m_entries[i].entryId, i);
            m_byShareCode.emplace(m_entries[i].shareCode, i);
        }
    }
    m_pageStart.reserve(kLastPage + 2);
    std::size_t start = 0;
    for (const std::size_t size : pageSizes) {
        m_pageStart.push_back(start);
        start += size;
    }
    m_pageStart.push_back(m_entries.size()); // the last page takes what the growth pushed down
}

void Catalog::add(Entry entry)
{
    m_byId.emplace(entry.entryId, m_entries.size());
    m_byShareCode.emplace(entry.shareCode, m_entries.size());
    m_entries.push_back(std::move(entry));
}

std::vector<Entry> Catalog::listingPage(int page) const
{
    if (page < 0 || page > kLastPage)
        return {};
    const auto first = m_entries.begin() + static_cast<std::ptrdiff_t>(m_pageStart[static_cast<std::size_t>(page)]);
    const auto last = m_entries.begin() + static_cast<std::ptrdiff_t>(m_pageStart[static_cast<std::size_t>(page) + 1]);
    return {first, last};
}

std::optional<Entry> Catalog::entry(const std::string &entryId) const
{
    return lookUp(m_byId, entryId);
}

std::optional<Entry> Catalog::entryByShareCode(const std::string &shareCode) const
{
    return lookUp(m_byShareCode, shareCode);
}

std::optional<Entry> Catalog::lookUp(const std::unordered_map<std::string, std::size_t> &index,
                                     const std::string &key) const
{
    const auto found = index.find(key);
    if (found == index.end())
        return std::nullopt;
    return m_entries[found->second];
}

} // namespace DemoSite

#include "cli/profileverify.h"

#include "cli/exitcodes.h"
#include "crawl/fetcher.h"
#include "crawl/linkcheck.h"
#include "harvest/entryparser.h"
#include "harvest/sharecode.h"
#include "harvest/siteurls.h"
#include "text/printable.h"

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

constexpr qsizetype kDetailPages = 3;

class Verification
{
public:
    Verification(const Config::Endpoints &endpoints, QTextStream &out, QTextStream &err)
        : m_endpoints(endpoints)
        , m_profile(endpoints.profile)
        , m_fetcher(pacingOf(endpoints), m_neverStopped)
        , m_out(out)
        , m_err(err)
    {
    }

    int run(qint16 page, const QString &keyword)
    {
        if (!checkEntryPage(u"listing page "_s + QString::number(page), Harvest::listingUrl(m_endpoints.shareSite, m_profile, page)))
            return Unreachable;
        if (!keyword.isEmpty()
            && !checkEntryPage(u"results for "_s + Text::printable(keyword), Harvest::searchUrl(m_endpoints.shareSite, m_profile, keyword)))
            return Unreachable;

        const QString &marker = m_profile.shareLinkMarkerOr(m_endpoints.sharePrefix);
        QString firstCode;
        int codes = 0;
        const qsizetype details = std::min(kDetailPages, m_entries.size());
        for (qsizetype i = 0; i < details; ++i) {
            const QString &id = m_entries.at(i).entryId;
            const std::optional<QString> body = fetch(u"detail page of "_s + id, Harvest::detailUrl(m_endpoints.shareSite, m_profile, id));
            if (!body)
                return Unreachable;
            const QString code = Harvest::cutShareCode(*body, marker).value_or(QString());
            m_out << "  " << Config::kShareLinkMarkerKey << ": " << body->count(marker) << ", share code: "
                  << (code.isEmpty() ? u"none"_s : Text::printable(code)) << '\n';
            if (!code.isEmpty() && codes++ == 0)
                firstCode = code;
        }
        m_out << "rows with a share code: " << codes << " of " << details << '\n';
        if (!firstCode.isEmpty() && !checkSharePage(m_endpoints.sharePrefix + firstCode))
            return Unreachable;

        const bool matches = m_allMarkersFound && codes > 0;
        m_out << (matches ? "the profile reads the site" : "the profile does not read the site") << '\n';
        return matches ? Success : NotUnderstood;
    }

private:
    static Crawl::Pacing pacingOf(const Config::Endpoints &endpoints)
    {
        Crawl::Pacing pacing;
        pacing.retries = 0; // what the site answers now is what is checked
        pacing.transferTimeout = endpoints.timeout;
        pacing.fallbackCharset = endpoints.profile.charsetFallback;
        return pacing;
    }

    // GETs url and prints its line; the answer when one came.
    std::optional<Crawl::Answer> get(const QString &what, const QString &url)
    {
        Crawl::Answer answer = m_fetcher.get(url);
        m_out << Text::printable(what) << ": " << Text::printable(url) << " (" << answer.describe() << ")\n";
        if (answer.kind != Crawl::Answer::Kind::Http)
            return std::nullopt;
        return answer;
    }

    // The body of a page that has to have one.
    std::optional<QString> fetch(const QString &what, const QString &url)
    {
        std::optional<Crawl::Answer> answer = get(what, url);
        if (answer && answer->body.isEmpty())
            m_out << "  empty page\n";
        if (!answer || answer->body.isEmpty())
            return std::nullopt;
        return std::move(answer->body);
    }

    bool checkEntryPage(const QString &what, const QString &url)
    {
        const std::optional<QString> body = fetch(what, url);
        if (!body)
            return false;
        for (const Config::MarkerKey &marker : Config::entryMarkerKeys()) {
            const qsizetype hits = body->count(m_profile.*marker.marker);
            m_out << "  " << marker.key << ": " << hits << '\n';
            m_allMarkersFound = m_allMarkersFound && hits > 0;
        }
        const QList<Harvest::ResourceEntry> entries = Harvest::parseEntries(*body, m_profile);
        m_out << "  entries parsed: " << entries.size() << '\n';
        if (Harvest::isUnrecognisedPage(*body, m_profile))
            m_err << Harvest::kLayoutChangeHint << '\n';
        else if (entries.isEmpty())
            m_out << "  an empty-result wording: the page has no entries to check\n";
        m_entries += entries;
        return true;
    }

    bool checkSharePage(const QString &url)
    {
        const std::optional<Crawl::Answer> answer = get(u"share page"_s, url);
        if (answer)
            m_out << "  link: " << Crawl::verdictText(Crawl::classifyShare(*answer, m_profile.shareRules)) << '\n';
        return answer.has_value();
    }

    const Config::Endpoints &m_endpoints;
    const Config::SiteProfile &m_profile;
    Crawl::StopSwitch m_neverStopped;
    Crawl::Fetcher m_fetcher;
    QTextStream &m_out;
    QTextStream &m_err;
    QList<Harvest::ResourceEntry> m_entries;
    bool m_allMarkersFound = true;
};

} // namespace

int verifyProfile(const Config::Endpoints &endpoints, qint16 page, const QString &keyword, QTextStream &out,
                  QTextStream &err)
{
    return Verification(endpoints, out, err).run(page, keyword);
}

} // namespace Cli

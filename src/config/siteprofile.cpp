#include "config/siteprofile.h"

#include "text/gbk.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr qsizetype kLongestUserAgent = 512;
constexpr qint64 kLongestMinimumDelayMs = 3'600'000;
constexpr QLatin1StringView kVersionKey("version");
constexpr QLatin1StringView kCharsetKey("charsetFallback");
constexpr QLatin1StringView kKeywordEncodingKey("search.keywordEncoding");
constexpr QLatin1StringView kUserAgentKey("requests.userAgent");

const MarkerKey kEntryMarkers[] = {
    {"entries.entryMarker"_L1, &SiteProfile::entryMarker},
    {"entries.titleMarker"_L1, &SiteProfile::titleMarker},
    {"entries.fileCountMarker"_L1, &SiteProfile::fileCountMarker},
    {"entries.extractionCodeMarker"_L1, &SiteProfile::extractionCodeMarker},
};

// A text key; a required one must be there and not empty, a template must hold its placeholder.
struct TextKey
{
    QLatin1StringView key;
    QString SiteProfile::*field;
    bool required;
    QStringView placeholder;
};

const TextKey kTexts[] = {
    {"listing.url"_L1, &SiteProfile::listingUrl, true, kPagePlaceholder},
    {"detail.url"_L1, &SiteProfile::detailUrl, true, kIdPlaceholder},
    {"search.url"_L1, &SiteProfile::searchUrl, true, kKeywordPlaceholder},
    {kShareLinkMarkerKey, &SiteProfile::shareLinkMarker, false, {}},
    {"shareLink.codeQuery"_L1, &SiteProfile::extractionCodeQuery, false, {}},
    {kUserAgentKey, &SiteProfile::userAgent, false, {}},
};

struct WordsKey
{
    QLatin1StringView key;
    QStringList SiteProfile::*field;
};

const WordsKey kWords[] = {
    {"entries.emptyResultWordings"_L1, &SiteProfile::emptyResultWordings},
};

constexpr QLatin1StringView kOldDeadWordingsKey("shareCheck.deadWordings");
constexpr int kLowestRuleStatus = 300;
constexpr int kHighestRuleStatus = 599;

const ShareRuleKey kShareRules[] = {
    {"links.lockedWordings"_L1, "links.lockedStatuses"_L1, &ShareRules::locked},
    {"links.limitedWordings"_L1, "links.limitedStatuses"_L1, &ShareRules::limited},
    {"links.cancelledWordings"_L1, "links.cancelledStatuses"_L1, &ShareRules::cancelled},
    {"links.expiredWordings"_L1, "links.expiredStatuses"_L1, &ShareRules::expired},
    {"links.deletedWordings"_L1, "links.deletedStatuses"_L1, &ShareRules::deleted},
    {"links.violationWordings"_L1, "links.violationStatuses"_L1, &ShareRules::violation},
    {"links.notFoundWordings"_L1, "links.notFoundStatuses"_L1, &ShareRules::notFound},
};

// The dead reasons, in the order a wording of the old single list looks for its own.
constexpr ShareRule ShareRules::*kDeadRules[] = {&ShareRules::cancelled, &ShareRules::expired, &ShareRules::deleted,
                                                  &ShareRules::violation, &ShareRules::notFound};

struct NumberKey
{
    QLatin1StringView key;
    qint64 low;
    qint64 high;
    qint64 (*get)(const SiteProfile &);
    void (*set)(SiteProfile &, qint64);
};

const NumberKey kNumbers[] = {
    {"entries.entryIdLength"_L1, 1, 256, [](const SiteProfile &p) -> qint64 { return p.entryIdLength; },
     [](SiteProfile &p, qint64 n) { p.entryIdLength = n; }},
    {"requests.minimumDelayMs"_L1, 0, kLongestMinimumDelayMs,
     [](const SiteProfile &p) -> qint64 { return p.minimumDelay.count(); },
     [](SiteProfile &p, qint64 n) { p.minimumDelay = std::chrono::milliseconds(n); }},
};

constexpr std::pair<QLatin1StringView, KeywordEncoding> kKeywordEncodings[] = {
    {"gbk"_L1, KeywordEncoding::Gbk},
    {"utf-8"_L1, KeywordEncoding::Utf8},
};

// The group of a "group.key" key; empty for a top-level key.
QLatin1StringView groupOf(QLatin1StringView key)
{
    const qsizetype dot = key.indexOf(u'.');
    return dot < 0 ? QLatin1StringView() : key.first(dot);
}

// Reads the values of a profile's JSON object by key, keeps the first refusal and remembers
// which keys it asked for, so that any other key can be refused as unknown.
class Reader
{
public:
    explicit Reader(QJsonObject root) : m_root(std::move(root)) {}

    QJsonValue value(QLatin1StringView key)
    {
        m_asked.insert(key);
        const QLatin1StringView group = groupOf(key);
        if (group.isEmpty())
            return m_root.value(key);
        m_asked.insert(group);
        const QJsonValue object = m_root.value(group);
        if (!object.isUndefined() && !object.isObject()) {
            refuse(group, u"not an object"_s);
            return QJsonValue(QJsonValue::Undefined);
        }
        return object.toObject().value(key.sliced(group.size() + 1));
    }

    // A whole number in low..high; nullopt (refused) when it is something else, or absent and
    // required.
    std::optional<qint64> number(QLatin1StringView key, qint64 low, qint64 high, bool required)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined()) {
            if (required)
                refuse(key, u"missing"_s);
            return std::nullopt;
        }
        const double n = v.toDouble(-1);
        if (!v.isDouble() || n != std::floor(n) || n < double(low) || n > double(high)) {
            refuse(key, u"not a whole number from "_s + QString::number(low) + u" to "_s + QString::number(high));
            return std::nullopt;
        }
        return static_cast<qint64>(n);
    }

    // The text at key into out; absent leaves out alone.
    void text(QLatin1StringView key, QString &out, bool required)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined()) {
            if (required)
                refuse(key, u"missing"_s);
        } else if (!v.isString()) {
            refuse(key, u"not a text"_s);
        } else if (required && v.toString().isEmpty()) {
            refuse(key, u"empty"_s);
        } else {
            out = v.toString();
        }
    }

    // The texts at key into out; false when absent or refused.
    bool words(QLatin1StringView key, QStringList &out)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return false;
        const QJsonArray array = v.toArray();
        QStringList read;
        for (const QJsonValue item : array) {
            if (!item.isString() || item.toString().isEmpty()) {
                refuse(key, u"not a list of texts, none empty"_s);
                return false;
            }
            read.append(item.toString());
        }
        if (!v.isArray()) {
            refuse(key, u"not a list of texts, none empty"_s);
            return false;
        }
        out = read;
        return true;
    }

    // The whole numbers in low..high at key into out; absent leaves out alone.
    void numbers(QLatin1StringView key, int low, int high, QList<int> &out)
    {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return;
        const QJsonArray array = v.toArray();
        QList<int> read;
        for (const QJsonValue item : array) {
            const double n = item.toDouble(-1);
            if (!item.isDouble() || n != std::floor(n) || n < low || n > high) {
                refuse(key, u"not a list of whole numbers from "_s + QString::number(low) + u" to "_s + QString::number(high));
                return;
            }
            read.append(static_cast<int>(n));
        }
        if (!v.isArray())
            refuse(key, u"not a list of whole numbers"_s);
        else
            out = read;
    }

    void refuse(const QString &key, const QString &why)
    {
        if (m_error.isEmpty())
            m_error = key + u": "_s + why;
    }

    // The first key of the object that nobody asked for, refused.
    void refuseUnknownKeys()
    {
        for (auto it = m_root.constBegin(); it != m_root.constEnd(); ++it) {
            const bool group = it->isObject() && m_asked.contains(it.key());
            if (!m_asked.contains(it.key()))
                return refuse(it.key(), u"unknown key"_s);
            if (!group)
                continue;
            const QJsonObject members = it->toObject();
            for (auto member = members.constBegin(); member != members.constEnd(); ++member) {
                const QString key = it.key() + u'.' + member.key();
                if (!m_asked.contains(key))
                    return refuse(key, u"unknown key"_s);
            }
        }
    }

    const QString &error() const { return m_error; }

private:
    QJsonObject m_root;
    QSet<QString> m_asked;
    QString m_error;
};

bool isPrintableAscii(QStringView text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}

// The old single list of dead wordings, each wording under the reason whose compiled-in wordings
// hold it, any other under deleted.
void readOldDeadWordings(Reader &reader, ShareRules &rules)
{
    QStringList wordings;
    if (!reader.words(kOldDeadWordingsKey, wordings))
        return;
    const ShareRules builtIn;
    for (ShareRule ShareRules::*rule : kDeadRules)
        (rules.*rule).wordings.clear();
    for (const QString &wording : wordings) {
        const auto own = std::find_if(std::begin(kDeadRules), std::end(kDeadRules),
                                      [&](ShareRule ShareRules::*rule) { return (builtIn.*rule).wordings.contains(wording); });
        (rules.*(own == std::end(kDeadRules) ? &ShareRules::deleted : *own)).wordings.append(wording);
    }
}

void readShareRules(Reader &reader, ShareRules &rules)
{
    readOldDeadWordings(reader, rules);
    for (const ShareRuleKey &key : kShareRules) {
        reader.words(key.wordings, (rules.*key.rule).wordings);
        reader.numbers(key.statuses, kLowestRuleStatus, kHighestRuleStatus, (rules.*key.rule).statuses);
    }
}

void readFields(Reader &reader, SiteProfile &profile)
{
    for (const MarkerKey &marker : kEntryMarkers)
        reader.text(marker.key, profile.*marker.marker, true);
    for (const TextKey &text : kTexts) {
        reader.text(text.key, profile.*text.field, text.required);
        if (!text.placeholder.isEmpty() && !(profile.*text.field).contains(text.placeholder))
            reader.refuse(text.key, u"lacks "_s + text.placeholder);
    }
    // A control character or non-ASCII in a header would let the value break out of its line.
    if (profile.userAgent.size() > kLongestUserAgent || !isPrintableAscii(profile.userAgent))
        reader.refuse(kUserAgentKey, u"printable ASCII only, at most "_s + QString::number(kLongestUserAgent) + u" characters"_s);
    for (const WordsKey &words : kWords)
        reader.words(words.key, profile.*words.field);
    readShareRules(reader, profile.shareRules);
    for (const NumberKey &number : kNumbers) {
        if (const auto n = reader.number(number.key, number.low, number.high, false))
            number.set(profile, *n);
    }

    QString encoding = kKeywordEncodings[0].first;
    reader.text(kKeywordEncodingKey, encoding, false);
    const auto known = std::find_if(std::begin(kKeywordEncodings), std::end(kKeywordEncodings),
                                    [&](const auto &pair) { return pair.first == encoding; });
    if (known == std::end(kKeywordEncodings))
        reader.refuse(kKeywordEncodingKey, u"gbk or utf-8"_s);
    else
        profile.keywordEncoding = known->second;

    QString charset = QString::fromLatin1(profile.charsetFallback);
    reader.text(kCharsetKey, charset, false);
    if (charset.isEmpty() || !isPrintableAscii(charset) || !Text::canDecode(charset.toLatin1()))
        reader.refuse(kCharsetKey, u"not a character set this program knows"_s);
    else
        profile.charsetFallback = charset.toLatin1();
}

LoadedSiteProfile refused(QString error)
{
    return {SiteProfile(), std::move(error)};
}

// Sets key ("group.key" or "key") of root.
void put(QJsonObject &root, QLatin1StringView key, const QJsonValue &value)
{
    const QLatin1StringView group = groupOf(key);
    if (group.isEmpty()) {
        root.insert(key, value);
        return;
    }
    QJsonObject members = root.value(group).toObject();
    members.insert(key.sliced(group.size() + 1), value);
    root.insert(group, members);
}

} // namespace

std::span<const MarkerKey> entryMarkerKeys()
{
    return kEntryMarkers;
}

std::span<const ShareRuleKey> shareRuleKeys()
{
    return kShareRules;
}

LoadedSiteProfile readSiteProfile(const QByteArray &json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return refused(u"not JSON: "_s + parseError.errorString() + u" at byte "_s + QString::number(parseError.offset));
    if (!document.isObject())
        return refused(u"not a JSON object"_s);

    Reader reader(document.object());
    SiteProfile profile;
    // The version first: a newer file may hold keys this program has never heard of.
    const std::optional<qint64> version = reader.number(kVersionKey, 1, std::numeric_limits<int>::max(), true);
    if (version && *version > kSiteProfileVersion)
        reader.refuse(kVersionKey, QString::number(*version) + u" is newer than this program reads ("_s
                                       + QString::number(kSiteProfileVersion) + u')');
    if (!reader.error().isEmpty())
        return refused(reader.error());
    profile.version = static_cast<int>(*version);
    readFields(reader, profile);
    reader.refuseUnknownKeys();
    if (!reader.error().isEmpty())
        return refused(reader.error());
    return {std::move(profile), {}};
}

LoadedSiteProfile loadSiteProfile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(path + u": cannot read: "_s + file.errorString());
    // One byte more than allowed tells a file that is too large, also one that grows or reports
    // no size (a pipe).
    const QByteArray json = file.read(kLargestSiteProfile + 1);
    if (file.error() != QFileDevice::NoError)
        return refused(path + u": cannot read: "_s + file.errorString());
    if (json.size() > kLargestSiteProfile)
        return refused(path + u": larger than "_s + QString::number(kLargestSiteProfile / 1024) + u" KiB"_s);
    LoadedSiteProfile loaded = readSiteProfile(json);
    if (!loaded.error.isEmpty())
        loaded.error = path + u": "_s + loaded.error;
    return loaded;
}

QByteArray writeSiteProfile(const SiteProfile &profile)
{
    QJsonObject root;
    put(root, kVersionKey, profile.version);
    for (const MarkerKey &marker : kEntryMarkers)
        put(root, marker.key, profile.*marker.marker);
    for (const TextKey &text : kTexts)
        put(root, text.key, profile.*text.field);
    for (const WordsKey &words : kWords)
        put(root, words.key, QJsonArray::fromStringList(profile.*words.field));
    for (const ShareRuleKey &key : kShareRules) {
        const ShareRule &rule = profile.shareRules.*key.rule;
        put(root, key.wordings, QJsonArray::fromStringList(rule.wordings));
        QJsonArray statuses;
        for (const int status : rule.statuses)
            statuses.append(status);
        put(root, key.statuses, statuses);
    }
    for (const NumberKey &number : kNumbers)
        put(root, number.key, number.get(profile));
    for (const auto &[name, encoding] : kKeywordEncodings) {
        if (encoding == profile.keywordEncoding)
            put(root, kKeywordEncodingKey, QString(name));
    }
    put(root, kCharsetKey, QString::fromLatin1(profile.charsetFallback));
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

} // namespace Config

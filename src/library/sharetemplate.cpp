#include "library/sharetemplate.h"

#include "text/printable.h"

#include <array>
#include <utility>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

using Field = QString ShareRecord::*;

constexpr std::array<std::pair<QStringView, Field>, 5> kPlaceholders{{
    {u"title", &ShareRecord::title},
    {u"url", &ShareRecord::shareUrl},
    {u"code", &ShareRecord::extractionCode},
    {u"files", &ShareRecord::fileCount},
    {u"sharecode", &ShareRecord::shareCode},
}};

bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Where the placeholder starting at from ends (one past its "}"), or -1 when no placeholder
// starts there: "{", one or more name characters, "}".
qsizetype placeholderEnd(QStringView text, qsizetype from)
{
    if (text.at(from) != u'{')
        return -1;
    qsizetype i = from + 1;
    while (i < text.size() && isNameCharacter(text.at(i)))
        ++i;
    return i > from + 1 && i < text.size() && text.at(i) == u'}' ? i + 1 : -1;
}

const Field *knownField(QStringView name)
{
    for (const auto &[placeholder, field] : kPlaceholders)
        if (placeholder == name)
            return &field;
    return nullptr;
}

// Calls visit(name, placeholderText) for each placeholder and copy(text) for what lies between.
template<typename Visit, typename Copy>
void walk(QStringView text, Visit visit, Copy copy)
{
    qsizetype plain = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype end = placeholderEnd(text, i);
        if (end < 0)
            continue;
        copy(text.sliced(plain, i - plain));
        visit(text.sliced(i + 1, end - i - 2), text.sliced(i, end - i));
        plain = end;
        i = end - 1;
    }
    copy(text.sliced(plain));
}

} // namespace

QString defaultShareTemplate(const Config::SiteProfile &profile)
{
    return u"链接: {url}?"_s + profile.extractionCodeQuery + u"={code}"_s;
}

QString fillShareTemplate(QStringView shareTemplate, const ShareRecord &share)
{
    QString out;
    walk(
        shareTemplate,
        [&](QStringView name, QStringView written) {
            if (const Field *field = knownField(name))
                Text::appendPrintable(out, share.**field); // one line per share, whatever the site wrote
            else
                out.append(written);
        },
        [&](QStringView plain) { out.append(plain); });
    return out;
}

QStringList unknownPlaceholders(QStringView shareTemplate)
{
    QStringList unknown;
    walk(
        shareTemplate,
        [&](QStringView name, QStringView written) {
            if (!knownField(name) && !unknown.contains(written))
                unknown.append(written.toString());
        },
        [](QStringView) {});
    return unknown;
}

} // namespace Library

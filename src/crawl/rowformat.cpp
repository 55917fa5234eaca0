#include "crawl/rowformat.h"

#include "harvest/tabularoutput.h"

#include <array>

using namespace Qt::StringLiterals;

namespace Crawl {

namespace {

constexpr std::array<QStringView, 10> kFieldNames{u"page",     u"number",         u"title",    u"fileCount",
                                                   u"shareCode", u"extractionCode", u"shareUrl", u"link",
                                                   u"linkReason", u"checkedAt"};
// The last fields, only when links are checked.
constexpr std::size_t kLinkFields = 3;

// The row's texts in field order; the link's fields last and only when the row carries one.
QStringList fieldTexts(const CrawlRow &row)
{
    QStringList texts{row.page ? QString::number(*row.page) : QString(), row.entry.number, row.entry.title,
                      row.entry.fileCount, row.entry.shareCode, row.entry.extractionCode, row.shareUrl};
    if (row.link)
        texts << linkStateName(row.link->verdict.state) << deadReasonName(row.link->verdict.reason)
              << row.link->checkedAt.toUTC().toString(Qt::ISODate);
    return texts;
}

// A JSON number when the text is one (decimal digits), else null for empty, else a string.
void appendJsonNumber(QString &out, const QString &text)
{
    bool digits = !text.isEmpty() && text.size() <= 9;
    for (const QChar c : text)
        digits = digits && c >= u'0' && c <= u'9';
    if (digits)
        out.append(QString::number(text.toInt()));
    else if (text.isEmpty())
        out.append(u"null");
    else
        Harvest::appendJsonString(out, text);
}

QString jsonLine(const QStringList &texts)
{
    QString out(u'{');
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out.append(u',');
        Harvest::appendJsonString(out, kFieldNames[static_cast<std::size_t>(i)]);
        out.append(u':');
        if (i < 2)
            appendJsonNumber(out, texts.at(i));
        else
            Harvest::appendJsonString(out, texts.at(i));
    }
    out.append(u"}\n");
    return out;
}

} // namespace

std::optional<Format> parseFormat(QStringView name)
{
    if (name == u"jsonl")
        return Format::Jsonl;
    if (name == u"csv")
        return Format::Csv;
    if (name == u"tsv")
        return Format::Tsv;
    return std::nullopt;
}

QString outputHead(Format format, bool withLink)
{
    if (format != Format::Csv)
        return {};
    QString head(QChar(0xFEFF));
    const std::size_t count = withLink ? kFieldNames.size() : kFieldNames.size() - kLinkFields;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0)
            head.append(u',');
        head.append(kFieldNames[i]);
    }
    head.append(u"\r\n");
    return head;
}

QString formatRow(Format format, const CrawlRow &row, Harvest::Formulas formulas)
{
    const QStringList texts = fieldTexts(row);
    if (format == Format::Jsonl)
        return jsonLine(texts);
    QString out;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (i > 0)
            out.append(format == Format::Csv ? u',' : u'\t');
        if (format == Format::Csv)
            Harvest::appendCsvField(out, texts.at(i), formulas);
        else
            Harvest::appendTsvField(out, texts.at(i), formulas);
    }
    out.append(format == Format::Csv ? u"\r\n" : u"\n");
    return out;
}

} // namespace Crawl

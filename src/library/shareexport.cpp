#include "library/shareexport.h"

#include "harvest/tabularoutput.h"
#include "library/sharetemplate.h"
#include "text/gbk.h"

#include <QDir>
#include <QSaveFile>

#include <array>

using namespace Qt::StringLiterals;

namespace Library {

namespace {

constexpr std::array kFormatNames{
    std::pair{ExportFormat::TemplateLines, u"template"},
    std::pair{ExportFormat::Csv, u"csv"},
    std::pair{ExportFormat::JsonLines, u"jsonl"},
};

constexpr std::array kEncodingNames{
    std::pair{ExportEncoding::Utf8, u"utf-8"},
    std::pair{ExportEncoding::Gbk, u"gbk"},
};

template<typename Table>
auto valueNamed(const Table &table, QStringView name) -> std::optional<decltype(table[0].first)>
{
    for (const auto &[value, n] : table)
        if (name == QStringView(n))
            return value;
    return std::nullopt;
}

// How a field goes into a JSON line: a string, null when empty, or a number.
enum class JsonKind { Text, TextOrNull, Number };

struct FieldName
{
    QStringView name;
    JsonKind json;
};

// The fields of CSV and JSON lines, in order.
constexpr std::array<FieldName, 10> kFields{{
    {u"title", JsonKind::Text},
    {u"fileCount", JsonKind::Text},
    {u"shareCode", JsonKind::Text},
    {u"extractionCode", JsonKind::Text},
    {u"shareUrl", JsonKind::Text},
    {u"link", JsonKind::TextOrNull}, // never checked
    {u"deadReason", JsonKind::TextOrNull},
    {u"firstSeen", JsonKind::TextOrNull},
    {u"lastSeen", JsonKind::TextOrNull},
    {u"timesSeen", JsonKind::Number},
}};

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODate) : QString();
}

std::array<QString, kFields.size()> fieldTexts(const ShareRecord &share)
{
    return {share.title,
            share.fileCount,
            share.shareCode,
            share.extractionCode,
            share.shareUrl,
            share.link ? Crawl::linkStateName(share.link->state) : QString(),
            share.link ? Crawl::deadReasonName(share.link->reason) : QString(),
            timeText(share.firstSeen),
            timeText(share.lastSeen),
            QString::number(share.timesSeen)};
}

QString csvText(const QList<ShareRecord> &shares)
{
    QString out(QChar(0xFEFF));
    for (const FieldName &field : kFields)
        out.append(field.name).append(u',');
    out.chop(1);
    out.append(u"\r\n");
    for (const ShareRecord &share : shares) {
        const auto texts = fieldTexts(share);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i > 0)
                out.append(u',');
            Harvest::appendCsvField(out, texts[i], Harvest::Formulas::Defused);
        }
        out.append(u"\r\n");
    }
    return out;
}

QString jsonLinesText(const QList<ShareRecord> &shares)
{
    QString out;
    for (const ShareRecord &share : shares) {
        const auto texts = fieldTexts(share);
        out.append(u'{');
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (i > 0)
                out.append(u',');
            Harvest::appendJsonString(out, kFields[i].name);
            out.append(u':');
            if (kFields[i].json == JsonKind::Number)
                out.append(texts[i]);
            else if (kFields[i].json == JsonKind::TextOrNull && texts[i].isEmpty())
                out.append(u"null");
            else
                Harvest::appendJsonString(out, texts[i]);
        }
        out.append(u"}\n");
    }
    return out;
}

QString templateLinesText(const QList<ShareRecord> &shares, const QString &shareTemplate)
{
    QString out;
    for (const ShareRecord &share : shares)
        out.append(fillShareTemplate(shareTemplate, share)).append(u"\r\n");
    return out;
}

} // namespace

std::optional<ExportFormat> parseExportFormat(QStringView name)
{
    return valueNamed(kFormatNames, name);
}

std::optional<ExportEncoding> parseExportEncoding(QStringView name)
{
    return valueNamed(kEncodingNames, name);
}

QByteArray exportBytes(const QList<ShareRecord> &shares, const ExportOptions &options)
{
    QString text;
    switch (options.format) {
    case ExportFormat::TemplateLines: text = templateLinesText(shares, options.shareTemplate); break;
    case ExportFormat::Csv: text = csvText(shares); break;
    case ExportFormat::JsonLines: text = jsonLinesText(shares); break;
    }
    if (options.encoding == ExportEncoding::Utf8)
        return text.toUtf8();
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1); // the mark says UTF-8; a GBK file goes without
    return Text::toGbk(text);
}

QString writeShareExport(const QString &path, const QList<ShareRecord> &shares, const ExportOptions &options)
{
    QSaveFile file(path);
    const auto refusal = [&]() -> QString { return QDir::toNativeSeparators(path) + u": cannot be written: "_s + file.errorString(); };
    if (!file.open(QIODevice::WriteOnly))
        return refusal();
    const QByteArray bytes = exportBytes(shares, options);
    if (file.write(bytes) != bytes.size() || !file.commit())
        return refusal();
    return {};
}

} // namespace Library

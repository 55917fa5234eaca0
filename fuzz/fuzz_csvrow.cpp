// A crawl row of any fields: as CSV an RFC 4180 reader gets back the fields, control characters
// other than tab, CR and LF as spaces, each field that a spreadsheet would take for a formula
// with a leading "'" unless raw; as TSV it stays one line of as many fields, without a control
// character; as JSONL one line that parses to the same texts.
// Input: one byte choosing page and link, then UTF-16 text whose U+0000 separate the fields.
#include "crawl/rowformat.h"
#include "fuzzinput.h"
#include "support/csvreader.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint8_t choice = data[0];
    const QStringList pieces = fuzzText(data + 1, size - 1).split(QChar(u'\0'));
    const auto piece = [&pieces](qsizetype i) { return i < pieces.size() ? pieces.at(i) : QString(); };

    Crawl::CrawlRow row;
    if (choice & 1)
        row.page = choice >> 1;
    if ((choice >> 1) % 4 != 3) {
        const auto state = static_cast<Crawl::LinkState>((choice >> 1) % 4);
        const auto reason = state == Crawl::LinkState::Dead ? Crawl::DeadReason::NotFound : Crawl::DeadReason::None;
        row.link = Crawl::LinkCheck{{state, reason}, QDateTime::fromSecsSinceEpoch(qint64(choice) << 24, Qt::UTC), 200};
    }
    row.entry = {piece(0), piece(1), piece(2), piece(3), u"0123456789"_s, piece(4)};
    row.shareUrl = piece(5);
    QStringList fields{row.page ? QString::number(*row.page) : QString(), row.entry.number, row.entry.title,
                       row.entry.fileCount, row.entry.shareCode, row.entry.extractionCode, row.shareUrl};
    if (row.link)
        fields << Crawl::linkStateName(row.link->verdict.state) << Crawl::deadReasonName(row.link->verdict.reason)
               << row.link->checkedAt.toString(Qt::ISODate);
    QStringList shown = fields; // as a terminal may show them
    for (QString &field : shown) {
        for (QChar &c : field) {
            if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\r' && c != u'\n')
                c = u' ';
        }
    }

    const std::optional<QList<QStringList>> raw = readCsv(Crawl::formatRow(Crawl::Format::Csv, row, Harvest::Formulas::Raw));
    if (!raw || raw->size() != 1 || raw->front() != shown)
        std::abort();
    const QString csv = Crawl::formatRow(Crawl::Format::Csv, row);
    const std::optional<QList<QStringList>> records = readCsv(csv);
    if (!records || records->size() != 1 || records->front().size() != fields.size())
        std::abort();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const bool formula = !fields.at(i).isEmpty() && QStringView(u"=+-@\t\r").contains(fields.at(i).front());
        if (records->front().at(i) != (formula ? u"'"_s : QString()) + shown.at(i))
            std::abort();
    }
    const std::optional<QList<QStringList>> withHead = readCsv(Crawl::outputHead(Crawl::Format::Csv, row.link.has_value()).mid(1) + csv);
    if (!withHead || withHead->size() != 2 || withHead->front().size() != fields.size())
        std::abort();

    const QString tsv = Crawl::formatRow(Crawl::Format::Tsv, row);
    if (!tsv.endsWith(u'\n') || tsv.count(u'\n') != 1 || tsv.contains(u'\r') || tsv.count(u'\t') != fields.size() - 1)
        std::abort();
    for (const QChar c : tsv) {
        if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\n')
            std::abort();
    }

    const QString jsonl = Crawl::formatRow(Crawl::Format::Jsonl, row);
    if (!jsonl.endsWith(u'\n') || jsonl.count(u'\n') != 1 || jsonl.contains(u'\r'))
        std::abort();
    // Lone surrogates have no UTF-8 form for the JSON reader to compare; pages never decode to them.
    if (QStringView(jsonl).isValidUtf16()) {
        QJsonParseError error;
        const QJsonObject object = QJsonDocument::fromJson(jsonl.toUtf8(), &error).object();
        // Qt's JSON reader drops a U+FEFF that opens a string; the line itself keeps it.
        const auto same = [&object](QStringView name, QString written) {
            return object.value(name).toString().remove(QChar(0xFEFF)) == written.remove(QChar(0xFEFF));
        };
        if (error.error != QJsonParseError::NoError || !same(u"title", row.entry.title)
            || !same(u"shareUrl", row.shareUrl) || !same(u"extractionCode", row.entry.extractionCode))
            std::abort();
    }
    return 0;
}

#include "harvest/tabularoutput.h"

#include "text/printable.h"

#include <array>

namespace Harvest {

namespace {

constexpr std::array<const char16_t *, ColumnCount> kJsonKeys{
    u"number", u"title", u"fileCount", u"shareCode", u"entryId", u"extractionCode",
};

} // namespace

QString spreadsheetCell(QStringView field, Formulas formulas)
{
    static constexpr QStringView kFormulaStarts = u"=+-@\t\r";
    if (formulas == Formulas::Raw || field.isEmpty() || !kFormulaStarts.contains(field.front()))
        return field.toString();
    return u'\'' + field.toString();
}

void appendTsvField(QString &out, QStringView text, Formulas formulas)
{
    Text::appendPrintable(out, spreadsheetCell(text, formulas));
}

void appendCsvField(QString &out, QStringView text, Formulas formulas)
{
    QString cell;
    Text::appendPrintable(cell, spreadsheetCell(text, formulas), Text::LineBreaks::Kept);
    const bool quoted = cell.contains(u',') || cell.contains(u'"') || cell.contains(u'\n') || cell.contains(u'\r');
    if (!quoted) {
        out.append(cell);
        return;
    }
    out.append(u'"');
    for (const QChar c : cell) {
        if (c == u'"')
            out.append(u'"');
        out.append(c);
    }
    out.append(u'"');
}

void appendJsonString(QString &out, QStringView text)
{
    out.append(u'"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'"': out.append(u"\\\""); break;
        case u'\\': out.append(u"\\\\"); break;
        case u'\n': out.append(u"\\n"); break;
        case u'\r': out.append(u"\\r"); break;
        case u'\t': out.append(u"\\t"); break;
        default:
            if (c.category() == QChar::Other_Control)
                out.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0')));
            else
                out.append(c);
        }
    }
    out.append(u'"');
}

QString toTsv(const QList<ResourceEntry> &entries, Formulas formulas)
{
    QString out;
    for (const ResourceEntry &entry : entries) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (column > 0)
                out.append(u'\t');
            appendTsvField(out, field(entry, static_cast<Column>(column)), formulas);
        }
        out.append(u'\n');
    }
    return out;
}

QString toJson(const QList<ResourceEntry> &entries)
{
    QString out(u'[');
    for (qsizetype i = 0; i < entries.size(); ++i) {
        out.append(i == 0 ? u"\n  {" : u",\n  {");
        for (int column = 0; column < ColumnCount; ++column) {
            out.append(column == 0 ? u"\"" : u", \"");
            out.append(QStringView(kJsonKeys[column]));
            out.append(u"\": ");
            appendJsonString(out, field(entries.at(i), static_cast<Column>(column)));
        }
        out.append(u'}');
    }
    out.append(entries.isEmpty() ? u"]\n" : u"\n]\n");
    return out;
}

} // namespace Harvest

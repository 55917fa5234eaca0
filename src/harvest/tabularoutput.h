#pragma once

#include "harvest/resourceentry.h"

#include <QList>
#include <QString>

namespace Harvest {

// Whether CSV and TSV cells are kept from acting as spreadsheet formulas.
enum class Formulas {
    Defused, // the default: a cell a spreadsheet would evaluate is written as text
    Raw,     // every cell as the site sent it ("--raw")
};

// One field as a CSV or TSV cell. Defused, a field that begins with "=", "+", "-", "@", a tab or
// a carriage return gets a leading "'", so a spreadsheet shows it and evaluates nothing (a
// title such as "=HYPERLINK(...)" comes from the site, not from the user).
QString spreadsheetCell(QStringView field, Formulas formulas);

// One line per entry, the six fields in column order separated by tabs, each line ending in
// "\n". Every field goes through appendTsvField.
QString toTsv(const QList<ResourceEntry> &entries, Formulas formulas = Formulas::Defused);

// One JSON array of objects with the string members number, title, fileCount, shareCode,
// entryId and extractionCode (in that order), followed by "\n".
QString toJson(const QList<ResourceEntry> &entries);

// Appends text as one TSV field: first the spreadsheet cell of it, then every control
// character replaced (Text::appendPrintable: a tab or line break becomes one space), so the
// row stays one line and a terminal gets no escape sequence.
void appendTsvField(QString &out, QStringView text, Formulas formulas);

// Appends text as one CSV field (RFC 4180): the spreadsheet cell of it, its control characters
// but tabs and line breaks replaced, quoted (quotes doubled) when it holds a comma, a quote or a
// line break.
void appendCsvField(QString &out, QStringView text, Formulas formulas);

// Appends text as a JSON string, quotes included; every control character is escaped.
void appendJsonString(QString &out, QStringView text);

} // namespace Harvest

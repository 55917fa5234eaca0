#pragma once

#include "library/sharerecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

// Writing shares of the library to a file, for the window's export and the command line's.
namespace Library {

enum class ExportFormat {
    TemplateLines, // "template": one filled share template per line, CR LF
    Csv,           // "csv": RFC 4180 with a header line; cells kept from acting as formulas
    JsonLines,     // "jsonl": one JSON object per line
};

enum class ExportEncoding {
    Utf8, // "utf-8"; a CSV file starts with the byte-order mark spreadsheets look for
    Gbk,  // "gbk"; a character GBK cannot hold becomes "?"
};

std::optional<ExportFormat> parseExportFormat(QStringView name);
std::optional<ExportEncoding> parseExportEncoding(QStringView name);

struct ExportOptions
{
    ExportFormat format = ExportFormat::TemplateLines;
    ExportEncoding encoding = ExportEncoding::Utf8;
    QString shareTemplate; // for TemplateLines
};

// The file's bytes for the shares in the order given.
QByteArray exportBytes(const QList<ShareRecord> &shares, const ExportOptions &options);

// Writes exportBytes() to path, replacing the file only once every byte is written (an existing
// file is overwritten: asking first is the front end's business). Returns why it could not be
// written, or empty text.
QString writeShareExport(const QString &path, const QList<ShareRecord> &shares, const ExportOptions &options);

} // namespace Library

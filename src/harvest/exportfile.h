#pragma once

#include <QByteArray>
#include <QString>

namespace Harvest {

class ResultList;

struct ExportResult
{
    bool written = false;
    QString errorString; // why the file could not be written; empty when written
};

// The block one export appends, in GBK: CR LF and the share code of every row in list order,
// then one more CR LF. An empty list gives a lone CR LF.
QByteArray exportBlock(const ResultList &list);

// Appends the export block of list to the file at path, creating it when missing, with one
// write at the end of the file, so two exports never interleave. When the write fails or
// comes out short, the file is cut back to its old length, or removed when this export created
// it, and the reason is returned.
ExportResult appendExport(const QString &path, const ResultList &list);

} // namespace Harvest

#pragma once

#include "cli/commandarguments.h"
#include "cli/context.h"
#include "harvest/harvester.h"
#include "harvest/tabularoutput.h"

#include <functional>

// What the commands that fill a result list share: the output format, the run with its
// progress on stderr, and the exit code of its outcome.
namespace Cli {

enum class RowFormat { Tsv, Json };

inline constexpr OptionSpec kRowFormatSpec{"format", "tsv|json", "rows as tab-separated lines (default) or a JSON array"};

// Reads "--format tsv|json" of arguments into format (Tsv when absent); returns the error line,
// empty when the value is fine.
QString readRowFormat(const CommandArguments &arguments, RowFormat &format);

// Reads "--page N" of arguments into page (0 when absent); returns the error line, empty when
// the value is fine.
QString readPageNumber(const CommandArguments &arguments, qint16 &page);

// Runs start on a fresh harvester over context's endpoints, recorded in the library, with every
// status text on err (and the library's warnings after "command: "),
// then writes the rows on out (TSV cells as formulas says) and returns the exit code: Success with rows, Partial
// with rows of which the later ones lack their share code, Failure with the "nothing found"
// message when the page held no entry (after the layout-change hint when the page looked
// unrecognised), Unreachable when the page was not fetched or empty.
int runHarvester(const Context &context, const char *command, RowFormat format, Harvest::Formulas formulas,
                 const std::function<Harvest::HarvestResult(Harvest::Harvester &)> &start);

} // namespace Cli

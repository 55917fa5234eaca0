#pragma once

#include "cli/commandarguments.h"
#include "harvest/tabularoutput.h"

namespace Cli {

// "--raw": CSV and TSV cells as the site sent them, for scripts that need its bytes; by default
// a cell a spreadsheet would evaluate is written as text.
inline constexpr char kRawFlag[] = "raw";
inline constexpr OptionSpec kRawSpec{kRawFlag, nullptr,
                                     "csv and tsv cells as the site sent them; by default a cell that starts\n"
                                     "with = + - @, a tab or a CR gets a leading ' so no spreadsheet runs it"};

inline Harvest::Formulas formulasOf(const CommandArguments &arguments)
{
    return arguments.flags.contains(QLatin1String(kRawFlag)) ? Harvest::Formulas::Raw : Harvest::Formulas::Defused;
}

} // namespace Cli

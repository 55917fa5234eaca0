#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>

namespace Cli {

// Runs one command line (arguments without the program name) and returns the exit code; in is
// standard input (a password may come from it).
int run(const QStringList &arguments, const QProcessEnvironment &environment, QTextStream &in, QTextStream &out,
        QTextStream &err);

} // namespace Cli

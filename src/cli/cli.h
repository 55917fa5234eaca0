#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTextStream>

namespace Cli {

// Runs one command line (arguments without the program name) and returns the exit code.
int run(const QStringList &arguments, const QProcessEnvironment &environment, QTextStream &out, QTextStream &err);

} // namespace Cli

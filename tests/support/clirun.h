#pragma once

#include "cli/cli.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTextStream>

// Runs the command-line tool in process and keeps what it printed.
struct CliOutcome
{
    int code = 0;
    QString out;
    QString err;
};

// input is what the tool finds on standard input.
inline CliOutcome runCli(const QStringList &arguments, const QProcessEnvironment &environment = {},
                         QString input = {})
{
    CliOutcome outcome;
    {
        QTextStream in(&input, QIODevice::ReadOnly);
        QTextStream out(&outcome.out);
        QTextStream err(&outcome.err);
        outcome.code = Cli::run(arguments, environment, in, out, err);
    }
    return outcome;
}

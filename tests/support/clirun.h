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

inline CliOutcome runCli(const QStringList &arguments, const QProcessEnvironment &environment = {})
{
    CliOutcome outcome;
    {
        QTextStream out(&outcome.out);
        QTextStream err(&outcome.err);
        outcome.code = Cli::run(arguments, environment, out, err);
    }
    return outcome;
}

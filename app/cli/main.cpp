#include "cli/cli.h"

#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vorlen360-cli"));
    QTextStream in(stdin);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return Cli::run(QCoreApplication::arguments().mid(1), QProcessEnvironment::systemEnvironment(), in, out, err);
}

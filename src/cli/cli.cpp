#include "cli/cli.h"

#include "cli/commands.h"
#include "config/endpoints.h"
#include "config/productinfo.h"
#include "net/networksettings.h"

#include <QString>

namespace Cli {

namespace {

void printUsage(QTextStream &stream)
{
    QString commandLines;
    for (const Command &command : commands())
        commandLines += usageOf(command);
    stream << Config::usageText(u"vorlen360-cli", u"[endpoint options] COMMAND [arguments]", commandLines);
    stream.flush();
}

} // namespace

int run(const QStringList &arguments, const QProcessEnvironment &environment, QTextStream &in, QTextStream &out,
        QTextStream &err)
{
    Config::EndpointOptions options = Config::parseEndpointOptions(arguments, environment);
    if (!options.error.isEmpty() || !options.profileError.isEmpty()) {
        err << (options.error.isEmpty() ? options.profileError : options.error) << '\n';
        err.flush();
        return BadUsage;
    }
    for (const QString &warning : options.warnings)
        err << warning << '\n';
    Net::applySettings(options.endpoints);
    if (options.remaining.isEmpty()) {
        printUsage(err);
        return BadUsage;
    }
    const QString name = options.remaining.takeFirst();
    if (name == u"help" || name == u"--help" || name == u"-h") {
        printUsage(out);
        return Success;
    }
    if (name == u"--version") {
        out << Config::versionLine() << '\n';
        out.flush();
        return Success;
    }
    for (const Command &command : commands()) {
        if (name == QLatin1String(command.name)) {
            const int code = command.run(
                Context{options.remaining, options.endpoints, in, out, err, usageOf(command), options.provenance,
                        options.given});
            out.flush();
            err.flush();
            return code;
        }
    }
    err << "vorlen360-cli: unknown command " << name << '\n';
    printUsage(err);
    return BadUsage;
}

} // namespace Cli

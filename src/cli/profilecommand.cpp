#include "cli/profilecommand.h"

#include "cli/harvestrun.h"
#include "cli/profileverify.h"
#include "config/siteprofile.h"
#include "harvest/keywordrefusal.h"

using namespace Qt::StringLiterals;

namespace Cli {

namespace {

struct ProfileRequest
{
    bool verify = false; // else show
    qint16 page = 0;
    QString keyword; // empty: no search
    QString error;   // empty when the command line is fine
};

ProfileRequest parseRequest(const QStringList &words)
{
    ProfileRequest request;
    const QString action = words.value(0);
    request.verify = action == u"verify";
    const CommandArguments arguments =
        parseCommandArguments(words.mid(1), request.verify ? std::span(kProfileOptions) : std::span<const OptionSpec>());
    if (action != u"show" && !request.verify)
        request.error = u"profile: show or verify"_s;
    else if (!arguments.error.isEmpty())
        request.error = u"profile: "_s + arguments.error;
    else if (!arguments.positional.isEmpty())
        request.error = u"profile: unexpected argument "_s + arguments.positional.first();
    if (!request.error.isEmpty() || !request.verify)
        return request;

    request.error = readPageNumber(arguments, request.page);
    request.keyword = arguments.options.value(u"keyword"_s);
    if (request.error.isEmpty() && arguments.options.contains(u"keyword"_s)
        && !Harvest::keywordRefusal(request.keyword).isEmpty())
        request.error = u"--keyword: at least two characters"_s;
    return request;
}

} // namespace

int runProfile(const Context &context)
{
    const ProfileRequest request = parseRequest(context.arguments);
    if (!request.error.isEmpty())
        return usageError(context, request.error);
    if (!request.verify) {
        context.out << QString::fromUtf8(Config::writeSiteProfile(Config::SiteProfile()));
        return Success;
    }
    return verifyProfile(context.endpoints, request.page, request.keyword, context.out, context.err);
}

} // namespace Cli

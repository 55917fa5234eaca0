#include "config/productinfo.h"

#include "config/endpoints.h"
#include "config/productversion.h"

using namespace Qt::StringLiterals;

namespace Config {

namespace {

constexpr QStringView kProductName = u"Vorlen360云盘资源获取器";

} // namespace

QString productVersion()
{
    return kProductVersion.toString();
}

QString productTitle()
{
    return kProductName + u' ' + kReleaseName + u"【VIP】"_s;
}

QString versionLine()
{
    return kProductName + u' ' + productVersion();
}

QString usageText(QStringView program, QStringView arguments, QStringView commands)
{
    QString text = u"usage: "_s + program + u' ' + arguments + u"\n       "_s + program + u" --version | --help\n"_s;
    if (!commands.isEmpty())
        text += u"\ncommands:\n"_s + commands;
    return text + u"\nendpoint options:\n"_s + endpointOptionsHelp();
}

} // namespace Config

#include "net/productinfo.h"

#include "net/endpoints.h"

using namespace Qt::StringLiterals;

namespace Net {

QString productVersion()
{
    return u"%1.%2.%3"_s.arg(VORLEN_VERSION_MAJOR).arg(VORLEN_VERSION_MINOR).arg(VORLEN_VERSION_PATCH);
}

QString versionLine()
{
    return u"Vorlen360云盘资源获取器 "_s + productVersion();
}

QString usageText(QStringView program, QStringView arguments, QStringView commands)
{
    QString text = u"usage: "_s + program + u' ' + arguments + u"\n       "_s + program + u" --version | --help\n"_s;
    if (!commands.isEmpty())
        text += u"\ncommands:\n"_s + commands;
    return text + u"\nendpoint options:\n"_s + endpointOptionsHelp();
}

} // namespace Net

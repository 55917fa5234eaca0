#include "harvest/exportfile.h"

#include "harvest/resultlist.h"
#include "text/gbk.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace Harvest {

QByteArray exportBlock(const ResultList &list)
{
    QString block;
    for (int row = 0; row < list.rowCount(); ++row)
        block.append(u"\r\n"_s).append(list.entry(row).shareCode);
    block.append(u"\r\n"_s);
    return Text::toGbk(block);
}

ExportResult appendExport(const QString &path, const ResultList &list)
{
    const QByteArray block = exportBlock(list);
    QFile file(path);
    // Unbuffered: the whole block reaches the system as one write in append mode. Opening
    // with NewOnly first tells whether this export creates the file, without a race.
    constexpr QIODevice::OpenMode kAppend = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;
    const bool created = file.open(kAppend | QIODevice::NewOnly);
    if (!created && !file.open(kAppend))
        return {false, file.errorString()};
    const qint64 before = file.size();
    const qint64 written = file.write(block);
    if (written == block.size())
        return {true, {}};

    // A short write (a full disk, a size limit) reports no error of its own.
    const QString reason = written < 0 ? file.errorString()
                                       : u"只写入了 %1 字节中的 %2 字节"_s.arg(block.size()).arg(written);
    if (created)
        file.remove(); // no empty file left behind where there was none
    else
        file.resize(before);
    return {false, reason};
}

} // namespace Harvest

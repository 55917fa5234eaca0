#pragma once

#include <QFile>
#include <QHash>
#include <QList>
#include <QString>

// Reads a known-answer file: "[Group]" lines open a group, "Name = value" lines fill a record,
// a blank line ends it, "#" lines are comments.
namespace VectorFile {

using Record = QHash<QString, QString>;

inline QList<Record> read(const QString &path, const QString &group)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<Record> records;
    QString current;
    Record record;
    const auto flush = [&] {
        if (!record.isEmpty() && current == group)
            records.append(record);
        record.clear();
    };
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(u'\n'))
            line.chop(1);
        if (line.startsWith(u'#'))
            continue;
        if (line.trimmed().isEmpty()) {
            flush();
        } else if (line.startsWith(u'[')) {
            flush();
            current = line.mid(1, line.indexOf(u']') - 1);
        } else {
            const qsizetype equals = line.indexOf(u'=');
            record.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
        }
    }
    flush();
    return records;
}

} // namespace VectorFile

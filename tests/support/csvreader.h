#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Reads CSV as RFC 4180 defines it, on its own terms: records end in CR LF, a field that begins
// with a quote runs to the closing quote with "" standing for one quote, anything else is
// taken as written. nullopt when the text breaks the rules (a stray quote, an unclosed field,
// a bare LF between records).
inline std::optional<QList<QStringList>> readCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    qsizetype i = 0;
    while (i < text.size()) {
        QString field;
        if (text.at(i) == u'"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text.at(i) == u'"') {
                    if (i + 1 < text.size() && text.at(i + 1) == u'"')
                        ++i;
                    else
                        break;
                }
                field.append(text.at(i));
            }
            ++i;
        } else {
            while (i < text.size() && text.at(i) != u',' && text.at(i) != u'\r') {
                if (text.at(i) == u'"' || text.at(i) == u'\n')
                    return std::nullopt;
                field.append(text.at(i++));
            }
        }
        record.append(field);
        if (i < text.size() && text.at(i) == u',') {
            ++i;
            continue;
        }
        if (text.mid(i, 2) != u"\r\n")
            return std::nullopt;
        i += 2;
        records.append(record);
        record.clear();
    }
    return records;
}

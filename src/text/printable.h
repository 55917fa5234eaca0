#pragma once

#include <QString>
#include <QStringView>

namespace Text {

// What becomes of a tab or a line break (CR, LF, CR LF).
enum class LineBreaks {
    ToSpace, // one space each, a CR LF pair one space: the text stays one line and one TSV field
    Kept,    // kept as they are, for a writer that quotes them (CSV)
};

// Appends text with every other control character (C0, DEL, C1: ESC among them) replaced by a
// space, so that printing text from outside sends no escape sequence to a terminal.
void appendPrintable(QString &out, QStringView text, LineBreaks lineBreaks = LineBreaks::ToSpace);

inline QString printable(QStringView text)
{
    QString out;
    appendPrintable(out, text);
    return out;
}

} // namespace Text

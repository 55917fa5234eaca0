#include "text/printable.h"

namespace Text {

void appendPrintable(QString &out, QStringView text, LineBreaks lineBreaks)
{
    out.reserve(out.size() + text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.category() != QChar::Other_Control) {
            out.append(c);
            continue;
        }
        const bool lineBreak = c == u'\t' || c == u'\r' || c == u'\n';
        if (lineBreak && lineBreaks == LineBreaks::Kept) {
            out.append(c);
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // CR LF is one line break: its LF writes the space
        out.append(u' ');
    }
}

} // namespace Text

#pragma once

#include <QString>
#include <QTextStream>

namespace Cli {

// Whether the stream reads from or writes to a terminal (its device a file open on one).
bool isTerminal(QTextStream &stream);

// Shows prompt on err and reads one line of in with the terminal's echo turned off, so what is
// typed is not shown; at most maxLength characters of it are taken.
QString readUnechoedLine(QTextStream &in, QTextStream &err, const QString &prompt, qint64 maxLength);

} // namespace Cli

#pragma once

#include "crypto/fileoutcome.h"

#include <QFile>
#include <QSaveFile>

namespace Crypto {

// Reads up to count bytes, fewer only at the end of the input (a pipe or a FIFO included, whose
// reported size says nothing); -1 on a read error.
qint64 readFull(QIODevice &device, char *data, qint64 count);

// An input read to its end and an output that replaces its file only when it is complete, for
// the streamed file forms: a failure leaves the old output as it was, and an output path that
// is a directory or a read-only file is refused. Each step returns false after noting the file
// and the reason, which outcome() then tells.
class FileStreams
{
public:
    FileStreams(const QString &input, const QString &output);

    bool open();
    // As readFull(), with the failure noted.
    qint64 read(char *data, qint64 count);
    // The whole input, to its end; false on failure.
    bool readAll(QByteArray &bytes);
    bool write(const char *data, qint64 count);
    // Drops everything written so far.
    bool restart();
    bool commit();

    FileOutcome outcome() const;

private:
    bool fail(const QFileDevice &file);

    QFile m_input;
    QSaveFile m_output;
    FileOutcome m_outcome;
};

} // namespace Crypto

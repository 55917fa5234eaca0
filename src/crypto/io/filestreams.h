#pragma once

#include "crypto/io/fileoutcome.h"

#include <QFile>

namespace Crypto {

// Reads up to count bytes, fewer only at the end of the input (a pipe or a FIFO included, whose
// reported size says nothing); -1 on a read error.
qint64 readFull(QIODevice &device, char *data, qint64 count);

// An input read to its end and an output that replaces its file only when it is complete, for
// the streamed file forms: the output is written to a part file beside it and renamed over it
// at the end, so a failure leaves the old output as it was; an output path that is a folder or
// a file that may not be written is refused. Unlike QSaveFile there is no flush to the disk
// before the rename: that wait would double the time of a large conversion. Each step returns
// false after noting the file and the reason, which outcome() then tells.
class FileStreams
{
public:
    FileStreams(const QString &input, const QString &output);
    ~FileStreams();
    FileStreams(const FileStreams &) = delete;
    FileStreams &operator=(const FileStreams &) = delete;

    bool open();
    // As readFull(), with the failure noted.
    qint64 read(char *data, qint64 count);
    // The input's size as the file system tells it: 0 for a pipe, whatever it will carry.
    qint64 inputSize() const;
    bool write(const char *data, qint64 count);
    // Drops everything written so far.
    bool restart();
    bool commit();

    FileOutcome outcome() const;

private:
    bool openPart();
    bool fail(const QString &file, const QString &reason);

    QFile m_input;
    QString m_outputName;
    QString m_partName; // QFile forgets it when opened on a descriptor
    QFile m_part;
    FileOutcome m_outcome;
};

} // namespace Crypto

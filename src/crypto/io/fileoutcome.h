#pragma once

#include <QString>

namespace Crypto {

// What a file form of a quiet cipher class did: whether it wrote its output, and when it did
// not for a reason no message has told, the file that stopped it and why.
struct FileOutcome
{
    bool written = false;
    QString file;   // empty on success and when a shown message gave the reason
    QString reason; // the system's words for the failure

    static FileOutcome success() { return {true, {}, {}}; }
    static FileOutcome failure(const QString &file, const QString &reason) { return {false, file, reason}; }
    // A failure the user has already been told about by a message.
    static FileOutcome told() { return {}; }
};

} // namespace Crypto

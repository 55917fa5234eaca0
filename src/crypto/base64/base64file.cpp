#include "crypto/base64/base64file.h"

#include "crypto/base64/base64kernel.h"
#include "crypto/io/filestreams.h"

#include <cstring>
#include <vector>

namespace Crypto::Base64File {

namespace {

// Number of "=" that end the group at group[0..4): the decoded bytes they stand for are padding.
int paddingCount(const char *group)
{
    return group[3] != '=' ? 0 : group[2] != '=' ? 1 : 2;
}

} // namespace

FileOutcome encode(const QString &plainFile, const QString &base64File, qint64 chunkBytes)
{
    FileStreams files(plainFile, base64File);
    if (!files.open())
        return files.outcome();
    std::vector<unsigned char> plain(static_cast<std::size_t>(chunkBytes));
    std::vector<char> text(Base64Kernel::encodedSize(plain.size()));
    for (;;) {
        const qint64 got = files.read(reinterpret_cast<char *>(plain.data()), chunkBytes);
        if (got < 0)
            return files.outcome();
        // A full chunk is a multiple of three bytes: padding can only come with the last one.
        Base64Kernel::encode(plain.data(), std::size_t(got), text.data());
        if (!files.write(text.data(), qint64(Base64Kernel::encodedSize(std::size_t(got)))))
            return files.outcome();
        if (got < chunkBytes)
            break;
    }
    files.commit();
    return files.outcome();
}

FileOutcome decode(const QString &plainFile, const QString &base64File, qint64 chunkBytes)
{
    FileStreams files(base64File, plainFile);
    if (!files.open())
        return files.outcome();
    // The last whole group of a chunk waits for the next one: only the file's last group may
    // hold padding, and only the end tells which group is last.
    std::vector<char> text(static_cast<std::size_t>(chunkBytes) + 8);
    std::vector<unsigned char> plain(text.size() / 4 * 3);
    qint64 carried = 0;
    for (;;) {
        const qint64 wanted = chunkBytes;
        const qint64 got = files.read(text.data() + carried, wanted);
        if (got < 0)
            return files.outcome();
        const qint64 available = carried + got;
        const bool atEnd = got < wanted;
        const qint64 tail = available % 4;
        if (atEnd && (tail == 2 || tail == 3)) {
            if (!files.restart())
                return files.outcome();
            break;
        }
        const qint64 groups = available / 4 - (atEnd ? 0 : 1);
        const auto *in = reinterpret_cast<const unsigned char *>(text.data());
        Base64Kernel::decodeGroups(in, std::size_t(groups), plain.data());
        const qint64 padding = atEnd && groups > 0 ? paddingCount(text.data() + 4 * (groups - 1)) : 0;
        if (!files.write(reinterpret_cast<const char *>(plain.data()), 3 * groups - padding))
            return files.outcome();
        if (atEnd)
            break;
        carried = available - 4 * groups;
        std::memmove(text.data(), text.data() + 4 * groups, std::size_t(carried));
    }
    files.commit();
    return files.outcome();
}

} // namespace Crypto::Base64File

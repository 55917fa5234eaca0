#pragma once

#include <QSaveFile>
#include <QString>

#include <memory>

namespace Crawl {

// A crawl's output file, written safely: everything goes to a temporary file beside the target,
// which commit() renames over it. Until then, and for good when the object goes without a
// commit, the target stays as it was. Appending copies the target's content into the temporary
// file first, so even an appending crawl that dies leaves the old file whole.
class OutputFile
{
public:
    // Opens the temporary file; returns why it could not, or the empty text.
    QString open(const QString &path, bool append);

    // Whether the output starts empty: no target, an empty one, or not appending.
    bool startsEmpty() const { return m_startsEmpty; }

    // Writes text as UTF-8 and hands it to the system at once; false when that failed.
    bool write(const QString &text);

    // Replaces the target with what was written; false (target untouched) when that failed.
    bool commit();

    QString errorString() const;

private:
    std::unique_ptr<QSaveFile> m_file;
    bool m_startsEmpty = true;
};

} // namespace Crawl

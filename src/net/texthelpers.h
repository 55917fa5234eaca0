#pragma once

#include <QString>
#include <QStringView>

namespace Net {

// Percent-encodes every GBK byte of input, letters and digits included: "ab" -> "%61%62".
QString GBKEncodeURI(QStringView input);

// Replaces every non-overlapping match of pattern in source, case-insensitively, from left to
// right. A malformed pattern leaves source as it is.
QString preg(const QString &source, const QString &pattern, const QString &replacement);

// The folder of a well-known kind. The only one asked for is 33, the HTTP client's cookie
// folder; this program keeps its cookies in memory, so every identifier gives the empty text.
QString GetSpecialFolder(int folderId);

} // namespace Net

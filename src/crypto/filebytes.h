#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// Whole-file reads and writes for the cipher classes' file forms.
namespace Crypto {

// The file's whole content, or nullopt when it cannot be opened or read.
std::optional<QByteArray> readFileBytes(const QString &fileName);

// Replaces the file's content by bytes (an existing file is emptied first); false on failure.
bool writeFileBytes(const QString &fileName, QByteArrayView bytes);

} // namespace Crypto

#pragma once

#include <QByteArrayView>

namespace Login {

// The format of an avatar picture told by its first bytes: "JPEG", "GIF", "PNG" or "BMP", the
// names Qt's image readers take; nullptr for anything else. Only these four are decoded, so
// bytes from the network never reach the other installed decoders.
const char *pictureFormat(QByteArrayView bytes);

} // namespace Login

#pragma once

#include <QString>
#include <QStringView>

namespace Text {

// Percent-encodes every GBK byte of input, letters and digits included: "ab" -> "%61%62".
QString percentEncodeGbk(QStringView input);

} // namespace Text

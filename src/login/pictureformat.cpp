#include "login/pictureformat.h"

#include <array>

namespace Login {

const char *pictureFormat(QByteArrayView bytes)
{
    struct Magic
    {
        QByteArrayView start;
        const char *format;
    };
    static constexpr std::array<Magic, 5> kMagics{
        {{"\xFF\xD8\xFF", "JPEG"}, {"GIF87a", "GIF"}, {"GIF89a", "GIF"}, {"\x89PNG\r\n\x1A\n", "PNG"}, {"BM", "BMP"}}};
    for (const Magic &magic : kMagics) {
        if (bytes.startsWith(magic.start))
            return magic.format;
    }
    return nullptr;
}

} // namespace Login

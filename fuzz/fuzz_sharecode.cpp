// The share-code cut of any detail page: no removed character ever survives in a code.
#include "harvest/sharecode.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString page = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<QString> code = Harvest::cutShareCode(page, u"http://127.0.0.1:8360/yunpan/");
    if (code) {
        for (const QChar c : *code) {
            if (c == u'"' || c == u'?' || c == u'\u8E0B' || c == u'\u9273')
                std::abort();
        }
    }
    return 0;
}

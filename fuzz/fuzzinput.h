#pragma once

#include "crypto/messagesink.h"

#include <QString>

#include <cstddef>
#include <cstdint>

// Fuzz input as UTF-16 code units (two bytes each, a last odd byte dropped), so that every code
// unit, surrogates and U+0000 included, can reach the reader.
inline QString fuzzText(const std::uint8_t *data, std::size_t size)
{
    return QString(reinterpret_cast<const QChar *>(data), static_cast<qsizetype>(size / 2));
}

// The cipher classes' messages are expected outcomes here; keep them quiet.
inline void silenceCipherMessages()
{
    static const bool once = [] {
        Crypto::setMessageSink([](const QString &, Crypto::MessageSeverity) {});
        return true;
    }();
    (void)once;
}

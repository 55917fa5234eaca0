#include "net/charsetprescan.h"

#include <QList>
#include <QStringDecoder>

#include <optional>

using namespace Qt::StringLiterals;

namespace Net {

namespace {

constexpr qsizetype kPrescanLength = 1024; // what browsers look at before they give up

bool isSpace(char c)
{
    return c == 0x09 || c == 0x0A || c == 0x0C || c == 0x0D || c == 0x20;
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool startsWithNoCase(QByteArrayView bytes, qsizetype at, QByteArrayView prefix)
{
    return bytes.size() - at >= prefix.size() && qstrnicmp(bytes.data() + at, prefix.size(), prefix.data(), prefix.size()) == 0;
}

qsizetype skipSpaces(QByteArrayView bytes, qsizetype at)
{
    while (at < bytes.size() && isSpace(bytes[at]))
        ++at;
    return at;
}

// A set in which the ASCII of its own declaration reads differently (UTF-16, UTF-32 and kin).
bool readsAsciiAsIs(const QByteArray &name)
{
    static const QByteArray sample = QByteArrayLiteral("<meta charset=\"x\">");
    QStringDecoder decoder(name.constData());
    const QString text = decoder.decode(sample);
    return text == QLatin1StringView(sample);
}

struct Attribute
{
    QByteArray name;
    QByteArray value;
};

// Walks the bytes as the prescan does; m_at is the position the steps speak of.
class Prescan
{
public:
    explicit Prescan(QByteArrayView bytes)
        : m_bytes(bytes.first(std::min(bytes.size(), kPrescanLength)))
    {
    }

    QByteArray run()
    {
        for (; m_at < m_bytes.size(); ++m_at) {
            if (startsWithNoCase(m_bytes, m_at, "<!--")) {
                const qsizetype end = m_bytes.indexOf("-->", m_at + 2); // "<!-->" is a whole comment
                if (end < 0)
                    return {};
                m_at = end + 2;
            } else if (startsWithNoCase(m_bytes, m_at, "<meta") && m_at + 5 < m_bytes.size()
                       && (isSpace(m_bytes[m_at + 5]) || m_bytes[m_at + 5] == '/')) {
                m_at += 5;
                const QByteArray charset = metaCharset();
                if (!charset.isEmpty())
                    return charset;
            } else if (startsTag()) {
                while (m_at < m_bytes.size() && !isSpace(m_bytes[m_at]) && m_bytes[m_at] != '>')
                    ++m_at;
                while (nextAttribute()) {}
            } else if (startsWithNoCase(m_bytes, m_at, "<!") || startsWithNoCase(m_bytes, m_at, "</")
                       || startsWithNoCase(m_bytes, m_at, "<?")) {
                m_at = m_bytes.indexOf('>', m_at + 1);
                if (m_at < 0)
                    return {};
            }
        }
        return {};
    }

private:
    // "<" or "</" and a letter: an element whose attributes are skipped with the same rules.
    bool startsTag() const
    {
        if (m_bytes[m_at] != '<')
            return false;
        const qsizetype letter = m_at + (m_at + 1 < m_bytes.size() && m_bytes[m_at + 1] == '/' ? 2 : 1);
        return letter < m_bytes.size() && isLetter(m_bytes[letter]);
    }

    // The attributes of a <meta> element; the charset it declares, if it declares one that counts.
    QByteArray metaCharset()
    {
        QList<QByteArray> seen;
        bool gotPragma = false;
        std::optional<bool> needPragma;
        std::optional<QByteArray> charset; // empty: a set this program does not know
        while (const std::optional<Attribute> attribute = nextAttribute()) {
            if (seen.contains(attribute->name))
                continue;
            seen.append(attribute->name);
            if (attribute->name == "http-equiv") {
                gotPragma = gotPragma || attribute->value == "content-type";
            } else if (attribute->name == "content") {
                const QByteArray declared = knownCharset(charsetParameter(attribute->value));
                if (!declared.isEmpty() && !charset) {
                    charset = declared;
                    needPragma = true;
                }
            } else if (attribute->name == "charset") {
                charset = knownCharset(attribute->value);
                needPragma = false;
            }
        }
        if (!needPragma || (*needPragma && !gotPragma) || !charset || charset->isEmpty())
            return {};
        return readsAsciiAsIs(*charset) ? *charset : "utf-8"_ba;
    }

    // One attribute from m_at on, names and values in lower case; nullopt at ">" or the end.
    std::optional<Attribute> nextAttribute()
    {
        while (m_at < m_bytes.size() && (isSpace(m_bytes[m_at]) || m_bytes[m_at] == '/'))
            ++m_at;
        if (m_at >= m_bytes.size() || m_bytes[m_at] == '>')
            return std::nullopt;

        Attribute attribute;
        for (;; ++m_at) {
            if (m_at >= m_bytes.size())
                return std::nullopt;
            const char c = m_bytes[m_at];
            if (c == '=' && !attribute.name.isEmpty())
                break;
            if (isSpace(c)) {
                m_at = skipSpaces(m_bytes, m_at);
                if (m_at >= m_bytes.size())
                    return std::nullopt;
                if (m_bytes[m_at] != '=')
                    return attribute;
                break;
            }
            if (c == '/' || c == '>')
                return attribute;
            attribute.name += lower(c);
        }

        m_at = skipSpaces(m_bytes, m_at + 1); // past "="
        if (m_at >= m_bytes.size())
            return std::nullopt;
        const char quote = m_bytes[m_at];
        if (quote == '"' || quote == '\'') {
            for (++m_at; m_at < m_bytes.size(); ++m_at) {
                if (m_bytes[m_at] == quote) {
                    ++m_at;
                    return attribute;
                }
                attribute.value += lower(m_bytes[m_at]);
            }
            return std::nullopt;
        }
        if (quote == '>')
            return attribute;
        for (; m_at < m_bytes.size(); ++m_at) {
            if (isSpace(m_bytes[m_at]) || m_bytes[m_at] == '>')
                return attribute;
            attribute.value += lower(m_bytes[m_at]);
        }
        return std::nullopt;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

} // namespace

QByteArray charsetParameter(QByteArrayView contentType)
{
    for (qsizetype at = 0; at + 7 <= contentType.size(); ++at) {
        if (!startsWithNoCase(contentType, at, "charset"))
            continue;
        qsizetype value = skipSpaces(contentType, at + 7);
        if (value >= contentType.size() || contentType[value] != '=')
            continue; // "charset" without "=": look further on
        value = skipSpaces(contentType, value + 1);
        if (value >= contentType.size())
            return {};
        const char quote = contentType[value];
        if (quote == '"' || quote == '\'') {
            const qsizetype close = contentType.indexOf(quote, value + 1);
            return close < 0 ? QByteArray() : contentType.sliced(value + 1, close - value - 1).toByteArray().toLower();
        }
        qsizetype end = value;
        while (end < contentType.size() && !isSpace(contentType[end]) && contentType[end] != ';')
            ++end;
        return contentType.sliced(value, end - value).toByteArray().toLower();
    }
    return {};
}

QByteArray knownCharset(QByteArrayView name)
{
    const QByteArray trimmed = name.trimmed().toByteArray().toLower();
    if (trimmed.isEmpty())
        return {};
    return QStringDecoder(trimmed.constData()).isValid() ? trimmed : QByteArray();
}

QByteArray prescanCharset(QByteArrayView page)
{
    return Prescan(page).run();
}

} // namespace Net

#include "login/loginini.h"

#include "text/gbk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>

#include <optional>

using namespace Qt::StringLiterals;

namespace Login {

namespace {

// The profile read hands back at most this many bytes of a value.
constexpr qsizetype kValueBytes = 254;
// A login.ini holds a few short lines; nothing larger is one.
constexpr qint64 kLargestFile = 1 << 20;

struct Line
{
    QByteArray bytes; // with its line end, if it has one
    QString text;     // without the line end, decoded
};

QList<Line> splitLines(const QByteArray &content)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        end = end < 0 ? content.size() : end + 1;
        const QByteArray bytes = content.mid(start, end - start);
        QByteArrayView body(bytes);
        while (body.endsWith('\n') || body.endsWith('\r'))
            body.chop(1);
        lines.append({bytes, Text::fromGbk(body)});
        start = end;
    }
    return lines;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QString> sectionName(const QString &text)
{
    const QString line = text.trimmed();
    if (!line.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = line.indexOf(u']');
    return line.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool sameName(const QString &a, QStringView b)
{
    return QStringView(a).compare(b, Qt::CaseInsensitive) == 0;
}

// The key of a "key=value" line, or nullopt when the line has no "=".
std::optional<QString> keyName(const QString &text)
{
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return std::nullopt;
    return text.left(equals).trimmed();
}

QString unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// value as it stands after "=": in quotes where the reader would otherwise trim or unquote it.
QString storedForm(QStringView value)
{
    const QString text = value.toString();
    return unquote(text) == text ? text : u'"' + text + u'"';
}

// The file's bytes; empty when there is no file. nullopt for anything but a regular file of at
// most kLargestFile bytes: a FIFO would block the window, a device or a huge file fill the memory.
std::optional<QByteArray> readContent(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    QFile file(path);
    if (!info.isFile() || info.size() > kLargestFile || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray content = file.read(kLargestFile + 1); // it may have grown since
    if (content.size() > kLargestFile)
        return std::nullopt;
    return content;
}

// The first kValueBytes bytes of bytes, without a lead byte whose partner was cut off.
QByteArray cutToValueLimit(const QByteArray &bytes)
{
    if (bytes.size() <= kValueBytes)
        return bytes;
    qsizetype end = 0;
    while (end < kValueBytes) {
        const auto byte = static_cast<unsigned char>(bytes[end]);
        const qsizetype width = (byte >= 0x81 && byte <= 0xFE) ? 2 : 1;
        if (end + width > kValueBytes)
            break;
        end += width;
    }
    return bytes.left(end);
}

// The indexes of section's lines after its header: [first, last); first is -1 when the file
// has no such section.
struct SectionSpan
{
    qsizetype first = -1;
    qsizetype last = -1;
};

SectionSpan findSection(const QList<Line> &lines, QStringView section)
{
    SectionSpan span;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const std::optional<QString> name = sectionName(lines[i].text);
        if (!name)
            continue;
        if (span.first >= 0) {
            span.last = i;
            return span;
        }
        if (sameName(*name, section))
            span.first = i + 1;
    }
    if (span.first >= 0)
        span.last = lines.size();
    return span;
}

qsizetype findKey(const QList<Line> &lines, SectionSpan span, QStringView key)
{
    for (qsizetype i = span.first; i < span.last; ++i) {
        const std::optional<QString> name = keyName(lines[i].text);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

QByteArray ensureLineEnd(QByteArray bytes)
{
    if (!bytes.isEmpty() && !bytes.endsWith('\n'))
        bytes += "\r\n";
    return bytes;
}

} // namespace

LoginIni::LoginIni(QString path) : m_path(std::move(path)) {}

QString LoginIni::read(QStringView section, QStringView key, ValueKind kind) const
{
    const std::optional<QByteArray> content = readContent(m_path);
    if (!content)
        return {};
    const QList<Line> lines = splitLines(*content);
    const SectionSpan span = findSection(lines, section);
    if (span.first < 0)
        return {};
    const qsizetype at = findKey(lines, span, key);
    if (at < 0)
        return {};
    const QString &text = lines[at].text;
    const QString value = unquote(text.mid(text.indexOf(u'=') + 1));
    return kind == ValueKind::Secret ? value : Text::fromGbk(cutToValueLimit(Text::toGbk(value)));
}

bool LoginIni::keepsWhole(QStringView value, ValueKind kind)
{
    if (value.contains(u'\r') || value.contains(u'\n') || value.contains(QChar(0)))
        return false;
    const QByteArray bytes = Text::toGbk(value);
    return Text::fromGbk(bytes) == value && (kind == ValueKind::Secret || bytes.size() <= kValueBytes);
}

bool LoginIni::write(QStringView section, QStringView key, QStringView value, ValueKind kind) const
{
    const bool isNew = !QFileInfo::exists(m_path);
    const std::optional<QByteArray> existing = readContent(m_path);
    if (!existing || !keepsWhole(value, kind))
        return false;
    QList<Line> lines = splitLines(*existing);

    const QByteArray keyLine = Text::toGbk(key) + '=' + Text::toGbk(storedForm(value)) + "\r\n";
    const SectionSpan span = findSection(lines, section);
    if (span.first < 0) {
        if (!lines.isEmpty())
            lines.back().bytes = ensureLineEnd(lines.back().bytes);
        lines.append({"["_ba + Text::toGbk(section) + "]\r\n", {}});
        lines.append({keyLine, {}});
    } else if (const qsizetype at = findKey(lines, span, key); at >= 0) {
        lines[at].bytes = keyLine;
    } else {
        // After the section's last non-blank line, so the blank line before the next section stays.
        qsizetype after = span.first;
        for (qsizetype i = span.first; i < span.last; ++i) {
            if (!lines[i].text.trimmed().isEmpty())
                after = i + 1;
        }
        if (after > 0)
            lines[after - 1].bytes = ensureLineEnd(lines[after - 1].bytes);
        lines.insert(after, {keyLine, {}});
    }

    QByteArray content;
    for (const Line &line : std::as_const(lines))
        content += line.bytes;
    if (content.size() > kLargestFile)
        return false; // it could not be read back

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // It holds a password, or is about to.
    if (isNew || (kind == ValueKind::Secret && !value.isEmpty()))
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(content) == content.size() && file.commit();
}

} // namespace Login

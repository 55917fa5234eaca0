// login.ini from any bytes: every key reads as at most 254 GBK bytes, the start of its whole
// value; writing one key either stores a value that reads back exactly, leaving every other key's
// value as it was, or, for a value that would not read back (keepsWhole), leaves the file alone.
// Input: one selector byte, the value to write (GBK) up to the first zero byte, then the file.
#include "login/loginini.h"
#include "text/gbk.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kValueBytes = 254;
constexpr qsizetype kMaxNames = 8; // bounds the section x key reads per input
constexpr std::size_t kLargestInput = 1 << 16; // far below the file limit of 1 MiB

// A name the file can hold as written: it survives GBK, has no line break, no "=" and, for a
// section, no "]"; a key must not read as a section header.
bool writable(const QString &name, bool section)
{
    return !name.isEmpty() && name == name.trimmed() && Text::fromGbk(Text::toGbk(name)) == name
        && !name.contains(u'\n') && !name.contains(u'\r') && !name.contains(u'=') && !name.contains(u'\0')
        && (section ? !name.contains(u']') && !name.contains(u'[') : !name.startsWith(u'['));
}

struct Names
{
    QStringList sections;
    QStringList keys;
};

// Candidate section and key names, read loosely from the lines: whatever the reader makes of them,
// a name it does not find reads as empty before and after the write alike.
Names candidateNames(const QByteArray &content)
{
    Names names;
    for (const QByteArray &bytes : content.split('\n')) {
        const QString line = Text::fromGbk(bytes).trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
            if (names.sections.size() < kMaxNames && !names.sections.contains(name, Qt::CaseInsensitive))
                names.sections.append(name);
        } else if (const qsizetype equals = line.indexOf(u'='); equals >= 0) {
            const QString name = line.left(equals).trimmed();
            if (names.keys.size() < kMaxNames && !names.keys.contains(name, Qt::CaseInsensitive))
                names.keys.append(name);
        }
    }
    return names;
}

QString pick(const QStringList &names, unsigned selector, bool section, const QString &fallback)
{
    const QString &name = names.isEmpty() ? fallback : names.at(selector % names.size());
    return writable(name, section) ? name : fallback;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    if (size == 0 || size > kLargestInput || !dir.isValid())
        return 0;
    const QByteArray input(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const qsizetype zero = input.indexOf('\0');
    const QByteArray content = zero < 0 ? input : input.sliced(zero + 1);
    const QString value = Text::fromGbk(zero < 0 ? QByteArray() : input.first(zero));

    const QString path = dir.filePath(u"login.ini"_s);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
            std::abort();
    }
    const Login::LoginIni ini(path);
    const Names names = candidateNames(content);
    QList<QStringList> before;
    for (const QString &section : names.sections) {
        QStringList values;
        for (const QString &key : names.keys) {
            values.append(ini.read(section, key));
            const QByteArray cut = Text::toGbk(values.back());
            if (cut.size() > kValueBytes
                || !Text::toGbk(ini.read(section, key, Login::LoginIni::ValueKind::Secret)).startsWith(cut))
                std::abort();
        }
        before.append(values);
    }

    const QString section = pick(names.sections, data[0] & 0x0F, true, u"Login"_s);
    const QString key = pick(names.keys, data[0] >> 4, false, u"User"_s);
    const bool written = ini.write(section, key, value);
    if (written != Login::LoginIni::keepsWhole(value, Login::LoginIni::ValueKind::Profile)
        || (written && ini.read(section, key) != value))
        std::abort();
    for (qsizetype s = 0; s < names.sections.size(); ++s) {
        for (qsizetype k = 0; k < names.keys.size(); ++k) {
            const bool changed = written && names.sections[s].compare(section, Qt::CaseInsensitive) == 0
                && names.keys[k].compare(key, Qt::CaseInsensitive) == 0;
            if (!changed && ini.read(names.sections[s], names.keys[k]) != before[s][k])
                std::abort();
        }
    }
    return 0;
}

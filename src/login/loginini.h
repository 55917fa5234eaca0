#pragma once

#include <QString>
#include <QStringView>

// login.ini as the Windows profile functions read and write it: GBK bytes, CR LF line ends,
// "[section]" headers and "key=value" lines, section and key names matched without regard to
// letter case. A file written by either platform reads the same on the other. Only a regular
// file of at most 1 MiB is read (a link is followed to one); anything else reads as empty and
// is not written.
namespace Login {

class LoginIni
{
public:
    enum class ValueKind {
        Profile, // read as the profile functions read it: cut to its first 254 GBK bytes
        Secret,  // the program's own enciphered text: read whole; a file given one is its owner's alone
    };

    explicit LoginIni(QString path);

    // The value of key in section, spaces around it and one pair of enclosing quotes removed,
    // cut as kind says. A missing or unreadable file, section or key reads as the empty text.
    QString read(QStringView section, QStringView key, ValueKind kind = ValueKind::Profile) const;

    // Whether read() gives value back exactly once written: no line break or NUL in it, every
    // character in GBK, and for a Profile value at most 254 GBK bytes.
    static bool keepsWhole(QStringView value, ValueKind kind);

    // Sets key in section to value, in quotes when spaces at its ends or quotes around it would
    // otherwise be lost. The first matching key line is replaced; a missing key is added after
    // the section's last line, a missing section at the end of the file. Every other byte of the
    // file stays where it was. A new file, and one given a non-empty Secret, is readable by its
    // owner alone. Returns false, the file untouched, when value does not keep whole or the file
    // cannot be read or replaced.
    bool write(QStringView section, QStringView key, QStringView value, ValueKind kind = ValueKind::Profile) const;

private:
    QString m_path;
};

} // namespace Login

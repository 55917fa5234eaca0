#pragma once

#include <QString>
#include <QStringView>

// login.ini as the Windows profile functions read and write it: GBK bytes, CR LF line ends,
// "[section]" headers and "key=value" lines, section and key names matched without regard to
// letter case. A file written by either platform reads the same on the other.
namespace Login {

class LoginIni
{
public:
    explicit LoginIni(QString path);

    // The value of key in section, spaces around it and one pair of enclosing quotes removed,
    // cut to its first 254 GBK bytes. A missing file, section or key reads as the empty text.
    QString read(QStringView section, QStringView key) const;

    // Sets key in section to value. The first matching key line is replaced; a missing key is
    // added after the section's last line, a missing section at the end of the file. Every other
    // byte of the file stays where it was. A new file is readable by its owner alone. Returns
    // false, the file untouched, when it cannot be read or replaced.
    bool write(QStringView section, QStringView key, QStringView value) const;

private:
    QString m_path;
};

} // namespace Login

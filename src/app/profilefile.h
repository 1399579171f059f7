#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// One INI file read and written one key at a time, the way the platform's profile routines do it:
// "[Section]" lines followed by "key=value" lines, section and key names compared without regard to
// case and with blanks around them ignored (so "Port Number" is one key), values trimmed of blanks.
// Lines starting with ';' or '#' are comments. Where a section or a key appears twice, the first one
// counts, for reading and for writing alike.
//
// Writing changes only the one line of the key (or adds it at the end of its section, or adds the
// section at the end of the file) and keeps every other byte: other sections and keys, comments, key
// order, blank lines and each line's own ending. New lines take the file's line ending (CR LF when the
// file has one, LF when only LF, the platform's own in a new file). The file and its folder are created
// when missing, and the new content replaces the old one only once it is completely written.
class TProfileFile
{
public:
    explicit TProfileFile(QString path);

    const QString &Path() const { return m_path; }

    // The trimmed value of the key, or no value when the file, the section or the key is missing or
    // the file cannot be read. An empty value ("Key=") is an empty string.
    std::optional<QString> ReadValue(const QString &section, const QString &key) const;

    // Writes "key=value" into the section. False, with nothing changed, when the file cannot be read or
    // written, or when a name or the value could not be stored on one line (a line break in any of them,
    // a '=' or a leading '[' in the key, a ']' in the section, an empty key or section).
    bool WriteValue(const QString &section, const QString &key, const QString &value);

    // The value of the key in a file content, as ReadValue reads it.
    static std::optional<QString> ValueIn(const QByteArray &content, const QString &section,
                                          const QString &key);

    // The file content with one key set, as WriteValue would write it; public for the tests of the
    // layout rules. No value for names or values that cannot be stored (see WriteValue).
    static std::optional<QByteArray> WithValue(const QByteArray &content, const QString &section,
                                               const QString &key, const QString &value);

private:
    QString m_path;
};

#pragma once
// Writes ZIP archives for the archive tests, with control over what real
// archives vary in: raw name bytes, the UTF-8 flag, stored or deflated data,
// Unix symbolic links, and the DOS date.
#include <QByteArray>
#include <QList>
#include <QString>

namespace tz::test {

struct ZipEntry {
    QByteArray name;
    QByteArray data;
    bool utf8Flag = false;
    bool stored = false; // method 0, so the data can be patched in place
    bool symlink = false; // data is the link target
};

// The DOS date of every entry: 2001-02-03 04:05:06.
bool WriteZip(const QString& path, const QList<ZipEntry>& entries);

// Writes a ZIP named name into folder, replacing an older one; its path.
// A test fixture that cannot be written ends the test program.
QString GeneratedZip(const QString& folder, const QString& name, const QList<ZipEntry>& entries);

// Overwrites the 4-byte little-endian field at offset bytes after every
// occurrence of signature (e.g. "PK\1\2" and 24: the recorded size).
bool PatchZipField(const QString& path, const QByteArray& signature, int offset, quint32 value);

} // namespace tz::test

#include <QMetaType>
Q_DECLARE_METATYPE(tz::test::ZipEntry)

#include "ArchiveZipWriter.h"

#include <QFile>
#include <QtEndian>
#include <sys/stat.h>
#include <zip.h>

namespace tz::test {

bool WriteZip(const QString& path, const QList<ZipEntry>& entries)
{
    zipFile zip = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    bool ok = true;
    for (const ZipEntry& entry : entries) {
        zip_fileinfo info {};
        info.tmz_date = { 6, 5, 4, 3, 1, 2001 };
        constexpr uLong kMadeOnUnix = 3 << 8;
        info.external_fa = uLong(entry.symlink ? (S_IFLNK | 0777) : (S_IFREG | 0644)) << 16;
        ok = ok
            && zipOpenNewFileInZip4_64(zip, entry.name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                   entry.stored ? 0 : Z_DEFLATED, entry.stored ? 0 : 9, 0, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY, nullptr,
                   0, kMadeOnUnix | 20, entry.utf8Flag ? (1 << 11) : 0, 0)
                == ZIP_OK
            && zipWriteInFileInZip(zip, entry.data.constData(), unsigned(entry.data.size())) == ZIP_OK
            && zipCloseFileInZip(zip) == ZIP_OK;
    }
    return zipClose(zip, nullptr) == ZIP_OK && ok;
}

bool PatchZipField(const QString& path, const QByteArray& signature, int offset, quint32 value)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    bool patched = false;
    for (qsizetype at = bytes.indexOf(signature); at >= 0; at = bytes.indexOf(signature, at + 1)) {
        if (bytes.size() - at - offset < 4)
            break;
        qToLittleEndian(value, bytes.data() + at + offset);
        patched = true;
    }
    file.seek(0);
    return patched && file.write(bytes) == bytes.size();
}

QString GeneratedZip(const QString& folder, const QString& name, const QList<ZipEntry>& entries)
{
    const QString path = folder + u'/' + name;
    QFile::remove(path);
    if (!WriteZip(path, entries))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace tz::test

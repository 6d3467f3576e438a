#include "WiderArchives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

namespace tz::test {

namespace {

    QString ToolFor(const QString& archive)
    {
        return archive.endsWith(QStringLiteral(".7z")) ? QStringLiteral("7z") : QStringLiteral("tar");
    }

    // tar's option for the compression the name asks for.
    QString TarCompression(const QString& archive)
    {
        if (archive.endsWith(QStringLiteral(".gz")) || archive.endsWith(QStringLiteral(".tgz")))
            return QStringLiteral("-z");
        if (archive.endsWith(QStringLiteral(".bz2")))
            return QStringLiteral("-j");
        if (archive.endsWith(QStringLiteral(".xz")))
            return QStringLiteral("-J");
        return {};
    }

    void PutU16(QByteArray& bytes, quint16 value)
    {
        char le[2];
        qToLittleEndian(value, le);
        bytes.append(le, 2);
    }
    void PutU32(QByteArray& bytes, quint32 value)
    {
        char le[4];
        qToLittleEndian(value, le);
        bytes.append(le, 4);
    }
    quint32 Crc32(const QByteArray& bytes)
    {
        return quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
    }

    // A block: its CRC (the low 16 bits of the CRC-32 of everything after
    // it), then type, flags, size and the fields.
    QByteArray Block(quint8 type, quint16 flags, const QByteArray& fields)
    {
        QByteArray body;
        body.append(char(type));
        PutU16(body, flags);
        PutU16(body, quint16(2 + body.size() + 2 + fields.size()));
        body += fields;
        QByteArray block;
        PutU16(block, quint16(Crc32(body) & 0xFFFF));
        return block + body;
    }

} // namespace

bool HasPackingTool(const QString& archive) { return !QStandardPaths::findExecutable(ToolFor(archive)).isEmpty(); }

bool PackWithTool(const QString& archive, const QList<ArchivedFile>& files)
{
    if (!HasPackingTool(archive))
        return false;
    // Names are written as their bytes (a CP932 name is no text here), so the
    // tools get them from the shell's "*", never as arguments of their own.
    QTemporaryDir source;
    for (const ArchivedFile& file : files) {
        const qsizetype slash = file.name.lastIndexOf('/');
        if (slash > 0 && !QDir(source.path()).mkpath(QString::fromLatin1(file.name.left(slash))))
            return false;
        const QByteArray path = QFile::encodeName(source.path()) + '/' + file.name;
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const bool written = fd >= 0 && ::write(fd, file.data.constData(), size_t(file.data.size())) == file.data.size();
        if (fd >= 0)
            ::close(fd);
        if (!written)
            return false;
    }
    QFile::remove(archive);
    QProcess tool;
    tool.setWorkingDirectory(source.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    tool.setProcessEnvironment(environment);
    const QString command = ToolFor(archive) == u"7z"
        ? QStringLiteral("exec 7z a -bd \"$0\" *")
        : QStringLiteral("exec tar -c %1 -f \"$0\" *").arg(TarCompression(archive));
    tool.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), command, QFileInfo(archive).absoluteFilePath() });
    return tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QByteArray StoredRar(const QList<ArchivedFile>& files)
{
    constexpr quint8 kArchiveHeader = 0x73, kFileHeader = 0x74, kEnd = 0x7B;
    constexpr quint16 kLongBlock = 0x8000; // the data follows the header
    constexpr quint16 kEndFlags = 0x4000;
    constexpr quint8 kWindows = 2, kVersion20 = 20, kStored = 0x30;
    constexpr quint32 kArchiveAttribute = 0x20;
    // 2001-02-03 04:05:06
    constexpr quint32 kDosTime = (21u << 25) | (2u << 21) | (3u << 16) | (4u << 11) | (5u << 5) | 3u;

    QByteArray rar("Rar!\x1a\x07\x00", 7);
    rar += Block(kArchiveHeader, 0, QByteArray(6, '\0'));
    for (const ArchivedFile& file : files) {
        QByteArray fields;
        PutU32(fields, quint32(file.data.size())); // packed size
        PutU32(fields, quint32(file.data.size())); // unpacked size
        fields.append(char(kWindows));
        PutU32(fields, Crc32(file.data));
        PutU32(fields, kDosTime);
        fields.append(char(kVersion20));
        fields.append(char(kStored));
        PutU16(fields, quint16(file.name.size()));
        PutU32(fields, kArchiveAttribute);
        fields += QByteArray(file.name).replace('/', '\\');
        rar += Block(kFileHeader, kLongBlock, fields) + file.data;
    }
    return rar + Block(kEnd, kEndFlags, {});
}

} // namespace tz::test

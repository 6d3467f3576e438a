#pragma once
// The font file functions read files by path: each input is written to a
// file in a folder of the fuzzer's own, removed at exit.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdint>
#include <cstdlib>

namespace tz::fuzz {

inline const QString& FuzzFolder()
{
    static const QString folder = [] {
        QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tzfuzzXXXXXX"));
        if (!mkdtemp(pattern.data()))
            std::abort();
        static QString removeAtExit;
        removeAtExit = QFile::decodeName(pattern);
        std::atexit([] { QDir(removeAtExit).removeRecursively(); });
        return removeAtExit;
    }();
    return folder;
}

inline QString WriteInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzFolder() + QStringLiteral("/input.ttf");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        std::abort();
    return path;
}

} // namespace tz::fuzz

#include "archive/ExtractionBound.h"

#include "archive/ArchiveLog.h"

#include <QFile>
#include <sys/statvfs.h>

namespace tz {

namespace {

    std::optional<quint64> FreeBytes(const QString& folder)
    {
        struct statvfs info;
        if (::statvfs(QFile::encodeName(folder).constData(), &info) != 0)
            return std::nullopt;
        return quint64(info.f_bavail) * quint64(info.f_frsize);
    }

    bool WithinRatio(quint64 size, quint64 compressed, const ExtractionLimits& limits)
    {
        return size <= limits.RatioFloor || size / limits.MaxRatio <= compressed;
    }

} // namespace

ExtractionBound::ExtractionBound(std::optional<quint64> declared, const ExtractionLimits& limits)
    : declared_(declared)
    , limits_(limits)
{
}

std::optional<ExtractionBound> ExtractionBound::For(const QString& folder, std::optional<quint64> declaredSize,
    std::optional<quint64> compressedSize, const ExtractionLimits& limits)
{
    if (!declaredSize)
        return ExtractionBound(std::nullopt, limits);
    if (*declaredSize > limits.MaxMemberSize) {
        qCWarning(lcArchive) << "member of" << *declaredSize << "bytes refused: larger than" << limits.MaxMemberSize;
        return std::nullopt;
    }
    if (compressedSize && !WithinRatio(*declaredSize, *compressedSize, limits)) {
        qCWarning(lcArchive) << "member of" << *declaredSize << "bytes from" << *compressedSize << "refused";
        return std::nullopt;
    }
    const std::optional<quint64> free = FreeBytes(folder);
    if (free && *declaredSize > *free) {
        qCWarning(lcArchive) << "member of" << *declaredSize << "bytes refused: only" << *free << "free in" << folder;
        return std::nullopt;
    }
    return ExtractionBound(declaredSize, limits);
}

bool ExtractionBound::Allows(quint64 written, quint64 compressedRead) const
{
    if (written > (declared_ ? *declared_ : limits_.MaxMemberSize)) {
        qCWarning(lcArchive) << "member grows past" << (declared_ ? "its declared size" : "the size limit");
        return false;
    }
    if (!WithinRatio(written, compressedRead, limits_)) {
        qCWarning(lcArchive) << "member grows past" << limits_.MaxRatio << "times what was read of it";
        return false;
    }
    return true;
}

} // namespace tz

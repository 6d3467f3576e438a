// ZIP archives through the built-in reader and the library's ZIP adapter.
#include "ArchiveFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString archive = tz::fuzz::ScratchPath(".zip");
    if (tz::fuzz::WriteInput(archive, data, size))
        tz::fuzz::ListAndExtract(archive, size, tz::ListZipMembers,
            [](const QString& path, const tz::ArchiveMember& member, const QString& destination,
                const tz::ExtractionLimits& limits) { return bool(tz::ExtractZipMember(path, member, destination, limits)); });
    QFile::remove(archive);
    tz::fuzz::FuzzLibrary(tz::ArchiveKind::Zip, ".zip", data, size);
    return 0;
}

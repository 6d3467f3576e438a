// 7z archives through the library's adapter of the wider set of formats.
#include "ArchiveFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tz::fuzz::FuzzLibrary(tz::ArchiveKind::SevenZip, ".7z", data, size);
    return 0;
}

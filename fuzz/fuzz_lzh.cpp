// LZH archives through the library's LZH adapter.
#include "ArchiveFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tz::fuzz::FuzzLibrary(tz::ArchiveKind::Lzh, ".lzh", data, size);
    return 0;
}

// CAB archives through the library's CAB adapter.
#include "ArchiveFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tz::fuzz::FuzzLibrary(tz::ArchiveKind::Cab, ".cab", data, size);
    return 0;
}

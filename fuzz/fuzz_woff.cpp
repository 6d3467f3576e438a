// Fuzzes WOFF files: naming them and decoding their face into an sfnt.
#include "FontfileFuzzInput.h"
#include "WiderFormatFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    tz::fuzz::ReadWiderFormat(tz::fuzz::WriteInput(data, size), size);
    return 0;
}

// Fuzzes data-fork suitcases: the resource map, naming their faces and
// taking them out as an sfnt file or collection.
#include "FontfileFuzzInput.h"
#include "WiderFormatFuzz.h"
#include "fontfile/MacFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = tz::fuzz::WriteInput(data, size);
    tz::fuzz::ReadWiderFormat(path, size);
    tz::ExtractMacFont(path, tz::fuzz::FuzzFolder() + QStringLiteral("/typozind.mac.ttf"), tz::FontFormats::All);
    return 0;
}

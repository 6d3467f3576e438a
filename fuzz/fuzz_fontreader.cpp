// Fuzzes the font file reader and the analysis around it (which falls back to
// MacBinary extraction for inputs without a face).
#include "FontfileFuzzInput.h"
#include "fontfile/FontFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = tz::fuzz::WriteInput(data, size);
    tz::FontFileReader reader;
    reader.Read(path);
    if (reader.FamilyNames().size() != reader.FaceNames().size())
        std::abort();
    const tz::FontFileAnalysis analysis = tz::AnalyseFontFile(path, tz::fuzz::FuzzFolder());
    if (analysis.FamilyNames.size() != analysis.FaceNames.size() || analysis.Size < 0)
        std::abort();
    return 0;
}

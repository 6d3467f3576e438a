// Fuzzes the extraction of the font from MacBinary files.
#include "FontfileFuzzInput.h"
#include "fontfile/MacFont.h"

#include <QFileInfo>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = tz::fuzz::WriteInput(data, size);
    const QString target = tz::fuzz::FuzzFolder() + QStringLiteral("/typozind.mac.ttx");
    tz::ExtractMacFont(path, target);
    // The font is copied out of the input, so it can never be larger.
    if (QFileInfo(target).size() > qint64(size))
        std::abort();
    return 0;
}

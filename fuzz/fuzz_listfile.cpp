// The list file reader over arbitrary bytes, both formats and the drive-letter
// option; whatever it reads must save and read back as the same rows.
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    tz::ListReadOptions options;
    options.IgnoreDriveLetter = size % 2 == 1;
    options.MountPoints = QStringList { "/", "/media/user/STICK" };
    options.ConfirmConversion = [] { return true; };
    options.MeasureSize = [](const QString&, const QString&) { return QStringLiteral("0"); };
    tz::FontList list;
    const tz::ListReadResult result
        = tz::ReadListContent(list, content, QStringLiteral("/media/user/STICK/a.tzl"), options);
    if (result.Added != list.Count())
        std::abort();

    tz::FontList again;
    const tz::ListReadResult reread = tz::ReadListContent(again, tz::FormatListFile(list), {}, {});
    if (reread.Failures != 0 || again.Count() != list.Count())
        std::abort();
    for (int row = 0; row < list.Count(); ++row) {
        if (tz::FormatListRow(again.Entry(row)) != tz::FormatListRow(list.Entry(row)))
            std::abort();
    }
    return 0;
}

// The shell-link reader over arbitrary bytes: it may find a target or not, but
// it never reads outside the bytes.
#include "collect/Shortcut.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto target = tz::ParseShellLink(bytes))
        (void)(target->LocalBasePath.size() + target->RelativePath.size());
    return 0;
}

#pragma once
// What the fuzz targets of the wider formats do with every input: name its
// faces and take out each face as font data, whole and as the few tables a
// face's description reads, checking that the decoded data stays within its
// bound.
#include "fontfile/FontFileReader.h"
#include "fontfile/OwnFace.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "fontfile/WebFont.h"

#include <cstdlib>

namespace tz::fuzz {

inline void ReadWiderFormat(const QString& path, size_t size)
{
    FontFileReader reader;
    reader.Read(path, FontFormats::All);
    const RegularFile file(path, RegularFile::Mode::Read);
    const quint64 bound = std::min<quint64>(kMaxDecoded, quint64(size) * kMaxDecodedPerByte + (quint64(1) << 20));
    const quint32 described[] = { TableTag("name"), TableTag("OS/2"), TableTag("cmap") };
    for (int k = 0; k <= reader.FaceNames().size(); ++k) {
        // A rebuilt glyf table may outgrow the stream it came from, by the
        // few bytes a point takes in each.
        if (quint64(WiderFormatFace(file, k).value_or(QByteArray()).size()) > 8 * bound
            || quint64(WiderFormatFace(file, k, described).value_or(QByteArray()).size()) > bound)
            std::abort();
    }
}

} // namespace tz::fuzz

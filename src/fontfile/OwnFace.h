#pragma once
// The exact face a list row names, as font data of its own. Drawing goes
// through this data rather than a family name: a family name may pick
// another installed file of the same name, and a collection's bytes give the
// font engine only its first face.
#include "fontfile/FontFormats.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <optional>
#include <span>

namespace tz {

class ByteSource;
class FontFileReader;

// The face of a multi-face file that a row with these names stands for: the
// first face carrying both names, else the first with the face name, else
// face 0. names holds the file's faces as read; the index is the face's place
// in the file, also when faces before it have no names.
int FaceIndexOf(const FontFileReader& names, const QString& faceName, const QString& familyName);

// Face `index` of an sfnt file image as a standalone sfnt: that face's offset
// table followed by copies of its tables. A single-face image comes back
// unchanged for index 0. Empty when there is no such face or a table lies
// outside the image.
QByteArray StandaloneFace(const QByteArray& image, int index);

// Face `index` of a WOFF or WOFF2 file decoded, or of a data-fork suitcase
// as its resource's sfnt; empty when there is no such face. Nothing when the
// file is neither. Given tags, a web font is decoded only as far as the
// tables with those tags (see DecodeWebFace).
std::optional<QByteArray> WiderFormatFace(const ByteSource& file, int index, std::span<const quint32> onlyTags = {});

// The same with the `name` table replaced (or added): a face with other names
// and the same glyphs.
QByteArray WithNameTable(const QByteArray& face, const QByteArray& nameTable);

// Font data of the face of the file at path whose face and family names are
// the row's; when no face carries both names, the first face with the face
// name, else the file's first face. A single-face file is mapped, not read, so
// only the parts the font engine touches are loaded. Empty when the file
// can't be read as a font, and for an empty path.
// With the wider formats, a WOFF or WOFF2 face is decoded into an sfnt in
// memory and a suitcase face is the data of its `sfnt` resource.
class OwnFaceData {
public:
    OwnFaceData(const QString& path, const QString& faceName, const QString& familyName,
        FontFormats formats = FontFormats::Designed);
    // A face decoded already (see AddedFontData).
    explicit OwnFaceData(QByteArray decoded)
        : bytes_(std::move(decoded))
    {
    }
    OwnFaceData(const OwnFaceData&) = delete;
    OwnFaceData& operator=(const OwnFaceData&) = delete;
    // Valid while this object lives.
    const QByteArray& Bytes() const { return bytes_; }

private:
    QFile file_;
    QByteArray bytes_;
};

// The same data as a copy of its own.
QByteArray LoadOwnFace(const QString& path, const QString& faceName, const QString& familyName,
    FontFormats formats = FontFormats::Designed);

} // namespace tz

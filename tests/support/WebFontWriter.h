#pragma once
// Test fonts in the wider formats, written from sfnt images: WOFF, WOFF2
// (tables untransformed) and data-fork suitcases.
#include <QByteArray>
#include <QList>

namespace tz::test {

// A WOFF file of the sfnt; tables zlib-compressed where that makes them
// smaller, else stored as they are, with the checksums of the sfnt.
QByteArray WoffOf(const QByteArray& sfnt);

enum class Woff2Hmtx { Untransformed, Transformed };

// A WOFF2 file of the sfnt or collection, every table untransformed (glyf
// and loca with the null transform) in one Brotli stream. A collection's
// faces share the tables they share in the image. With Woff2Hmtx::Transformed
// (a single face whose left side bearings equal its glyphs' xMin) hmtx is
// stored with its transform, every bearing left out.
QByteArray Woff2Of(const QByteArray& sfntOrCollection, Woff2Hmtx hmtx = Woff2Hmtx::Untransformed);

// A data-fork suitcase holding one `sfnt` resource per face, in this order,
// after a resource of another type.
QByteArray SuitcaseOf(const QList<QByteArray>& faces);

} // namespace tz::test

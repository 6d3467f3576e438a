#pragma once
// Test fonts in the wider formats, written from sfnt images: WOFF, WOFF2
// (tables untransformed) and data-fork suitcases.
#include <QByteArray>
#include <QList>

namespace tz::test {

// A WOFF file of the sfnt; tables zlib-compressed where that makes them
// smaller, else stored as they are.
QByteArray WoffOf(const QByteArray& sfnt);

// A WOFF2 file of the sfnt or collection, every table untransformed (glyf
// and loca with the null transform) in one Brotli stream. A collection's
// faces share the tables they share in the image.
QByteArray Woff2Of(const QByteArray& sfntOrCollection);

// A data-fork suitcase holding one `sfnt` resource per face, in this order,
// after a resource of another type.
QByteArray SuitcaseOf(const QList<QByteArray>& faces);

} // namespace tz::test

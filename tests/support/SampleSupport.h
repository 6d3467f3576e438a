#pragma once
// Fonts and runs for the sample-sheet tests: real glyph fonts under names of
// the test's choosing, collections of whole faces, and a preview run over
// rows made by hand whose pages are read back.
#include "ListFileSupport.h"
#include "sample/SampleSheets.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace tz::test {

// The font file's face with family and full name replaced by the given names.
QByteArray RenamedFont(const QString& fontFile, const QString& family, const QString& fullName);
// A collection of whole single-face sfnt images, in order.
QByteArray CollectionOf(const QList<QByteArray>& faces);
// The single-face sfnt image with the data of table tag replaced, that data
// placed first, right after the table directory.
QByteArray WithTableFirst(const QByteArray& face, const QByteArray& tag, const QByteArray& data);

// A row for a file on disk, as adding stores it (paths upper-cased).
FontEntry RowFor(const QString& path, const QString& face, const QString& family, int kind = 0,
    const QString& member = {});

// A preview run at 96 dpi on the fallback sheet (portrait unless told).
SampleInput PreviewInput(const QList<FontEntry>& rows, const QString& workFolder);

struct RunOutcome {
    SampleResult result;
    QStringList log;
    PageIndex index;
};
// Runs the input; stop: GoOn answers false from that row on (1-based), 0 never.
RunOutcome RunSample(const SampleInput& input, int stopAfterRow = 0);

// Page n of a preview run read back from its page file; null when it can't be.
QImage ReadPage(const QString& workFolder, int pageNumber);
// The smallest rectangle holding every non-white pixel.
QRect InkBounds(const QImage& image);

} // namespace tz::test

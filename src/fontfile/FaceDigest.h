#pragma once
// What makes two faces the same font: the data of their tables, wherever the
// face lies (a file of its own, a collection, a copy taken out of an archive).
// The table directory, the order of the tables in the file and the
// collection around the face do not count.
#include "fontfile/SfntTables.h"

#include <QByteArray>

namespace tz {

// The tags and lengths of the tables, sorted by tag. Two faces with the same
// tables have the same layout, so only faces that share a layout need their
// digests compared.
QByteArray FaceLayout(const std::vector<FaceTable>& tables);

// SHA-256 over the tables sorted by tag: per table its tag, length and bytes.
// Two things that describe a file rather than the face are left out: the
// `head` table's checkSumAdjustment (counted as 0) and a `DSIG` table (a
// signature of the file). Empty when a table can't be read.
QByteArray FaceDigest(const ByteSource& file, const std::vector<FaceTable>& tables);

} // namespace tz

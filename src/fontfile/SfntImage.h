#pragma once
// sfnt files assembled in memory from tables: a face taken out of a
// collection, decoded from a web font or given other names, and collections
// of such faces.
#include <QByteArray>
#include <vector>

namespace tz {

struct SfntTableData {
    quint32 tag = 0;
    quint32 checksum = 0;
    QByteArray data;
};

// The sum of the table's big-endian 32-bit words, the last one zero-padded.
quint32 TableChecksum(const QByteArray& data);

// A standalone sfnt of the tables, records sorted by tag as the format asks,
// every table starting on a 4-byte boundary.
QByteArray AssembleSfnt(quint32 sfntVersion, std::vector<SfntTableData> tables);

// A "ttcf" collection of standalone sfnt faces (each as AssembleSfnt writes
// it), the faces in the given order.
QByteArray AssembleCollection(const std::vector<QByteArray>& faces);

} // namespace tz

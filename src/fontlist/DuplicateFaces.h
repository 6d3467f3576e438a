#pragma once
// The duplicate search: rows whose faces hold the same data (FaceDigest),
// wherever the faces lie: two copies of one file, a file and its copy in an
// archive, a face of a collection and the same face alone. Names alone never
// make duplicates; two versions of a family differ in their tables.
//
// Digests are read only where they can decide something: faces whose table
// layouts (FaceLayout) differ can't be equal, and the faces of one file on
// disk are equal to themselves. So a collection without duplicates costs only
// the table directories. The digests of faces on disk are read on worker
// threads while the scan goes on.
#include <vector>

namespace tz {

class RowFaceScan;

// The groups of rows naming one face, each of at least two rows, ascending,
// the groups in the order of their first rows.
std::vector<std::vector<int>> DuplicateGroups(RowFaceScan& scan);

// The rows that repeat an earlier row's face: every row of a group but its
// first. Ascending.
std::vector<int> RepeatingRows(const std::vector<std::vector<int>>& groups);

} // namespace tz

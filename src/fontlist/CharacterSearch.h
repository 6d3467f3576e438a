#pragma once
// The character search: the rows whose face has a glyph for every character
// of a text, by the face's own character map. A face's answer is worked out
// once: per file by the scan, and per file on disk however many paths lead
// to it.
#include "fontfile/CharacterMap.h"

#include <vector>

namespace tz {

class RowFaceScan;

// The matching rows, ascending. Rows the scan skipped never match.
std::vector<int> RowsCovering(RowFaceScan& scan, const std::vector<CharacterNeed>& needs);

} // namespace tz

#include "fontlist/CharacterSearch.h"

#include "fontlist/RowFaceScan.h"

#include <QHash>
#include <algorithm>

namespace tz {

namespace {

    bool FaceCovers(const RowFace& face, const std::vector<CharacterNeed>& needs)
    {
        const FaceTable* cmap = FindFaceTable(face.tables, TableTag("cmap"));
        return cmap && CharacterMap(ReadFaceTable(face.bytes, *cmap)).CoversAll(needs);
    }

} // namespace

std::vector<int> RowsCovering(RowFaceScan& scan, const std::vector<CharacterNeed>& needs)
{
    QHash<FaceIdentity, bool> answers;
    std::vector<int> rows;
    scan.Run([&](const RowFace& face) {
        const std::optional<FaceIdentity> identity = face.Identity();
        auto known = identity ? answers.constFind(*identity) : answers.cend();
        const bool covers = known != answers.cend() ? *known : FaceCovers(face, needs);
        if (identity)
            answers.insert(*identity, covers);
        if (covers)
            rows.insert(rows.end(), face.rows.begin(), face.rows.end());
    });
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace tz

#include "fontlist/DuplicateFaces.h"

#include "fontfile/FaceDigest.h"
#include "fontlist/RowFaceScan.h"

#include <QHash>
#include <algorithm>
#include <map>

namespace tz {

namespace {

    // One distinct face found so far. A face on disk keeps its path, so its
    // digest is read only once another face of the same layout turns up; a
    // copy in the work folder is gone after its visit, so its digest is read
    // at once.
    struct DistinctFace {
        QString path; // empty for a copy
        int index = 0;
        QByteArray digest;
        bool digestRead = false;
    };

    class FaceCatalog {
    public:
        // The distinct face the visited face is, added when it is new.
        std::size_t Classify(const RowFace& face)
        {
            const std::optional<FaceIdentity> identity = face.Identity();
            if (identity) {
                if (const auto known = byIdentity_.constFind(*identity); known != byIdentity_.cend())
                    return *known;
            }
            std::vector<std::size_t>& sameLayout = byLayout_[FaceLayout(face.tables)];
            DistinctFace added { face.onDisk ? face.path : QString(), face.index };
            if (!face.onDisk || !sameLayout.empty()) {
                added.digest = FaceDigest(face.file, face.tables);
                added.digestRead = true;
            }
            std::size_t result = faces_.size();
            const auto equal = std::find_if(sameLayout.begin(), sameLayout.end(),
                [&](std::size_t other) { return !added.digest.isEmpty() && DigestOf(other) == added.digest; });
            if (equal != sameLayout.end()) {
                result = *equal;
            } else {
                faces_.push_back(std::move(added));
                sameLayout.push_back(result);
            }
            if (identity)
                byIdentity_.insert(*identity, result);
            return result;
        }

    private:
        const QByteArray& DigestOf(std::size_t id)
        {
            DistinctFace& face = faces_[id];
            if (!face.digestRead) {
                const RegularFile file(face.path, RegularFile::Mode::Read);
                if (const auto tables = ReadFaceTables(file, face.index))
                    face.digest = FaceDigest(file, *tables);
                face.digestRead = true;
            }
            return face.digest;
        }

        std::vector<DistinctFace> faces_;
        QHash<QByteArray, std::vector<std::size_t>> byLayout_;
        QHash<FaceIdentity, std::size_t> byIdentity_;
    };

} // namespace

std::vector<std::vector<int>> DuplicateGroups(RowFaceScan& scan)
{
    FaceCatalog catalog;
    std::map<std::size_t, std::vector<int>> rowsOfFace;
    scan.Run([&](const RowFace& face) {
        std::vector<int>& rows = rowsOfFace[catalog.Classify(face)];
        rows.insert(rows.end(), face.rows.begin(), face.rows.end());
    });
    std::vector<std::vector<int>> groups;
    for (auto& [face, rows] : rowsOfFace) {
        if (rows.size() < 2)
            continue;
        std::sort(rows.begin(), rows.end());
        groups.push_back(std::move(rows));
    }
    std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.front() < b.front(); });
    return groups;
}

std::vector<int> RepeatingRows(const std::vector<std::vector<int>>& groups)
{
    std::vector<int> rows;
    for (const std::vector<int>& group : groups)
        rows.insert(rows.end(), group.begin() + 1, group.end());
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace tz

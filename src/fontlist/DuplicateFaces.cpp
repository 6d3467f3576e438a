#include "fontlist/DuplicateFaces.h"

#include "fontfile/FaceDigest.h"
#include "fontlist/RowFaceScan.h"

#include <QHash>
#include <QThreadPool>
#include <algorithm>
#include <chrono>
#include <deque>
#include <future>
#include <memory>

namespace tz {

namespace {

    // The digest of face `index` of the file at path; empty when it can't be
    // read.
    QByteArray DigestOfFaceOnDisk(const QString& path, int index)
    {
        const RegularFile file(path, RegularFile::Mode::Read);
        const auto tables = ReadFaceTables(file, index);
        return tables ? FaceDigest(file, *tables) : QByteArray();
    }

    // One face as found by the scan, before faces of equal data are merged.
    // A face on disk keeps its path, so its digest is read only once another
    // face of the same layout turns up, and then on a worker thread while the
    // scan goes on; a copy in the work folder is gone after its visit, so its
    // digest is read at once.
    struct FoundFace {
        QString path; // empty for a copy
        int index = 0;
        std::shared_future<QByteArray> digest; // not valid while no digest was asked for
        std::vector<int> rows;
    };

    class FaceCatalog {
    public:
        FaceCatalog()
            : maxPending_(2 * std::max(1, QThreadPool::globalInstance()->maxThreadCount()))
        {
        }
        ~FaceCatalog()
        {
            for (const std::shared_future<QByteArray>& digest : pending_)
                digest.wait();
        }
        FaceCatalog(const FaceCatalog&) = delete;
        FaceCatalog& operator=(const FaceCatalog&) = delete;

        void Add(const RowFace& face)
        {
            const std::optional<FaceIdentity> identity = face.Identity();
            if (identity) {
                if (const auto known = byIdentity_.constFind(*identity); known != byIdentity_.cend()) {
                    std::vector<int>& rows = faces_[*known].rows;
                    rows.insert(rows.end(), face.rows.begin(), face.rows.end());
                    return;
                }
            }
            std::vector<std::size_t>& sameLayout = byLayout_[FaceLayout(face.tables)];
            FoundFace added { face.onDisk ? face.path : QString(), face.index, {}, face.rows };
            if (!face.onDisk) {
                std::promise<QByteArray> read;
                read.set_value(FaceDigest(face.bytes, face.tables));
                added.digest = read.get_future().share();
            }
            const std::size_t id = faces_.size();
            faces_.push_back(std::move(added));
            if (!sameLayout.empty()) {
                AskDigest(sameLayout.front());
                AskDigest(id);
            }
            sameLayout.push_back(id);
            if (identity)
                byIdentity_.insert(*identity, id);
        }

        // The rows of each distinct face: faces of one layout and equal
        // digests are one; a face whose digest can't be read is one of its own.
        std::vector<std::vector<int>> RowsOfDistinctFaces()
        {
            std::vector<std::vector<int>> result;
            for (const std::vector<std::size_t>& sameLayout : byLayout_) {
                QHash<QByteArray, std::size_t> byDigest;
                for (std::size_t id : sameLayout) {
                    FoundFace& face = faces_[id];
                    const QByteArray digest = face.digest.valid() ? face.digest.get() : QByteArray();
                    if (!digest.isEmpty()) {
                        if (const auto equal = byDigest.constFind(digest); equal != byDigest.cend()) {
                            std::vector<int>& rows = result[*equal];
                            rows.insert(rows.end(), face.rows.begin(), face.rows.end());
                            continue;
                        }
                        byDigest.insert(digest, result.size());
                    }
                    result.push_back(std::move(face.rows));
                }
            }
            return result;
        }

    private:
        // Starts reading the digest of a face on disk, unless it was asked for
        // already; at most maxPending_ are read at a time.
        void AskDigest(std::size_t id)
        {
            FoundFace& face = faces_[id];
            if (face.digest.valid())
                return;
            while (!pending_.empty() && (pending_.size() >= maxPending_
                       || pending_.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready)) {
                pending_.front().wait();
                pending_.pop_front();
            }
            auto task = std::make_shared<std::packaged_task<QByteArray()>>(
                [path = face.path, index = face.index] { return DigestOfFaceOnDisk(path, index); });
            face.digest = task->get_future().share();
            pending_.push_back(face.digest);
            QThreadPool::globalInstance()->start([task] { (*task)(); });
        }

        const std::size_t maxPending_;
        std::vector<FoundFace> faces_;
        std::deque<std::shared_future<QByteArray>> pending_;
        QHash<QByteArray, std::vector<std::size_t>> byLayout_;
        QHash<FaceIdentity, std::size_t> byIdentity_;
    };

} // namespace

std::vector<std::vector<int>> DuplicateGroups(RowFaceScan& scan)
{
    FaceCatalog catalog;
    scan.Run([&](const RowFace& face) { catalog.Add(face); });
    std::vector<std::vector<int>> groups;
    for (std::vector<int>& rows : catalog.RowsOfDistinctFaces()) {
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

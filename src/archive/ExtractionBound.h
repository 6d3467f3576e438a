#pragma once
// How far a member may grow when it is extracted. An archive can declare or
// hold members far larger than itself (a few kilobytes of deflated zeros
// become gigabytes), so every extraction is bounded: by the member's declared
// size where the archive records one, by an absolute limit, by the ratio of
// what is written to what was read of the archive, and by the free space of
// the folder written into.
#include <QString>
#include <QtGlobal>
#include <optional>

namespace tz {

struct ExtractionLimits {
    // The largest real font collections are a few hundred megabytes.
    quint64 MaxMemberSize = quint64(512) << 20;
    // Fonts compress a few times at most.
    quint64 MaxRatio = 100;
    // Below this a member is never refused for its ratio: small read-me files
    // of blank lines compress far better than fonts, and cost nothing.
    quint64 RatioFloor = quint64(1) << 20;
};

class ExtractionBound {
public:
    // The bound of one member, or none when the member is refused before a
    // byte is written: declared larger than the limit, than the ratio allows
    // of its declared compressed size, or than the free space of folder.
    static std::optional<ExtractionBound> For(const QString& folder, std::optional<quint64> declaredSize,
        std::optional<quint64> compressedSize, const ExtractionLimits& limits = {});

    // Whether written bytes may be written once compressedRead bytes of the
    // archive were read for the member; past the declared size never.
    bool Allows(quint64 written, quint64 compressedRead) const;
    // Whether the data may end after written bytes (the declared size, when
    // one is known, was reached).
    bool Complete(quint64 written) const { return !declared_ || written == *declared_; }

private:
    ExtractionBound(std::optional<quint64> declared, const ExtractionLimits& limits);

    std::optional<quint64> declared_;
    ExtractionLimits limits_;
};

} // namespace tz

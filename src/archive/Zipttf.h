#pragma once
// The built-in ZIP reader (minizip), used when no archiver library reads ZIP.
#include "archive/ArchiveMember.h"
#include "archive/ExtractionBound.h"

namespace tz {

// Appends the members passing the filter; returns the number of members
// visited, 0 when the archive can't be read or holds none.
int ListZipMembers(const QString& archivePath, MemberFilter filter, QList<ArchiveMember>& members);

// Streams the member into destination, which must not exist yet, and gives it
// the member's date and time. Fails on a read error, a short write, a size
// other than the one recorded or a CRC mismatch, and refuses a member beyond
// the limits; the destination is then gone.
ExtractResult ExtractZipMember(const QString& archivePath, const ArchiveMember& member, const QString& destination,
    const ExtractionLimits& limits = {});

} // namespace tz

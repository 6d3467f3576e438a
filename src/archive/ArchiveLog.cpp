#include "archive/ArchiveLog.h"

namespace tz {

Q_LOGGING_CATEGORY(lcArchive, "tz.archive", QtWarningMsg)

} // namespace tz

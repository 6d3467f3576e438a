#include "archive/ArchiveLog.h"
#include "platform/Logging.h"

namespace tz {

TZ_LOGGING_CATEGORY(lcArchive, "archive", QtWarningMsg)

} // namespace tz

#include "fileops/FileOpsLog.h"
#include "platform/Logging.h"

namespace tz {

TZ_LOGGING_CATEGORY(lcFileOps, "fileops")

} // namespace tz

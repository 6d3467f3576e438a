#include "fileops/FileOpsLog.h"

namespace tz {

Q_LOGGING_CATEGORY(lcFileOps, "tz.fileops")

} // namespace tz

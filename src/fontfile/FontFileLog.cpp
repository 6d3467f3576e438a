#include "fontfile/FontFileLog.h"
#include "platform/Logging.h"

namespace tz {
TZ_LOGGING_CATEGORY(lcFontFile, "fontfile", QtWarningMsg)
}

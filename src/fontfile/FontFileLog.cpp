#include "fontfile/FontFileLog.h"

namespace tz {
Q_LOGGING_CATEGORY(lcFontFile, "tz.fontfile", QtWarningMsg)
}

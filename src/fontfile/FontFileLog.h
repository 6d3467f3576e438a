#pragma once
// Logging of the font file analysis.
#include <QLoggingCategory>

namespace tz {
Q_DECLARE_LOGGING_CATEGORY(lcFontFile)
}

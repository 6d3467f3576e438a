#pragma once
#include <QLoggingCategory>

namespace tz {

// Why copying, installing or opening a file did not work.
Q_DECLARE_LOGGING_CATEGORY(lcFileOps)

} // namespace tz

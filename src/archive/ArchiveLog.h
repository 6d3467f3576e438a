#pragma once
#include <QLoggingCategory>

namespace tz {

Q_DECLARE_LOGGING_CATEGORY(lcArchive)

} // namespace tz

#pragma once

namespace tz {

// Whether at least one printer is installed; false when asking fails.
bool PrintersInstalled();

} // namespace tz

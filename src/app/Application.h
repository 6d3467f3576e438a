#pragma once

namespace tz {

// Starts the program: title, the windows in their creation order, the
// message loop. Returns the exit status.
int RunApplication(int argc, char** argv);

} // namespace tz

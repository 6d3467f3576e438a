#pragma once
// The per-user runtime folder: $XDG_RUNTIME_DIR when it names a folder of
// this user with mode 0700; otherwise "typoscan-<uid>" under the temporary
// folder, made with mode 0700 when missing and used only while it is such a
// folder (not a link, not another user's). Every program of the system sets
// it up before Qt starts, so Qt finds a usable runtime folder and prints no
// warning about it.
#include <QString>

namespace tz {

// The folder, or the empty text when neither place can be used; `problem`
// then tells why.
QString RuntimeFolder(QString* problem = nullptr);

// Points XDG_RUNTIME_DIR at RuntimeFolder() when it does not name a usable
// folder already.
void PrepareRuntimeFolder();

} // namespace tz

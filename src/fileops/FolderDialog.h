#pragma once
#include <QString>

class QWidget;

namespace tz {

// The folder dialog for where fonts are copied to ("TrueTypeフォントのコピー先
// フォルダを指定して下さい", file-system folders only), named name and starting
// at start. The chosen folder, or empty when cancelled.
QString ChooseFontFolder(QWidget* parent, const QString& name, const QString& start = {});

} // namespace tz

#pragma once
// The pictures of the page setup dialog, drawn here: 32×32 images indexed as
// the dialog uses them (0 portrait, 1 landscape, then for each orientation o
// the binding pictures o × 3 + 2 none, o × 3 + 3 top, o × 3 + 4 left) and the
// 16×16 icon of the quick-setting list.
#include <QPixmap>

namespace tz {

inline constexpr int kPageSetupPictureCount = 8;

inline constexpr int OrientationPicture(int orientation) { return orientation; }
inline constexpr int BindingPicture(int orientation, int binding) { return orientation * 3 + 2 + binding; }

QPixmap PageSetupPicture(int index);
QPixmap SettingListIcon();

} // namespace tz

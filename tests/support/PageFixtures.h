#pragma once
// Page images and page files as a preview run leaves them.
#include <QImage>
#include <QString>

namespace tz::test {

// A 1-bit page: white at index 0, ink at index 1, a short ink line on row 3.
QImage MonoPage(QSize size);
// A smoothed page: 8 bits per pixel with the 256-entry grey palette.
QImage GreyPage(QSize size);

} // namespace tz::test

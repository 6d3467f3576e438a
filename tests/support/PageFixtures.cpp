#include "PageFixtures.h"

namespace tz::test {

QImage MonoPage(QSize size)
{
    QImage page(size, QImage::Format_Mono);
    page.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    page.fill(0);
    for (int x = 2; x < std::min(9, size.width()); ++x)
        page.setPixel(x, 3, 1);
    return page;
}

QImage GreyPage(QSize size)
{
    QImage page(size, QImage::Format_Indexed8);
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i)
        palette.append(qRgb(i, i, i));
    page.setColorTable(palette);
    page.fill(255);
    page.setPixel(1, 1, 40);
    return page;
}

} // namespace tz::test

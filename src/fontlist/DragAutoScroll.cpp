#include "fontlist/DragAutoScroll.h"

namespace tz {

int DragAutoScroll::Step(int y, int clientHeight, qint64 now)
{
    int direction = 0;
    if (y >= 1 && y <= kTopBand)
        direction = -1;
    else if (y >= clientHeight - kBottomBand && y <= clientHeight - 1)
        direction = 1;
    if (direction == 0) {
        Reset();
        return 0;
    }
    if (noted_ < 0) {
        noted_ = now;
        return 0;
    }
    if (now - noted_ < kIntervalMs)
        return 0;
    noted_ = now;
    return direction;
}

} // namespace tz

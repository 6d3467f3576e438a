#pragma once
// Scrolling while rows are dragged over the list: a band just below the top of
// the client area scrolls up, a band at the bottom scrolls down, one step at
// most every 25 ms. The first position inside a band only notes the time.
#include <QtGlobal>

namespace tz {

class DragAutoScroll {
public:
    static constexpr int kTopBand = 47;    // y from 1 to 47 scrolls up
    static constexpr int kBottomBand = 48; // the last 48 pixels scroll down
    static constexpr qint64 kIntervalMs = 25;

    // -1 scroll one line up, +1 one line down, 0 nothing; y is relative to the
    // top of the client area, now in milliseconds.
    int Step(int y, int clientHeight, qint64 now);
    void Reset() { noted_ = -1; }

private:
    qint64 noted_ = -1;
};

} // namespace tz

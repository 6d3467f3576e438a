#pragma once
// The workers of a generation run: pages the generating thread hands on are
// drawn and stored on threads of their own and come back in the order they
// were handed on. The run keeps at most twice as many pages as workers in
// flight, or one more than the workers for a run that a user may stop (fewer
// pages to finish after Stop). One worker means no thread at all: each page
// is done on the spot.
#include "sample/PageDrawing.h"

#include <QImage>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace tz {

// A page the workers are done with.
struct FinishedPage {
    int pageNumber = 0;
    bool stored = false; // a preview page was written; a printed page was drawn
    QImage printer; // print mode: the printer page bitmap to hand to the printer
    PageBlocks page; // what was drawn, released on the run's own thread
};

// The machine's cores (at least 1).
int MachineCores();

class PageWorkers {
public:
    using Job = std::function<FinishedPage()>;

    // workers < 1: the machine's cores. shallow: one page in flight beyond
    // those the workers are drawing.
    explicit PageWorkers(int workers, bool shallow = false);
    // Finishes every page handed on before it returns.
    ~PageWorkers();
    PageWorkers(const PageWorkers&) = delete;
    PageWorkers& operator=(const PageWorkers&) = delete;

    int Count() const { return count_; }
    // As many pages are in flight as the run keeps.
    bool Full() const;
    // Pages handed on and not yet taken back.
    int InFlight() const;
    void Hand(Job job);
    // The next page in handing order once it is done, waiting at most `wait`.
    std::optional<FinishedPage> Next(std::chrono::milliseconds wait);

private:
    void Work();

    int count_;
    int depth_; // pages in flight at most
    std::vector<std::thread> threads_;
    mutable std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable pageDone_;
    std::deque<std::pair<quint64, Job>> jobs_;
    std::map<quint64, FinishedPage> done_;
    quint64 handed_ = 0;
    quint64 taken_ = 0;
    bool ending_ = false;
};

} // namespace tz

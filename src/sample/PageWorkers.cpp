#include "sample/PageWorkers.h"

namespace tz {

int MachineCores() { return std::max(1, int(std::thread::hardware_concurrency())); }

PageWorkers::PageWorkers(int workers, bool shallow)
    : count_(workers < 1 ? MachineCores() : workers)
    , depth_(shallow ? count_ + 1 : 2 * count_)
{
    if (count_ == 1)
        return;
    for (int i = 0; i < count_; ++i)
        threads_.emplace_back([this] { Work(); });
}

PageWorkers::~PageWorkers()
{
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    jobReady_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

bool PageWorkers::Full() const
{
    const std::lock_guard lock(mutex_);
    return handed_ - taken_ >= quint64(depth_);
}

int PageWorkers::InFlight() const
{
    const std::lock_guard lock(mutex_);
    return int(handed_ - taken_);
}

void PageWorkers::Hand(Job job)
{
    if (threads_.empty()) {
        FinishedPage page = job();
        const std::lock_guard lock(mutex_);
        done_.emplace(handed_++, std::move(page));
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        jobs_.emplace_back(handed_++, std::move(job));
    }
    jobReady_.notify_one();
}

std::optional<FinishedPage> PageWorkers::Next(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    if (!pageDone_.wait_for(lock, wait, [this] { return done_.count(taken_) != 0; }))
        return std::nullopt;
    auto found = done_.find(taken_++);
    FinishedPage page = std::move(found->second);
    done_.erase(found);
    return page;
}

void PageWorkers::Work()
{
    for (;;) {
        std::unique_lock lock(mutex_);
        jobReady_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty())
            return; // ending, and every page handed on is done
        auto [sequence, job] = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        FinishedPage page = job();
        lock.lock();
        done_.emplace(sequence, std::move(page));
        lock.unlock();
        pageDone_.notify_all();
    }
}

} // namespace tz

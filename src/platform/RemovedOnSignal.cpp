#include "platform/RemovedOnSignal.h"

#include <QFile>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace tz {

namespace {

    // A fixed table the handler can walk without taking a lock or allocating:
    // each slot holds a path of its own (from strdup) or nothing.
    constexpr int kSlots = 64;
    std::atomic<char*> files[kSlots];
    std::atomic<char*> folders[kSlots];
    static_assert(std::atomic<char*>::is_always_lock_free);

    std::atomic<char*>& SlotAt(int slot) { return slot < kSlots ? files[slot] : folders[slot - kSlots]; }

    void RemoveAndEnd(int signal)
    {
        for (std::atomic<char*>& file : files) {
            if (const char* path = file.load())
                ::unlink(path);
        }
        for (std::atomic<char*>& folder : folders) {
            if (const char* path = folder.load())
                ::rmdir(path);
        }
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }

} // namespace

RemovedOnSignal::RemovedOnSignal(const QString& path, Kind kind)
{
    char* copy = ::strdup(QFile::encodeName(path).constData());
    const int first = kind == Kind::File ? 0 : kSlots;
    for (int slot = first; copy && slot < first + kSlots; ++slot) {
        char* empty = nullptr;
        if (SlotAt(slot).compare_exchange_strong(empty, copy)) {
            slot_ = slot;
            return;
        }
    }
    // Every slot taken: the path is simply not removed on a signal.
    std::free(copy);
}

RemovedOnSignal::~RemovedOnSignal() { Forget(); }

RemovedOnSignal::RemovedOnSignal(RemovedOnSignal&& other) noexcept
    : slot_(std::exchange(other.slot_, -1))
{
}

RemovedOnSignal& RemovedOnSignal::operator=(RemovedOnSignal&& other) noexcept
{
    if (this != &other) {
        Forget();
        slot_ = std::exchange(other.slot_, -1);
    }
    return *this;
}

void RemovedOnSignal::Forget()
{
    if (slot_ < 0)
        return;
    std::free(SlotAt(slot_).exchange(nullptr));
    slot_ = -1;
}

void RemoveTemporaryFilesOnSignals()
{
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace tz

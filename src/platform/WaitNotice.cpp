// The process's one wait watcher, told only on the thread that set it.
#include "platform/WaitNotice.h"

#include "platform/FaultPoint.h"

#include <atomic>
#include <cerrno>
#include <thread>

namespace platform {

namespace {

std::atomic<WaitWatcher*> g_watcher{nullptr};
std::atomic<std::thread::id> g_watcherThread{};

/// The watcher, when this thread is the one that set it: a worker's wait (a batch load takes
/// locks too) must not reach into the window from its thread.
WaitWatcher* WatcherOfThisThread() {
    if (g_watcherThread.load() != std::this_thread::get_id()) return nullptr;
    return g_watcher.load();
}

/// Keeps errno across a call into the watcher: the wait reports how it ended by errno.
class KeptErrno {
public:
    KeptErrno() : m_saved(errno) {}
    ~KeptErrno() { errno = m_saved; }

private:
    int m_saved;
};

}  // namespace

void SetWaitWatcher(WaitWatcher* watcher) {
    // The thread first: the one that sets a watcher is the only one that may reach it.
    g_watcherThread = std::this_thread::get_id();
    g_watcher = watcher;
}

AnnouncedWait::AnnouncedWait(const std::string& lockPath) noexcept {
    WaitWatcher* watcher = WatcherOfThisThread();
    if (!watcher) return;
    const KeptErrno kept;
    try {
        watcher->WaitBegins(lockPath);
        m_watcher = watcher;
    } catch (...) {
        // Shown or not, the wait is the same.
    }
}

AnnouncedWait::~AnnouncedWait() {
    if (!m_watcher) return;
    const KeptErrno kept;
    try {
        m_watcher->WaitEnds();
    } catch (...) {
        // A destructor never throws; the watcher was told as far as it could be.
    }
}

void AnnouncedWait::Pause() noexcept {
    if (!m_watcher) return;
    const KeptErrno kept;
    try {
        FaultPoint("lock wait pause");
        m_watcher->StillWaiting();
    } catch (...) {
        // The next pause tells it again.
    }
}

}  // namespace platform

// Telling the window that the program waits for another program's turn on a lock file.
#pragma once

#include <string>

namespace platform {

/// Told while the program waits for another program's turn on a lock file, so that a window can
/// show that it waits. Told only on the thread that set it (the window's), never by a worker.
class WaitWatcher {
public:
    virtual ~WaitWatcher() = default;
    /// A wait for the lock file `lockPath` begins: another program holds it.
    virtual void WaitBegins(const std::string& lockPath) = 0;
    /// At every pause of the wait.
    virtual void StillWaiting() = 0;
    /// The wait ended, however it ended; follows every `WaitBegins` that returned.
    virtual void WaitEnds() = 0;
};

/// Sets the process-wide watcher, which the calling thread alone tells from then on; null:
/// none.
void SetWaitWatcher(WaitWatcher* watcher);

/// A wait on `lockPath` announced to the watcher for as long as this lives. A watcher that
/// throws is not told more, and the wait goes on: a notice never fails what waits. None of
/// its members changes errno, which waits report by.
class AnnouncedWait {
public:
    explicit AnnouncedWait(const std::string& lockPath) noexcept;
    ~AnnouncedWait();
    AnnouncedWait(const AnnouncedWait&) = delete;
    AnnouncedWait& operator=(const AnnouncedWait&) = delete;

    /// Tells the watcher that the wait goes on (`StillWaiting`).
    void Pause() noexcept;

private:
    WaitWatcher* m_watcher = nullptr;
};

}  // namespace platform

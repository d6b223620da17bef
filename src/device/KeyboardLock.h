#pragma once

// An advisory lock on one keyboard, shared by every Korvana program of the user: the protocol
// cannot tell two conversations with one keyboard apart, so each program holds the keyboard's
// lock from the first frame of an operation to its last. The lock is a file named after the
// output port, in the per-user runtime folder; the system drops it with its holder, so a killed
// program leaves nothing held.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace korvana {

class KeyboardLock {
public:
    // The lock of the keyboard behind the output port of that name; lock files live in folder.
    KeyboardLock(const std::filesystem::path& folder, const std::string& outputPortName);
    ~KeyboardLock();
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;

    // Takes the lock, waiting up to timeout while another holder has it; onWait runs once when
    // the wait begins and keepWaiting between tries (it may pump the caller's messages; false
    // ends the wait). False when the lock was not taken. Where no lock file can be made the lock
    // cannot guard anything: true without holding it.
    bool Acquire(std::chrono::milliseconds timeout, const std::function<void()>& onWait,
                 const std::function<bool()>& keepWaiting);
    void Release();
    bool IsHeld() const { return m_bHeld; }
    const std::filesystem::path& Path() const { return m_path; }

    // XDG_RUNTIME_DIR when set, else the temporary folder.
    static std::filesystem::path DefaultFolder();

private:
    enum class Attempt { Taken, Busy, NoFile };
    Attempt TryOnce();

    std::filesystem::path m_path;
    bool m_bHeld = false;
#ifdef _WIN32
    void* m_hFile = nullptr;
#else
    int m_nFd = -1;
#endif
};

}  // namespace korvana

#include "device/KeyboardLock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace korvana {
namespace fs = std::filesystem;

namespace {

// Between tries of a held lock: short enough not to slow the next operation down noticeably.
constexpr std::chrono::milliseconds kRetryInterval{20};

// Port names may hold any character: the file is named by a hash of the name.
std::string LockFileName(const std::string& portName) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : portName) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char name[48];
    std::snprintf(name, sizeof name, "korvana-keyboard-%016llx.lock",
                  static_cast<unsigned long long>(hash));
    return name;
}

}  // namespace

KeyboardLock::KeyboardLock(const fs::path& folder, const std::string& outputPortName)
    : m_path(folder / LockFileName(outputPortName)) {}

KeyboardLock::~KeyboardLock() {
    Release();
}

fs::path KeyboardLock::DefaultFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime)
        return runtime;
    std::error_code ec;
    return fs::temp_directory_path(ec);
}

bool KeyboardLock::Acquire(std::chrono::milliseconds timeout, const std::function<void()>& onWait,
                           const std::function<bool()>& keepWaiting) {
    if (m_bHeld)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool waiting = false;
    for (Attempt attempt = TryOnce(); attempt != Attempt::Taken; attempt = TryOnce()) {
        if (attempt == Attempt::NoFile)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (!waiting && onWait)
            onWait();
        waiting = true;
        if (keepWaiting && !keepWaiting())
            return false;
        std::this_thread::sleep_for(kRetryInterval);
    }
    return true;
}

#ifdef _WIN32

KeyboardLock::Attempt KeyboardLock::TryOnce() {
    if (!m_hFile) {
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return Attempt::NoFile;
        m_hFile = file;
    }
    OVERLAPPED at{};
    if (!LockFileEx(static_cast<HANDLE>(m_hFile),
                    LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at))
        return Attempt::Busy;
    m_bHeld = true;
    return Attempt::Taken;
}

void KeyboardLock::Release() {
    if (!m_hFile)
        return;
    if (m_bHeld) {
        OVERLAPPED at{};
        UnlockFileEx(static_cast<HANDLE>(m_hFile), 0, 1, 0, &at);
    }
    CloseHandle(static_cast<HANDLE>(m_hFile));
    m_hFile = nullptr;
    m_bHeld = false;
}

#else

KeyboardLock::Attempt KeyboardLock::TryOnce() {
    if (m_nFd < 0) {
        // Never through a link: the lock file is ours alone.
        m_nFd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (m_nFd < 0)
            return Attempt::NoFile;
    }
    if (flock(m_nFd, LOCK_EX | LOCK_NB) != 0)
        return Attempt::Busy;
    m_bHeld = true;
    return Attempt::Taken;
}

void KeyboardLock::Release() {
    if (m_nFd < 0)
        return;
    // Closing the file drops the lock; the file stays for the next holder.
    close(m_nFd);
    m_nFd = -1;
    m_bHeld = false;
}

#endif

}  // namespace korvana

#include "cli/InterruptStop.h"

#include <atomic>
#include <csignal>

#include "device/CMidiTrans.h"

namespace korvana::cli {
namespace {

// A signal handler may touch nothing but lock-free atomics.
std::atomic<CMidiTrans*> g_interruptedLink{nullptr};
static_assert(std::atomic<CMidiTrans*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free, "CMidiTrans::RequestStop stores one");

extern "C" void OnInterrupt(int /*signal*/) {
    if (CMidiTrans* link = g_interruptedLink.load()) {
        link->RequestStop();
    }
    std::signal(SIGINT, SIG_DFL);
}

}  // namespace

StopOnInterrupt::StopOnInterrupt(CMidiTrans& link) {
    g_interruptedLink.store(&link);
    m_previous = std::signal(SIGINT, OnInterrupt);
    if (m_previous == SIG_IGN) {
        std::signal(SIGINT, SIG_IGN);
    }
}

StopOnInterrupt::~StopOnInterrupt() {
    std::signal(SIGINT, m_previous == SIG_ERR ? SIG_DFL : m_previous);
    g_interruptedLink.store(nullptr);
}

}  // namespace korvana::cli

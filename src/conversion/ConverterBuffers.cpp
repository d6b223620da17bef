#include "ConverterBuffers.h"

#include <atomic>

namespace korvana {
namespace {

// Keeps one returned set for the next converter; freed when the process ends.
class SpareBuffers {
public:
    ~SpareBuffers() { delete m_pSpare.exchange(nullptr); }
    ConverterBuffers* Take() { return m_pSpare.exchange(nullptr); }
    void Give(ConverterBuffers* buffers) { delete m_pSpare.exchange(buffers); }

private:
    std::atomic<ConverterBuffers*> m_pSpare{nullptr};
};

SpareBuffers& Spare() {
    static SpareBuffers spare;
    return spare;
}

}  // namespace

void ConverterBuffersRecycler::operator()(ConverterBuffers* buffers) const noexcept {
    Spare().Give(buffers);
}

ConverterBuffersPtr AcquireConverterBuffers() {
    ConverterBuffers* buffers = Spare().Take();
    // Default-initialised on purpose: a fresh set stays untouched until a conversion writes it.
    return ConverterBuffersPtr(buffers ? buffers : new ConverterBuffers);
}

}  // namespace korvana

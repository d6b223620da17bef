#include "TerminalProgress.h"

#include <algorithm>

#ifdef _WIN32
#include <io.h>
#define KORVANA_ISATTY(fd) _isatty(fd)
#define KORVANA_FILENO(stream) _fileno(stream)
#else
#include <unistd.h>
#define KORVANA_ISATTY(fd) isatty(fd)
#define KORVANA_FILENO(stream) fileno(stream)
#endif

#include "SysExChunks.h"

namespace korvana::cli {

bool IsTerminal(std::FILE* stream) {
    return KORVANA_ISATTY(KORVANA_FILENO(stream)) != 0;
}

TerminalProgress::TerminalProgress(CMidiDevice& device, std::size_t imageSize)
    : m_device(device), m_bShown(IsTerminal(stderr)) {
    // The header is one message; the data frame is the image packed, plus 12 bytes.
    const std::size_t dataFrame = 2 * imageSize + 12;
    m_nTotal =
        1 + (dataFrame <= kFirstPieceSize
                 ? 1
                 : 1 + (dataFrame - kFirstPieceSize + kLaterPieceSize - 1) / kLaterPieceSize);
    if (!m_bShown)
        return;
    m_device.SetProgress([this] { Step(); });
    g_bProgressNotify = 1;
}

TerminalProgress::~TerminalProgress() {
    if (!m_bShown)
        return;
    g_bProgressNotify = 0;
    m_device.SetProgress(nullptr);
    std::fputs("\n", stderr);
}

void TerminalProgress::Step() {
    ++m_nDone;
    std::fprintf(stderr, "\rSending %3zu%%", std::min<std::size_t>(100, m_nDone * 100 / m_nTotal));
    std::fflush(stderr);
}

SlotProgressLine::SlotProgressLine(const char* verb) : m_verb(verb), m_bShown(IsTerminal(stdout)) {}

SlotProgressLine::~SlotProgressLine() {
    if (m_bStarted)
        std::fputs("\n", stdout);
}

SlotProgressFunction SlotProgressLine::Function() {
    if (!m_bShown)
        return {};
    return [this](const SlotProgress& progress) { Report(progress); };
}

void SlotProgressLine::Report(const SlotProgress& progress) {
    m_bStarted = true;
    // "\033[K" clears what a longer line before left behind.
    std::printf("\r%s slot %d (%zu of %zu): %zu of %zu bytes\033[K", m_verb, progress.slot,
                progress.index, progress.count, progress.bytesDone, progress.bytesTotal);
    std::fflush(stdout);
}

}  // namespace korvana::cli

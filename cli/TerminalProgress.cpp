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

namespace korvana::cli {

bool IsTerminal(std::FILE* stream) {
    return KORVANA_ISATTY(KORVANA_FILENO(stream)) != 0;
}

TerminalProgress::TerminalProgress(CMidiTrans& link, std::size_t imageSize)
    : m_link(link), m_bShown(IsTerminal(stderr)), m_nTotal(CMidiTrans::SendSteps(imageSize)) {
    if (m_bShown)
        m_link.SetProgress([this] { Step(); });
}

TerminalProgress::~TerminalProgress() {
    if (!m_bShown)
        return;
    m_link.SetProgress(nullptr);
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

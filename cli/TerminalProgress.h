#pragma once

// Progress shown on a terminal and nowhere else: a send's percentage on standard error as
// acknowledged chunks come in, and a backup's or restore's line on standard output (slot i of
// n and the bytes moved), each overwritten in place.

#include <cstddef>
#include <cstdio>

#include "device/CMidiTrans.h"
#include "device/KeyboardBackup.h"

namespace korvana::cli {

// Whether the stream is a terminal.
bool IsTerminal(std::FILE* stream);

// Installed for the length of one send; silent when standard error is not a terminal.
class TerminalProgress {
public:
    TerminalProgress(CMidiTrans& link, std::size_t imageSize);
    ~TerminalProgress();
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

private:
    void Step();

    CMidiTrans& m_link;
    const bool m_bShown;
    const std::size_t m_nTotal;
    std::size_t m_nDone = 0;
};

// The progress line of a backup or a restore; Report() does nothing when standard output is not
// a terminal.
class SlotProgressLine {
public:
    explicit SlotProgressLine(const char* verb);
    ~SlotProgressLine();
    SlotProgressLine(const SlotProgressLine&) = delete;
    SlotProgressLine& operator=(const SlotProgressLine&) = delete;

    SlotProgressFunction Function();

private:
    void Report(const SlotProgress& progress);

    const char* m_verb;
    const bool m_bShown;
    bool m_bStarted = false;
};

}  // namespace korvana::cli

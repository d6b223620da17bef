#pragma once

// Ctrl+C during a keyboard command ends its transfer after the chunk or block in flight, as the
// window's Cancel does, so that the command can still say what the slot holds; a second Ctrl+C
// ends the program at once. A program started with Ctrl+C ignored (in the background) keeps
// ignoring it.

namespace korvana {
class CMidiTrans;
}

namespace korvana::cli {

// The exit status of a command that Ctrl+C stopped: the shell's own for an interrupted program.
constexpr int kExitInterrupted = 130;

class StopOnInterrupt {
public:
    explicit StopOnInterrupt(CMidiTrans& link);
    ~StopOnInterrupt();
    StopOnInterrupt(const StopOnInterrupt&) = delete;
    StopOnInterrupt& operator=(const StopOnInterrupt&) = delete;

private:
    void (*m_previous)(int);  // what Ctrl+C did before
};

}  // namespace korvana::cli

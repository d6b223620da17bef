#pragma once

// The simulated keyboard inside this process, on the far end of a loopback cable: the window
// offers it as a port pair of its own, and tests drive whole transfers through it.

#include <filesystem>
#include <memory>
#include <optional>

#include "device/LoopbackBackend.h"
#include "simulator/KeyboardSimulator.h"
#include "simulator/SlotStore.h"

namespace korvana {

// The name under which the in-process keyboard appears in the port lists.
inline constexpr const char* kSimulatedPortName = "Korvana Keyboard (simulated)";

class SimulatedKeyboard {
public:
    // splitSize > 0 delivers every message to both sides in buffers of at most that size.
    explicit SimulatedKeyboard(SimulatorOptions options = {},
                               std::optional<std::filesystem::path> storeFolder = std::nullopt,
                               std::size_t splitSize = 0);
    ~SimulatedKeyboard();
    SimulatedKeyboard(const SimulatedKeyboard&) = delete;
    SimulatedKeyboard& operator=(const SimulatedKeyboard&) = delete;

    // The program's end of the cable (one input and one output, both kSimulatedPortName).
    // Available once.
    std::unique_ptr<MidiBackend> TakeProgramSide();

    KeyboardSimulator& Simulator() { return m_simulator; }
    SlotStore& Store() { return m_store; }
    bool Loaded() const { return m_bLoaded; }

private:
    SlotStore m_store;
    bool m_bLoaded;
    LoopbackCable m_cable;
    KeyboardSimulator m_simulator;
};

// A backend that lists the ports of real (which may be null) and, after them, the simulated
// keyboard's pair; opening that pair talks to a keyboard living in this process, whose slots are
// kept in storeFolder when one is given.
std::unique_ptr<MidiBackend> WithSimulatedKeyboard(
    std::unique_ptr<MidiBackend> real, SimulatorOptions options = {},
    std::optional<std::filesystem::path> storeFolder = std::nullopt);

}  // namespace korvana

#pragma once

// The window's link to the keyboard: over the system's MIDI ports followed by the built-in
// simulated keyboard, waiting with the window's event loop running.

#include <chrono>
#include <filesystem>
#include <memory>

#include "device/CMidiTrans.h"
#include "device/MidiBackend.h"

namespace korvana {

// How often a wait lets the window process its events at the least.
constexpr std::chrono::milliseconds kPumpInterval{10};

// Lets the window repaint and take commands between the polls of a wait, at most every few
// milliseconds so that a fast link is not slowed down.
PumpFunction MakeWindowPump();

// Installs backend as the link's MIDI system; every wait of the link then lets the window
// repaint and take commands (which the link refuses while it is not idle).
void AttachToWindow(CMidiTrans& link, std::unique_ptr<MidiBackend> backend);

// The system's MIDI ports (KORVANA_MIDI_API names the MIDI system, else the platform's
// default), then "Korvana Keyboard (simulated)" with its slots kept in storeFolder. Without a
// reachable MIDI system only the simulated keyboard is listed.
std::unique_ptr<MidiBackend> MakeWindowBackend(const std::filesystem::path& storeFolder);

// Where the simulated keyboard keeps its slots: in the per-user data folder.
std::filesystem::path SimulatedKeyboardStore();

}  // namespace korvana

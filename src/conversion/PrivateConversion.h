#pragma once

// Runs the converter on a song in memory, so that checking or sending a song never writes
// anything: nothing is left or clobbered beside the user's file. The outcome carries the image a
// send transfers.

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "conversion/ConversionOptions.h"
#include "conversion/ConversionOutcome.h"

namespace korvana {

// A file that cannot be read is refused with the log entry "FILE: cannot be read (REASON)".
ConversionOutcome ConvertPrivately(const std::filesystem::path& file,
                                   ConversionOptions options = ConversionOptions::Application());
// The song's bytes under a name that the log entries give.
ConversionOutcome ConvertPrivately(const std::string& name, std::span<const std::uint8_t> bytes,
                                   ConversionOptions options = ConversionOptions::Application());

}  // namespace korvana

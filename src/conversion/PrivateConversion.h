#pragma once

// Runs the converter on a private in-memory copy of a song, so that checking or sending a song
// never writes anything: nothing is left or clobbered beside the user's file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace korvana {

// The converter's options; the defaults are the application's (repository check and send).
struct ConversionOptions {
    bool binaryOutput = true;
    bool shortPartSetup = false;
    bool rawDrumProgram = false;
    bool dumpEvents = false;
};

struct PrivateConversion {
    bool result = false;              // the converter's own return value
    std::vector<std::string> errors;  // the error log in order; entries name the file as given
    // The control file's bytes followed by the pattern file's: the image a send transfers.
    // Filled only for an accepted song converted with binary output.
    std::vector<std::uint8_t> image;

    bool Accepted() const { return errors.empty(); }
};

// Message boxes raised by the converter go through the process's prompt as usual.
PrivateConversion ConvertPrivately(const std::filesystem::path& file,
                                   const ConversionOptions& options = {});

}  // namespace korvana

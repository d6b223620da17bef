// libFuzzer target: any bytes as a song, through the reader, the event dumps and the whole
// converter, all in memory. The option bits come from the input's length, so every option is
// exercised.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "conversion/CMidiPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);

    // The song-name readers' sequence, then the dumps' walks over every track and the merge.
    korvana::CMidiReader reader;
    reader.LoadBytes(bytes);
    if (reader.ReadHeader() == korvana::CMidiReader::kHeaderOk) {
        if (reader.ReadTracks())
            (void)reader.GetSongName();
        reader.MergeTracks();
        if ((size & 0x38) == 0x38) {
            const auto discard = [](std::string_view) {};
            reader.DumpTrackEvents(discard);
            reader.DumpAllEvents(discard);
        }
    }

    korvana::ConversionOptions options;
    options.m_bBinaryOutput = !(size & 1);
    options.m_bShortPartSetup = size & 2;
    options.m_bRawDrumProgram = size & 4;
    options.m_bWriteFiles = false;
    korvana::CMidiPattern converter(options);
    converter.AddInputBytes("song.mid", bytes);
    converter.Convert();
    return 0;
}

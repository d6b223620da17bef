// libFuzzer target: any bytes as a song file, through the reader and the whole converter.
// The option bits come from the input's length, so every option is exercised.

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "CMidiPattern.h"
#include "Prompt.h"
#include "SafeFile.h"

namespace {

// Message boxes are expected for bad songs; a fuzz run has nobody to show them to.
class SilentPrompt : public korvana::IPrompt {
public:
    using IPrompt::Message;
    void Message(std::string_view, std::string_view, korvana::PromptIcon) override {}
    korvana::PromptAnswer Ask(std::string_view, korvana::PromptButtons) override {
        return korvana::PromptAnswer::No;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const korvana::TempFolder folder;
    static SilentPrompt silent;
    static const korvana::ScopedPrompt scope(silent);
    const std::string path = (folder.Path() / "song.mid").string();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    // The song-name readers' sequence.
    korvana::CMidiReader reader;
    reader.m_strFileName = path;
    if (reader.LoadFile() && reader.ReadHeader() == korvana::CMidiReader::kHeaderOk &&
        reader.ReadTracks())
        (void)reader.GetSongName();

    korvana::CMidiPattern converter;
    converter.m_bBinaryOutput = !(size & 1);
    converter.m_bShortPartSetup = size & 2;
    converter.m_bRawDrumProgram = size & 4;
    converter.m_bDumpEvents = (size & 0x38) == 0x38;
    converter.AddInputFile(path);
    converter.Convert();
    return 0;
}

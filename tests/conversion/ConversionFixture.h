#pragma once

// Runs the converter on bytes written to a private folder and keeps what it produced.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CMidiPattern.h"
#include "RecordingPrompt.h"
#include "SafeFile.h"
#include "SmfBytes.h"

namespace korvana::test {

struct ConversionOptionsForTest {
    bool binary = true;
    bool shortSetup = false;
    bool rawDrum = false;
    bool dump = false;
};

class ConversionTest : public ::testing::Test {
protected:
    std::string SongPath() const { return (m_folder.Path() / "song.mid").string(); }
    std::string OutputPath(const char* extension) const {
        return (m_folder.Path() / "song.").string() + extension;
    }

    // Converts bytes as song.mid; the converter stays for inspection in m_converter.
    bool Convert(const Bytes& bytes, ConversionOptionsForTest options = {}) {
        WriteBytes(SongPath(), bytes);
        m_converter.m_bBinaryOutput = options.binary;
        m_converter.m_bShortPartSetup = options.shortSetup;
        m_converter.m_bRawDrumProgram = options.rawDrum;
        m_converter.m_bDumpEvents = options.dump;
        m_converter.AddInputFile(SongPath());
        const ScopedPrompt scope(m_prompt);
        return m_converter.Convert();
    }
    const std::vector<std::string>& Errors() const { return m_converter.m_errors; }
    const std::vector<std::string>& Messages() const { return m_prompt.m_texts; }
    Bytes ControlFile() const { return ReadBytes(OutputPath("dat")); }
    Bytes PatternFile() const { return ReadBytes(OutputPath("sty")); }
    // The pattern data after the 16-byte binary header.
    Bytes Streams() const {
        const Bytes data = PatternFile();
        return data.size() > 16 ? Bytes(data.begin() + 16, data.end()) : Bytes{};
    }

    TempFolder m_folder;
    RecordingPrompt m_prompt;
    CMidiPattern m_converter;
};

}  // namespace korvana::test

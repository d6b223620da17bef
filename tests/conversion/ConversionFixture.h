#pragma once

// Runs the converter on bytes written to a private folder and keeps what it produced: the
// outcome, and the output files beside the song.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "SmfBytes.h"
#include "common/SafeFile.h"
#include "conversion/CMidiPattern.h"

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

    // Expected log entries written with "%p" for the song's path.
    std::vector<std::string> WithSongPath(std::vector<std::string> entries) const {
        for (std::string& entry : entries) {
            if (const auto at = entry.find("%p"); at != std::string::npos)
                entry.replace(at, 2, SongPath());
        }
        return entries;
    }
    std::string OutputPath(const char* extension) const {
        return (m_folder.Path() / "song.").string() + extension;
    }

    // Converts bytes as song.mid; the converter stays for inspection in Converter(). Returns
    // the converter's result.
    bool Convert(const Bytes& bytes, ConversionOptionsForTest options = {}) {
        WriteBytes(SongPath(), bytes);
        Converter().m_options.m_bBinaryOutput = options.binary;
        Converter().m_options.m_bShortPartSetup = options.shortSetup;
        Converter().m_options.m_bRawDrumProgram = options.rawDrum;
        Converter().m_options.m_bDumpEvents = options.dump;
        Converter().AddInputFile(SongPath());
        return ConvertInputs();
    }
    // Converts what Converter() was given.
    bool ConvertInputs() {
        m_outcome = Converter().Convert();
        return m_outcome.result;
    }
    CMidiPattern& Converter() { return *m_pConverter; }
    const CMidiPattern& Converter() const { return *m_pConverter; }
    // A fresh converter and outcome for the next case of a table.
    void Renew() {
        m_pConverter = std::make_unique<CMidiPattern>();
        m_outcome = ConversionOutcome();
    }
    std::vector<std::string> Errors() const { return m_outcome.Errors(); }
    std::vector<std::string> Messages() const { return m_outcome.Messages(); }
    Bytes ControlFile() const { return ReadBytes(OutputPath("dat")); }
    Bytes PatternFile() const { return ReadBytes(OutputPath("sty")); }
    // The pattern data after the 16-byte binary header.
    Bytes Streams() const {
        const Bytes data = PatternFile();
        return data.size() > 16 ? Bytes(data.begin() + 16, data.end()) : Bytes{};
    }

    TempFolder m_folder;
    ConversionOutcome m_outcome;
    std::unique_ptr<CMidiPattern> m_pConverter = std::make_unique<CMidiPattern>();
};

}  // namespace korvana::test

// Cut and damaged copies of the sample songs: each is accepted or refused, never read past its
// end (the sanitizer run replays these), and an accepted one leaves consistent outputs.

#include <filesystem>

#include "ConversionFixture.h"

namespace korvana {
namespace {

namespace fs = std::filesystem;
using test::Bytes;

std::vector<fs::path> Samples() {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(KORVANA_SAMPLES)) {
        const std::string extension = entry.path().extension().string();
        if (extension == ".mid" || extension == ".MID")
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

class DamagedSongs : public test::ConversionTest {
protected:
    // Converts bytes with a fresh converter and checks what an outcome must look like.
    void ConvertAndCheck(const Bytes& bytes) {
        Renew();
        fs::remove(OutputPath("sty"));
        const bool result = Convert(bytes);
        if (!Errors().empty())
            return;
        ASSERT_TRUE(result);
        const Bytes control = ControlFile();
        const Bytes pattern = PatternFile();
        ASSERT_EQ(control.size(), 82u);
        EXPECT_EQ(pattern.size(), Converter().m_control.dwDataSize);
        EXPECT_EQ(pattern.size() % 2, 0u);
        EXPECT_EQ(control[80] | control[81] << 8, static_cast<int>(pattern.size()));
    }
};

TEST_F(DamagedSongs, SamplesAreAsNamed) {
    const auto samples = Samples();
    ASSERT_GE(samples.size(), 10u);
    for (const fs::path& sample : samples) {
        SCOPED_TRACE(sample.filename().string());
        ConvertAndCheck(test::ReadBytes(sample));
        const bool refusedByName = sample.filename().string().rfind("refused-", 0) == 0;
        EXPECT_EQ(Errors().empty(), !refusedByName);
    }
}

TEST_F(DamagedSongs, EveryPrefixOfEverySample) {
    for (const fs::path& sample : Samples()) {
        const Bytes whole = test::ReadBytes(sample);
        for (std::size_t length = 0; length < whole.size(); ++length) {
            SCOPED_TRACE(sample.filename().string() + " cut to " + std::to_string(length));
            ConvertAndCheck(Bytes(whole.begin(), whole.begin() + static_cast<long>(length)));
            // Every cut of a well-formed file breaks its chunk walk.
            EXPECT_FALSE(Errors().empty());
        }
    }
}

TEST_F(DamagedSongs, EverySingleByteChangeOfTwoSamples) {
    for (const char* name : {"refused-no-tempo.mid", "drum-loop-format0.mid"}) {
        const Bytes whole = test::ReadBytes(fs::path(KORVANA_SAMPLES) / name);
        for (std::size_t at = 0; at < whole.size(); ++at) {
            for (int value = 0; value < 256; ++value) {
                if (value == whole[at])
                    continue;
                Bytes changed = whole;
                changed[at] = static_cast<std::uint8_t>(value);
                SCOPED_TRACE(std::string(name) + " byte " + std::to_string(at) + " = " +
                             std::to_string(value));
                ConvertAndCheck(changed);
                if (HasFatalFailure())
                    return;
            }
        }
    }
}

TEST_F(DamagedSongs, TellingByteChangesOfEverySample) {
    for (const fs::path& sample : Samples()) {
        const Bytes whole = test::ReadBytes(sample);
        for (std::size_t at = 0; at < whole.size(); ++at) {
            const std::uint8_t b = whole[at];
            for (const int value : {0x00, 0x7F, 0x80, 0xF0, 0xF7, 0xFF, b ^ 0x80, b + 1, b - 1}) {
                Bytes changed = whole;
                changed[at] = static_cast<std::uint8_t>(value);
                SCOPED_TRACE(sample.filename().string() + " byte " + std::to_string(at));
                ConvertAndCheck(changed);
                if (HasFatalFailure())
                    return;
            }
        }
    }
}

}  // namespace
}  // namespace korvana

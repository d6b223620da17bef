// The backup manifest: written in the agreed layout, read back to the same values, and every
// kind of damage refused with a reason.

#include <gtest/gtest.h>

#include "device/BackupManifest.h"

namespace korvana {
namespace {

const std::string kDigest(64, 'a');

BackupManifest Sample() {
    BackupManifest manifest;
    manifest.device = "Korvana \"K\" \\ 1";
    manifest.created = "2026-12-07T20:05:09Z";
    manifest.backedUp = {{0, "Bossa \x01\n", "slot-000.mix", 98, kDigest},
                         {255, "Caf\xc3\xa9", "slot-255.mix", 65617, std::string(64, '0')}};
    manifest.empty = {1, 2, 254};
    return manifest;
}

TEST(BackupManifest, FileNamesAndTimes) {
    EXPECT_EQ(BackupFileName(0), "slot-000.mix");
    EXPECT_EQ(BackupFileName(7), "slot-007.mix");
    EXPECT_EQ(BackupFileName(255), "slot-255.mix");
    using namespace std::chrono;
    // 2026-12-07 20:05:09.999 UTC: seconds are cut, not rounded.
    const sys_days day = year{2026} / December / 7;
    EXPECT_EQ(ManifestTime(day + hours{20} + minutes{5} + seconds{9} + milliseconds{999}),
              "2026-12-07T20:05:09Z");
}

TEST(BackupManifest, LayoutAndRoundTrip) {
    BackupManifest manifest = Sample();
    const std::string text = ManifestJson(manifest);
    // Keys in the agreed order, control characters escaped, "failed" only when some failed.
    EXPECT_LT(text.find("\"format\": \"korvana-backup\""), text.find("\"version\": 1"));
    EXPECT_LT(text.find("\"version\""), text.find("\"device\": \"Korvana \\\"K\\\" \\\\ 1\""));
    EXPECT_LT(text.find("\"created\""), text.find("\"slots\""));
    EXPECT_LT(text.find("\"slots\""), text.find("\"empty\""));
    EXPECT_NE(text.find("\"Bossa \\u0001\\n\""), std::string::npos);
    EXPECT_EQ(text.find("failed"), std::string::npos);
    std::string error;
    EXPECT_EQ(ParseManifest(text, error), manifest) << error;

    manifest.failed = {3, 200};
    const std::string withFailures = ManifestJson(manifest);
    EXPECT_NE(withFailures.find("\"failed\""), std::string::npos);
    EXPECT_EQ(ParseManifest(withFailures, error), manifest) << error;
}

TEST(BackupManifest, NamesThatAreNotUtf8BecomeReplacementCharacters) {
    BackupManifest manifest = Sample();
    manifest.backedUp[0].name =
        "Fa\xe7"
        "ade";  // Latin-1, as a keyboard may send it
    std::string error;
    const std::optional<BackupManifest> read = ParseManifest(ManifestJson(manifest), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->backedUp[0].name,
              "Fa\xef\xbf\xbd"
              "ade");
}

TEST(BackupManifest, DamageIsRefused) {
    const std::string good = ManifestJson(Sample());
    auto replaced = [&good](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty file", ""},
        {"cut short", good.substr(0, good.size() / 2)},
        {"an array", "[]"},
        {"another format", replaced("korvana-backup", "other-backup")},
        {"a later version", replaced("\"version\": 1", "\"version\": 2")},
        {"no device", replaced("\"device\"", "\"devices\"")},
        {"slot past 255", replaced("\"slot\": 255", "\"slot\": 256")},
        {"negative slot", replaced("\"slot\": 0", "\"slot\": -1")},
        {"slot as text", replaced("\"slot\": 0", "\"slot\": \"0\"")},
        {"file in a parent folder", replaced("slot-000.mix", "../slot-000.mix")},
        {"file in a sub-folder", replaced("slot-000.mix", "a\\\\slot-000.mix")},
        {"file named ..", replaced("slot-000.mix", "..")},
        {"negative size", replaced("\"size\": 98", "\"size\": -98")},
        {"short digest", replaced(kDigest, kDigest.substr(1))},
        {"digest in capitals", replaced(kDigest, std::string(64, 'A'))},
        {"slot listed twice", replaced("\"slot\": 255", "\"slot\": 0")},
        {"file listed twice", replaced("slot-255.mix", "slot-000.mix")},
        {"occupied slot also empty", replaced("254", "255")},
        {"empty slot past 255", replaced("254", "300")},
    };
    for (const auto& [what, text] : cases) {
        std::string error;
        EXPECT_FALSE(ParseManifest(text, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
    }
}

}  // namespace
}  // namespace korvana

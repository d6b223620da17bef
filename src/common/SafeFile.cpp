#include "SafeFile.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <system_error>

namespace korvana {
namespace fs = std::filesystem;

namespace {

std::string UniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    static const auto seed = std::random_device{}();
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::to_string(seed) + "-" + std::to_string(now) + "-" + std::to_string(++counter);
}

fs::path TemporarySibling(const fs::path& target) {
    // Joined as paths, so the name keeps every letter whatever the system's code page.
    fs::path name = ".";
    name += target.filename();
    name += ".part-" + UniqueSuffix();
    return target.parent_path() / name;
}

bool RenameOver(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (ec) {
        fs::remove(from, ec);
        return false;
    }
    return true;
}

// The bytes in a new temporary file beside target; its path, or nothing (and no file) on failure.
std::optional<fs::path> WriteTemporarySibling(const fs::path& target,
                                              std::span<const std::uint8_t> bytes) {
    const fs::path temp = TemporarySibling(target);
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out)
        return std::nullopt;
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
        out.close();
        std::error_code ec;
        fs::remove(temp, ec);
        return std::nullopt;
    }
    return temp;
}

bool Occupied(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0)
        return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size))
        return std::nullopt;
    return bytes;
}

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    const std::optional<fs::path> temp = WriteTemporarySibling(path, bytes);
    return temp && RenameOver(*temp, path);
}

NewFileResult WriteNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (Occupied(path))
        return NewFileResult::Exists;
    const std::optional<fs::path> temp = WriteTemporarySibling(path, bytes);
    if (!temp)
        return NewFileResult::Failed;
    // A hard link is made only where nothing stands, so a file that appeared meanwhile is kept.
    std::error_code ec;
    fs::create_hard_link(*temp, path, ec);
    const bool linked = !ec;
    if (linked || Occupied(path)) {
        fs::remove(*temp, ec);
        return linked ? NewFileResult::Written : NewFileResult::Exists;
    }
    // A folder that holds no links: the file is renamed into place instead.
    return RenameOver(*temp, path) ? NewFileResult::Written : NewFileResult::Failed;
}

bool CopyFileAtomically(const fs::path& source, const fs::path& target) {
    const fs::path temp = TemporarySibling(target);
    std::error_code ec;
    if (!fs::copy_file(source, temp, fs::copy_options::overwrite_existing, ec)) {
        fs::remove(temp, ec);
        return false;
    }
    return RenameOver(temp, target);
}

TempFolder::TempFolder() {
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return;
    for (int attempt = 0; attempt < 16; ++attempt) {
        fs::path candidate = base / ("korvana-" + UniqueSuffix());
        if (fs::create_directory(candidate, ec) && !ec) {
            m_path = candidate;
            return;
        }
    }
}

TempFolder::~TempFolder() {
    if (m_path.empty())
        return;
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

}  // namespace korvana

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
    const fs::path temp = TemporarySibling(path);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            fs::remove(temp, ec);
            return false;
        }
    }
    return RenameOver(temp, path);
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

#include "common/SafeFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <random>

#include "common/InputFile.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

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

bool Occupied(const fs::path& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

#ifdef _WIN32
long WriteSome(int fd, const std::uint8_t* bytes, std::size_t count) {
    return _write(fd, bytes, static_cast<unsigned>(std::min<std::size_t>(count, 1u << 30)));
}
int CloseFile(int fd) {
    return _close(fd);
}
#else
long WriteSome(int fd, const std::uint8_t* bytes, std::size_t count) {
    return ::write(fd, bytes, count);
}
int CloseFile(int fd) {
    return ::close(fd);
}
#endif

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path,
                                                       std::error_code& error) {
    InputFile file(path);
    error = file.Error();
    if (!error && file.Size() > SIZE_MAX)
        error = std::make_error_code(std::errc::file_too_large);
    if (error)
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(file.Size()));
    if (!file.Read(bytes)) {
        error = std::make_error_code(std::errc::io_error);
        return std::nullopt;
    }
    return bytes;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path) {
    std::error_code error;
    return ReadWholeFile(path, error);
}

AtomicFileWriter::AtomicFileWriter(fs::path target)
    : m_target(std::move(target)), m_temp(TemporarySibling(m_target)) {
    // A new file of our own: never an existing file or a link planted under the temporary name.
#ifdef _WIN32
    m_nFd = _wopen(m_temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                   _S_IREAD | _S_IWRITE);
#else
    m_nFd = ::open(m_temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
#endif
    if (m_nFd < 0)
        m_error = LastError();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (m_nFd < 0)
        return;
    CloseFile(m_nFd);
    std::error_code ec;
    fs::remove(m_temp, ec);
}

bool AtomicFileWriter::Write(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (!m_error && done < bytes.size()) {
        const long written = WriteSome(m_nFd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            m_error = LastError();
        else if (written == 0)
            m_error = std::make_error_code(std::errc::io_error);
        done += written > 0 ? static_cast<std::size_t>(written) : 0;
    }
    return !m_error;
}

bool AtomicFileWriter::CloseTemporary() {
    if (m_error)
        return false;
    const bool closed = CloseFile(m_nFd) == 0;
    m_nFd = -1;
    if (!closed) {
        m_error = LastError();
        std::error_code ec;
        fs::remove(m_temp, ec);
    }
    return closed;
}

bool AtomicFileWriter::Commit() {
    if (!CloseTemporary())
        return false;
    std::error_code ec;
    fs::rename(m_temp, m_target, ec);  // replaces a link at the target, never its target
    if (ec) {
        m_error = ec;
        fs::remove(m_temp, ec);
        return false;
    }
    return true;
}

NewFileResult AtomicFileWriter::CommitNew() {
    if (!CloseTemporary())
        return NewFileResult::Failed;
    // A hard link is made only where nothing stands, so a file that appeared meanwhile is kept.
    std::error_code ec;
    fs::create_hard_link(m_temp, m_target, ec);
    const bool linked = !ec;
    if (linked || Occupied(m_target)) {
        fs::remove(m_temp, ec);
        return linked ? NewFileResult::Written : NewFileResult::Exists;
    }
    // A folder that holds no links: the file is renamed into place instead.
    fs::rename(m_temp, m_target, ec);
    if (ec) {
        m_error = ec;
        fs::remove(m_temp, ec);
        return NewFileResult::Failed;
    }
    return NewFileResult::Written;
}

std::error_code CheckReplaceable(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::is_directory(status))
        return std::make_error_code(std::errc::is_a_directory);
    if (fs::exists(status) && !fs::is_regular_file(status) && !fs::is_symlink(status))
        return NotRegularFileError();
    const AtomicFileWriter probe(target);
    return probe.Error();
}

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    AtomicFileWriter writer(path);
    return writer.Write(bytes) && writer.Commit();
}

NewFileResult WriteNewFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (Occupied(path))
        return NewFileResult::Exists;
    AtomicFileWriter writer(path);
    if (!writer.Write(bytes))
        return NewFileResult::Failed;
    return writer.CommitNew();
}

bool CopyFileAtomically(const fs::path& source, const fs::path& target) {
    const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(source);
    return bytes && WriteFileAtomically(target, *bytes);
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

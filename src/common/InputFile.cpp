#include "common/InputFile.h"

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace korvana {
namespace {

class InputFileCategory : public std::error_category {
public:
    const char* name() const noexcept override { return "input file"; }
    std::string message(int) const override { return "not a regular file"; }
};

}  // namespace

std::error_code NotRegularFileError() {
    static const InputFileCategory category;
    return {1, category};
}

#ifdef _WIN32

InputFile::InputFile(const std::filesystem::path& path) {
    m_nFd = _wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (m_nFd < 0) {
        m_error = std::error_code(errno, std::generic_category());
        return;
    }
    struct _stat64 info {};
    if (_fstat64(m_nFd, &info) != 0) {
        m_error = std::error_code(errno, std::generic_category());
        return;
    }
    if ((info.st_mode & _S_IFMT) != _S_IFREG) {
        m_error = (info.st_mode & _S_IFMT) == _S_IFDIR
                      ? std::make_error_code(std::errc::is_a_directory)
                      : NotRegularFileError();
        return;
    }
    m_nSize = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (m_nFd >= 0)
        _close(m_nFd);
}

bool InputFile::Read(std::span<std::uint8_t> buffer) {
    if (m_error)
        return false;
    std::size_t done = 0;
    while (done < buffer.size()) {
        const unsigned piece =
            static_cast<unsigned>(std::min<std::size_t>(buffer.size() - done, 1u << 30));
        const int got = _read(m_nFd, buffer.data() + done, piece);
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

#else

InputFile::InputFile(const std::filesystem::path& path) {
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    m_nFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_nFd < 0) {
        m_error = std::error_code(errno, std::generic_category());
        return;
    }
    struct stat info {};
    if (::fstat(m_nFd, &info) != 0) {
        m_error = std::error_code(errno, std::generic_category());
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? std::make_error_code(std::errc::is_a_directory)
                                        : NotRegularFileError();
        return;
    }
    m_nSize = static_cast<std::uint64_t>(info.st_size);
}

InputFile::~InputFile() {
    if (m_nFd >= 0)
        ::close(m_nFd);
}

bool InputFile::Read(std::span<std::uint8_t> buffer) {
    if (m_error)
        return false;
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got =
            ::pread(m_nFd, buffer.data() + done, buffer.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        done += static_cast<std::size_t>(got);
    }
    return true;
}

#endif

}  // namespace korvana

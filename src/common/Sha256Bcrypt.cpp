// SHA-256 from the Windows API's BCrypt, for Windows builds, which have no OpenSSL.

#include <windows.h>
// windows.h first: bcrypt.h needs its types.
#include <bcrypt.h>

#include <algorithm>
#include <limits>

#include "common/Sha256.h"

namespace korvana {
namespace {

bool Succeeded(NTSTATUS status) {
    return status >= 0;
}

// The algorithm provider, closed at the end of the scope.
class Sha256Provider {
public:
    Sha256Provider() {
        if (!Succeeded(BCryptOpenAlgorithmProvider(&m_handle, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
            m_handle = nullptr;
    }
    ~Sha256Provider() {
        if (m_handle)
            BCryptCloseAlgorithmProvider(m_handle, 0);
    }
    Sha256Provider(const Sha256Provider&) = delete;
    Sha256Provider& operator=(const Sha256Provider&) = delete;
    BCRYPT_ALG_HANDLE Handle() const { return m_handle; }

private:
    BCRYPT_ALG_HANDLE m_handle = nullptr;
};

}  // namespace

std::optional<Sha256Digest> Sha256(std::span<const std::uint8_t> bytes) {
    Sha256Provider provider;
    if (!provider.Handle())
        return std::nullopt;
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Succeeded(BCryptCreateHash(provider.Handle(), &hash, nullptr, 0, nullptr, 0, 0)))
        return std::nullopt;
    bool ok = true;
    // BCryptHashData takes at most 4 GB per call.
    for (std::size_t at = 0; ok && at < bytes.size();) {
        const std::size_t part =
            std::min<std::size_t>(bytes.size() - at, std::numeric_limits<ULONG>::max());
        ok = Succeeded(BCryptHashData(hash, const_cast<PUCHAR>(bytes.data() + at),
                                      static_cast<ULONG>(part), 0));
        at += part;
    }
    Sha256Digest digest{};
    ok = ok &&
         Succeeded(BCryptFinishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0));
    BCryptDestroyHash(hash);
    if (!ok)
        return std::nullopt;
    return digest;
}

}  // namespace korvana

// SPDX-License-Identifier: GPL-2.0-or-later
#include "hash.h"

#include <windows.h>

#include <bcrypt.h>
#include <stdexcept>

namespace Platform
{

// One algorithm provider for the whole program; each hasher holds a hash object of its own.
struct Sha256::State {
    BCRYPT_HASH_HANDLE hash = nullptr;
    ~State()
    {
        if (hash)
            BCryptDestroyHash(hash);
    }
};

namespace
{

BCRYPT_ALG_HANDLE provider()
{
    static const BCRYPT_ALG_HANDLE algorithm = [] {
        BCRYPT_ALG_HANDLE opened = nullptr;
        if (!BCRYPT_SUCCESS(
                BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
            throw std::runtime_error("The system offers no SHA-256");
        return opened;
    }();
    return algorithm;
}

} // namespace

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    if (!BCRYPT_SUCCESS(BCryptCreateHash(provider(), &m_state->hash, nullptr, 0, nullptr, 0, 0)))
        throw std::runtime_error("The system offers no SHA-256");
}

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes)
{
    // BCryptHashData takes at most 4 GiB at once.
    while (!bytes.empty()) {
        const ULONG chunk = static_cast<ULONG>(std::min<std::size_t>(bytes.size(), 1u << 30));
        BCryptHashData(m_state->hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                       chunk, 0);
        bytes.remove_prefix(chunk);
    }
}

std::string Sha256::hexDigest()
{
    unsigned char digest[32];
    BCryptFinishHash(m_state->hash, digest, sizeof digest, 0);
    return HexOf(digest, sizeof digest);
}

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "hash.h"

#include <nettle/sha2.h>

namespace Platform
{

struct Sha256::State {
    sha256_ctx context;
};

Sha256::Sha256() : m_state(std::make_unique<State>())
{
    sha256_init(&m_state->context);
}

Sha256::~Sha256() = default;

void Sha256::add(std::string_view bytes)
{
    sha256_update(&m_state->context, bytes.size(),
                  reinterpret_cast<const std::uint8_t*>(bytes.data()));
}

std::string Sha256::hexDigest()
{
    unsigned char digest[SHA256_DIGEST_SIZE];
    sha256_digest(&m_state->context, sizeof digest, digest);
    return HexOf(digest, sizeof digest);
}

} // namespace Platform

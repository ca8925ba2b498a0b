// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// SHA-256 from the system's maintained implementation: Nettle here, CNG (BCrypt) on Windows.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Platform
{

class Sha256
{
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(std::string_view bytes);
    // The digest of everything added, as 64 lower-case hexadecimal digits; ends the hashing.
    std::string hexDigest();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// The SHA-256 of a whole file, read to its end; nothing when it cannot be read.
std::optional<std::string> HashFile(const std::filesystem::path& path);

// The block size in which files are read for hashing and copying.
inline constexpr std::size_t FileBlockSize = 1 << 20;

// Lower-case hexadecimal digits of the bytes.
std::string HexOf(const unsigned char* bytes, std::size_t size);

} // namespace Platform

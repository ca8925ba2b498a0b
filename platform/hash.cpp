// SPDX-License-Identifier: GPL-2.0-or-later
#include "hash.h"

#include <fstream>
#include <vector>

namespace Platform
{

std::optional<std::string> HashFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    Sha256 hash;
    std::vector<char> block(FileBlockSize);
    while (file.read(block.data(), static_cast<std::streamsize>(block.size())) || file.gcount() > 0)
        hash.add({block.data(), static_cast<std::size_t>(file.gcount())});
    if (file.bad())
        return std::nullopt;
    return hash.hexDigest();
}

std::string HexOf(const unsigned char* bytes, std::size_t size)
{
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * size);
    for (std::size_t index = 0; index < size; ++index) {
        hex += Digits[bytes[index] >> 4];
        hex += Digits[bytes[index] & 0xF];
    }
    return hex;
}

} // namespace Platform

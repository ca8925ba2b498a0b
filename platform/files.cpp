#include "files.h"

#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{

std::optional<std::string> ReadFileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return std::nullopt;
    const std::streamoff size = in.tellg();
    if (size < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(bytes.data(), size);
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

bool IsReadOnly(const fs::path& path)
{
    std::error_code error;
    const auto status = fs::status(path, error);
    if (error || !fs::exists(status))
        return false;
    constexpr auto writeBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & writeBits) == fs::perms::none;
}

void CreateFolderPath(const fs::path& folder)
{
    std::error_code ignored;
    fs::create_directories(folder, ignored);
}

} // namespace Platform

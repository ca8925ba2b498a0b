#include "files.h"

#include <fstream>
#include <windows.h>

namespace Platform
{

bool ReplaceFileContents(const std::filesystem::path& path, std::string_view bytes)
{
    auto temporary = path;
    temporary += L".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            DeleteFileW(temporary.c_str());
            return false;
        }
    }
    // Keeps the old file's attributes and security on the new one.
    if (std::filesystem::exists(path)) {
        if (ReplaceFileW(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_WRITE_THROUGH,
                         nullptr, nullptr))
            return true;
    } else if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace Platform

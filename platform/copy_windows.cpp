#include "files.h"

#include <windows.h>

namespace fs = std::filesystem;

namespace Platform
{

bool CopyOneFile(const fs::path& from, const fs::path& to, bool replaceExisting)
{
    if (replaceExisting && IsReadOnly(to))
        return false;
    if (!CopyFileW(from.c_str(), to.c_str(), !replaceExisting))
        return false;
    // The copy takes the source's attributes; a read-only one would refuse the next copy.
    const DWORD attributes = GetFileAttributesW(to.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(to.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    return true;
}

} // namespace Platform

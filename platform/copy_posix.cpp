#include "files.h"

#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{

bool CopyOneFile(const fs::path& from, const fs::path& to, bool replaceExisting)
{
    std::error_code error;
    if (!fs::is_regular_file(from, error))
        return false;
    if (fs::exists(to, error) && (!replaceExisting || IsReadOnly(to)))
        return false;
    const auto options =
        replaceExisting ? fs::copy_options::overwrite_existing : fs::copy_options::none;
    if (!fs::copy_file(from, to, options, error))
        return false;
    // A read-only source must not give a read-only copy that the next copy could not replace.
    fs::permissions(to, fs::perms::owner_write, fs::perm_options::add, error);
    return true;
}

} // namespace Platform

// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"

#include <cerrno>

namespace Platform
{

std::string FileErrorText(int errorCode)
{
    switch (errorCode) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return "File access denied";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
    case EFBIG:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(errorCode);
    }
}

} // namespace Platform

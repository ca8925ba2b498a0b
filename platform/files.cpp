// SPDX-License-Identifier: GPL-2.0-or-later
#include "files.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads to the end of the file; false on a read error. The size is only a hint: the file may
// change while it is read.
bool readToEnd(std::FILE* file, std::uintmax_t sizeHint, std::string& bytes)
{
    bytes.resize(static_cast<std::size_t>(sizeHint) + 1);
    std::size_t filled = 0;
    for (;;) {
        filled += std::fread(bytes.data() + filled, 1, bytes.size() - filled, file);
        if (filled < bytes.size())
            break;
        bytes.resize(bytes.size() * 2);
    }
    bytes.resize(filled);
    return !std::ferror(file);
}

} // namespace

std::FILE* OpenFile(const fs::path& path, const char* mode)
{
#ifdef _WIN32
    return _wfopen(path.c_str(),
                   std::wstring(mode, mode + std::char_traits<char>::length(mode)).c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

FileBytes ReadFileBytes(const fs::path& path)
{
    const auto failed = [](ReadOutcome outcome, std::error_code error) {
        return FileBytes{outcome, {}, error};
    };
    const auto errnoCode = [](int fallback) {
        return std::error_code(errno != 0 ? errno : fallback, std::generic_category());
    };
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        return failed(ReadOutcome::Missing,
                      std::make_error_code(std::errc::no_such_file_or_directory));
    if (error)
        return failed(ReadOutcome::Unreadable, error);
    if (!fs::is_regular_file(status)) {
        return failed(ReadOutcome::NotAFile, fs::is_directory(status)
                                                 ? std::make_error_code(std::errc::is_a_directory)
                                                 : std::error_code());
    }

    errno = 0;
    const std::unique_ptr<std::FILE, FileCloser> file(OpenFile(path, "rb"));
    if (!file)
        return failed(errno == ENOENT ? ReadOutcome::Missing : ReadOutcome::Unreadable,
                      errnoCode(EIO));
    const std::uintmax_t size = fs::file_size(path, error);
    FileBytes result{ReadOutcome::Read, std::string(), {}};
    try {
        if (!readToEnd(file.get(), error ? 0 : size, *result.bytes))
            return failed(ReadOutcome::Unreadable, errnoCode(EIO));
    } catch (const std::exception&) { // too large to hold (std::bad_alloc, std::length_error)
        return failed(ReadOutcome::Unreadable, std::make_error_code(std::errc::not_enough_memory));
    }
    return result;
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

int CopyRefusal(const fs::path& from, const fs::path& to, bool replaceExisting)
{
    std::error_code error;
    if (!fs::is_regular_file(from, error))
        return ENOENT;
    if (fs::exists(to, error) && (!replaceExisting || IsReadOnly(to)))
        return replaceExisting ? EACCES : EEXIST;
    return 0;
}

bool CreateFolderPath(const fs::path& folder)
{
    std::error_code error;
    fs::create_directories(folder, error);
    return fs::is_directory(folder, error);
}

} // namespace Platform

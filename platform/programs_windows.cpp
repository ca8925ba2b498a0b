// SPDX-License-Identifier: GPL-2.0-or-later
#include "programs.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>
#include <windows.h>

namespace fs = std::filesystem;

namespace Platform
{

namespace
{

std::wstring environmentValue(const wchar_t* name)
{
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0)
        return {};
    std::wstring value(size, L'\0');
    value.resize(GetEnvironmentVariableW(name, value.data(), size));
    return value;
}

bool isFile(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// dosbox.exe in the folders of PATH, in order. Unlike the system's own search, neither the
// current folder nor this program's folder is looked in: a file dropped there is not run.
fs::path onSearchPath()
{
    const std::wstring folders = environmentValue(L"PATH");
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(L';', start), folders.size());
        std::wstring folder = folders.substr(start, end - start);
        std::erase(folder, L'"');
        start = end + 1;
        if (folder.empty())
            continue;
        if (const fs::path candidate = fs::path(folder) / L"dosbox.exe"; isFile(candidate))
            return candidate;
    }
    return {};
}

// DOSBox's installer makes "DOSBox-<version>" in the program files folder (the 32-bit one on
// 64-bit Windows); the highest version there wins.
fs::path inInstallerFolders()
{
    for (const wchar_t* variable : {L"ProgramFiles(x86)", L"ProgramFiles"}) {
        const std::wstring base = environmentValue(variable);
        if (base.empty())
            continue;
        std::vector<fs::path> installs;
        std::error_code error;
        for (fs::directory_iterator entry(base, error), end; !error && entry != end;
             entry.increment(error)) {
            const std::wstring name = entry->path().filename().wstring();
            if (_wcsnicmp(name.c_str(), L"DOSBox", 6) == 0)
                installs.push_back(entry->path());
        }
        std::sort(installs.rbegin(), installs.rend());
        for (const fs::path& install : installs) {
            if (const fs::path candidate = install / L"DOSBox.exe"; isFile(candidate))
                return candidate;
        }
    }
    return {};
}

std::uint32_t littleEndian32(const unsigned char* bytes)
{
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

} // namespace

bool IsNativeProgram(const fs::path& path)
{
    // An "MZ" header whose offset at 0x3C points at a "PE\0\0" signature. DOS programs are
    // either plain .com images or "MZ" files without that signature.
    std::ifstream file(path, std::ios::binary);
    unsigned char header[64] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || header[0] != 'M' ||
        header[1] != 'Z')
        return false;
    char signature[4] = {};
    file.seekg(littleEndian32(header + 0x3C));
    return file.read(signature, sizeof signature) &&
           std::string_view(signature, sizeof signature) == std::string_view("PE\0\0", 4);
}

bool MayRun(const fs::path&)
{
    return true; // Windows has no run permission; what it cannot start fails at the start
}

fs::path FindDosBox()
{
    if (fs::path found = onSearchPath(); !found.empty())
        return found;
    return inInstallerFolders();
}

fs::path DosBoxPath(const fs::path& path)
{
    const std::wstring& name = path.native();
    BOOL lost = FALSE;
    if (!name.empty() &&
        (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.c_str(),
                             static_cast<int>(name.size()), nullptr, 0, nullptr, &lost) == 0 ||
         lost)) {
        const DWORD size = GetShortPathNameW(name.c_str(), nullptr, 0);
        std::wstring shortName(size, L'\0');
        if (size > 0) {
            shortName.resize(GetShortPathNameW(name.c_str(), shortName.data(), size));
            if (!shortName.empty())
                return shortName;
        }
    }
    return path;
}

fs::path DosBoxUserConfig(const fs::path&)
{
    // DOSBox for Windows prints nothing that another program could read: its file is
    // dosbox-<version>.conf in DOSBox's folder of the local application data, the one written
    // last when several versions have left theirs.
    const std::wstring base = environmentValue(L"LOCALAPPDATA");
    if (base.empty())
        return {};
    fs::path newest;
    fs::file_time_type newestTime{};
    std::error_code error;
    for (fs::directory_iterator entry(fs::path(base) / L"DOSBox", error), end;
         !error && entry != end; entry.increment(error)) {
        const std::wstring name = entry->path().filename().wstring();
        std::error_code timeError;
        const auto written = entry->last_write_time(timeError);
        if (!timeError && _wcsnicmp(name.c_str(), L"dosbox-", 7) == 0 &&
            entry->path().extension() == L".conf" && (newest.empty() || written > newestTime)) {
            newest = entry->path();
            newestTime = written;
        }
    }
    return newest;
}

} // namespace Platform

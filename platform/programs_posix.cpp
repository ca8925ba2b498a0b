// SPDX-License-Identifier: GPL-2.0-or-later
#include "programs.h"

#include "platform/file_path_text.h"
#include "process.h"

#include <fstream>
#include <string_view>

namespace fs = std::filesystem;

namespace Platform
{

bool IsNativeProgram(const fs::path& path)
{
    char magic[4] = {};
    std::ifstream(path, std::ios::binary).read(magic, sizeof magic);
    constexpr std::string_view elfMagic = "\177ELF";
    return std::string_view(magic, 2) == "#!" || std::string_view(magic, 4) == elfMagic;
}

bool MayRun(const fs::path& path)
{
    constexpr auto runBits = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
    std::error_code error;
    return (fs::status(path, error).permissions() & runBits) != fs::perms::none;
}

fs::path FindDosBox()
{
    return FindProgram("dosbox");
}

fs::path DosBoxPath(const fs::path& path)
{
    return path; // DOSBox takes the name's own bytes here
}

fs::path DosBoxUserConfig(const fs::path& dosbox)
{
    // DOSBox prints the file's path (writing the file with its defaults first, as at its first
    // start) and ends.
    using namespace std::chrono_literals;
    const auto output = OutputOf({FilePathText(dosbox), "-printconf"}, 10s);
    if (!output)
        return {};
    std::string path = output->substr(0, output->find('\n'));
    return fs::path(path).is_absolute() ? fs::path(path) : fs::path();
}

} // namespace Platform

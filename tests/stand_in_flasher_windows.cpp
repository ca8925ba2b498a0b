// SPDX-License-Identifier: GPL-2.0-or-later
// The stand-in flasher as a Windows program, for the tests in Wine (tools/stand-in-flasher.sh
// is the same for Linux): it flashes nothing and records in stand-in.log beside itself how it
// was started and what it found staged, tells what it does and writes flash.out. In DOSBox's
// place (named dosbox.exe) it also tells whether each folder it is told to mount can be opened by
// the name it got: its arguments come in the ANSI code page, as DOSBox's do.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <windows.h>

namespace fs = std::filesystem;

int main(int argc, char* argv[])
{
    wchar_t self[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 4);
    const fs::path here = fs::path(std::wstring(self, length)).parent_path();
    const fs::path drive = here.parent_path();
    const fs::path log = here / "stand-in.log";
    {
        std::ofstream out(fs::path(log) += ".new", std::ios::binary);
        out << "started\narguments: " << argc - 1 << '\n';
        for (int i = 1; i < argc; ++i) {
            out << "argument: " << argv[i] << '\n';
            const std::string argument = argv[i];
            if (argument.starts_with("mount ") && argument.size() > 9 && argument.back() == '"') {
                const std::string folder = argument.substr(9, argument.size() - 10);
                const DWORD attributes = GetFileAttributesA(folder.c_str());
                out << "mounted folder: "
                    << (attributes != INVALID_FILE_ATTRIBUTES &&
                                (attributes & FILE_ATTRIBUTE_DIRECTORY)
                            ? "found"
                            : "missing")
                    << '\n';
            }
        }
        out << "directory: " << fs::current_path().string() << '\n';
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(drive / "nk_files", error)) {
            if (entry.is_regular_file())
                out << "staged: " << entry.path().filename().string() << ' ' << entry.file_size()
                    << " bytes\n";
        }
        if (fs::is_regular_file(here / "flasher.cfg"))
            out << "flasher.cfg: " << fs::file_size(here / "flasher.cfg") << " bytes\n";
    }
    fs::rename(fs::path(log) += ".new", log);
    std::printf("Stand-in flasher: nothing is flashed.\n");
    std::fprintf(stderr, "Stand-in flasher: this is no real flasher\n");
    std::ofstream(here / "flash.out", std::ios::binary) << "stand-in flash.out\r\n";
    std::printf("Stand-in flasher: done.\n");
    return 0;
}

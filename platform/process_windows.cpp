// SPDX-License-Identifier: GPL-2.0-or-later
#include "process.h"

#include <windows.h>

namespace Platform
{

namespace
{

std::wstring wide(const std::string& utf8)
{
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

std::string utf8(const wchar_t* text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

// The system's message for an error code, without trailing blanks, line ends and full stops.
std::string errorText(DWORD code)
{
    wchar_t buffer[256] = {};
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                            FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                        nullptr, code, 0, buffer, 256, nullptr);
    std::string text = utf8(buffer, static_cast<int>(length));
    while (!text.empty() && (static_cast<unsigned char>(text.back()) <= ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

// One argument as the C runtime's command-line parser reads it back: in quotes when it holds
// blanks or quotes or is empty, with inner quotes and the backslashes before them escaped.
std::string quoted(const std::string& word)
{
    if (!word.empty() && word.find_first_of(" \t\n\v\"") == std::string::npos)
        return word;
    std::string line = "\"";
    std::size_t backslashes = 0;
    for (char c : word) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    line.append(2 * backslashes, '\\');
    return line + '"';
}

// The started program's process handle, asked without waiting.
class WatchedProgram : public StartedProgram
{
public:
    explicit WatchedProgram(HANDLE process) : m_process(process) {}
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;
    ~WatchedProgram() override { CloseHandle(m_process); }

    std::optional<ProgramEnd> Ended() override
    {
        DWORD code = 0;
        if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0 ||
            !GetExitCodeProcess(m_process, &code))
            return std::nullopt;
        return ProgramEnd{false, code};
    }

private:
    HANDLE m_process;
};

} // namespace

std::unique_ptr<StartedProgram> StartDetached(const std::vector<std::string>& arguments,
                                              std::string& error)
{
    std::string line;
    for (const auto& argument : arguments)
        line += (line.empty() ? "" : " ") + quoted(argument);
    std::wstring wideLine = wide(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, wideLine.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process)) {
        error = errorText(GetLastError());
        return nullptr;
    }
    CloseHandle(process.hThread);
    return std::make_unique<WatchedProgram>(process.hProcess);
}

} // namespace Platform

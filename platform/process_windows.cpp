// SPDX-License-Identifier: GPL-2.0-or-later
#include "process.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

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

// The output pipe read on a thread of its own, which outlives this object when the program
// keeps the pipe open: a blocking read cannot be woken, so it hands nothing on once told to stop.
struct OutputState {
    std::mutex mutex;
    std::function<void(std::string_view)> output;
    bool stopped = false;
    std::atomic<bool> done{false};
};

void readOutput(HANDLE pipe, std::shared_ptr<OutputState> state)
{
    std::vector<char> buffer(64 * 1024);
    DWORD got = 0;
    while (ReadFile(pipe, buffer.data(), DWORD(buffer.size()), &got, nullptr) && got > 0) {
        const std::lock_guard lock(state->mutex);
        if (!state->stopped)
            state->output(std::string_view(buffer.data(), got));
    }
    CloseHandle(pipe);
    state->done = true;
}

// The started program's process handle, asked without waiting, and its job object.
class WatchedProgram : public RunningProgram
{
public:
    WatchedProgram(HANDLE process, HANDLE job, ProcessIdentity identity,
                   std::shared_ptr<OutputState> output)
        : m_process(process), m_job(job), m_identity(identity), m_output(std::move(output))
    {
    }
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;
    ~WatchedProgram() override
    {
        if (m_output) {
            const std::lock_guard lock(m_output->mutex);
            m_output->stopped = true;
        }
        CloseHandle(m_process);
        if (m_job)
            CloseHandle(m_job); // without kill-on-close: the program runs on
    }

    std::optional<ProgramEnd> Ended() override
    {
        DWORD code = 0;
        if (!m_end) {
            if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0 ||
                !GetExitCodeProcess(m_process, &code))
                return std::nullopt;
            m_end = ProgramEnd{false, code};
            m_endSeen = GetTickCount64();
        }
        // Told once the output is all read, or a little later when a child holds it open.
        if (m_output && !m_output->done && GetTickCount64() - m_endSeen < 2000)
            return std::nullopt;
        return m_end;
    }

    ProcessIdentity identity() const override { return m_identity; }

    void Stop() override
    {
        if (m_job)
            TerminateJobObject(m_job, 1);
        else
            TerminateProcess(m_process, 1);
    }

private:
    HANDLE m_process;
    HANDLE m_job;
    ProcessIdentity m_identity;
    std::shared_ptr<OutputState> m_output;
    std::optional<ProgramEnd> m_end;
    ULONGLONG m_endSeen = 0;
};

} // namespace

std::unique_ptr<StartedProgram> StartDetached(const std::vector<std::string>& arguments,
                                              std::string& error)
{
    return StartProgram({arguments}, error);
}

std::unique_ptr<RunningProgram> StartProgram(const ProgramStart& start, std::string& error)
{
    std::string line;
    for (const auto& argument : start.arguments)
        line += (line.empty() ? "" : " ") + quoted(argument);
    std::wstring wideLine = wide(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    HANDLE readEnd = nullptr, writeEnd = nullptr, input = INVALID_HANDLE_VALUE;
    if (start.output) {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        if (!CreatePipe(&readEnd, &writeEnd, &inherited, 0)) {
            error = errorText(GetLastError());
            return nullptr;
        }
        SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
        input = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                            OPEN_EXISTING, 0, nullptr);
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = input;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
    }
    const auto closePipe = [&] {
        for (HANDLE handle : {readEnd, writeEnd, input}) {
            if (handle && handle != INVALID_HANDLE_VALUE)
                CloseHandle(handle);
        }
    };
    // In a job object of its own, so that Stop ends what it started too; suspended until in it.
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    const std::wstring folder = start.folder.wstring();
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, wideLine.data(), nullptr, nullptr, start.output ? TRUE : FALSE,
                        NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        error = errorText(GetLastError());
        closePipe();
        if (job)
            CloseHandle(job);
        return nullptr;
    }
    if (job && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    std::shared_ptr<OutputState> output;
    if (start.output) {
        CloseHandle(writeEnd);
        CloseHandle(input);
        output = std::make_shared<OutputState>();
        output->output = start.output;
        std::thread(readOutput, readEnd, output).detach();
    }
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process.hProcess, &created, &exited, &kernel, &user);
    const ProcessIdentity identity{std::int64_t(process.dwProcessId),
                                   (std::uint64_t(created.dwHighDateTime) << 32) |
                                       created.dwLowDateTime};
    return std::make_unique<WatchedProgram>(process.hProcess, job, identity, std::move(output));
}

} // namespace Platform

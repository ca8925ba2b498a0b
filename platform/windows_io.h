// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// What the file writers of this system share on Windows: handles that close themselves, a fresh
// temporary file beside a target, complete writes and the move into the target's place.

#include <filesystem>
#include <string_view>
#include <windows.h>

namespace Platform::Windows
{

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE get() const { return m_handle; }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool close()
    {
        const bool closed = !valid() || CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// A file of our own beside the target, under a name nobody else has used, with the attributes:
// created new, so it is never an existing file nor a link. INVALID_HANDLE_VALUE, with the
// system's error code, when the folder refuses it.
HANDLE CreateTemporary(const std::filesystem::path& target, DWORD attributes,
                       std::filesystem::path& temporary, DWORD& error);

bool WriteAll(HANDLE file, std::string_view bytes);

// Puts the flushed temporary file in the target's place in one step (over an existing target
// only with replaceExisting): the name always stands for the old or the new file, never for
// none (ReplaceFile cannot promise that). A file that another program holds open refuses for a
// moment, so a few more tries follow.
bool MoveIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target,
                   bool replaceExisting);

// The errno value that stands for a system error code, for the file error texts.
int ErrnoOf(DWORD error);

} // namespace Platform::Windows

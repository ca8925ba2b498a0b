// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The library's fixed folders and files, as the program names them everywhere: Windows-style
// logical paths on drive C. Only NativePath() (drive.h) turns one into a path of this machine.

#include "library/entry_names.h"

#include <array>
#include <string>
#include <string_view>

namespace Paths
{

inline constexpr std::string_view LibraryRoot = "c:\\nk_files\\";
inline constexpr std::string_view Library = "c:\\nk_files\\Lunzo\\";
inline constexpr std::string_view TiaFolder = "c:\\nk_files\\Lunzo\\Tias\\";
inline constexpr std::string_view BootFolder = "c:\\nk_files\\Lunzo\\Boots\\";
inline constexpr std::string_view PhonesFolder = "c:\\nk_files\\Lunzo\\Phones\\";
inline constexpr std::string_view CommonFolder = "c:\\nk_files\\Lunzo\\Common\\";
inline constexpr std::string_view FlasherFolder = "c:\\flasher\\";

inline constexpr std::string_view TiaCatalogue = "c:\\nk_files\\Lunzo\\Tias\\Tias.ini";
inline constexpr std::string_view BootCatalogue = "c:\\nk_files\\Lunzo\\Boots\\Boots.ini";
inline constexpr std::string_view PhoneCatalogue = "c:\\nk_files\\Lunzo\\Phones\\Phones.ini";
// The SHA-256 of every library file, one line each in the format of sha256sum.
inline constexpr std::string_view ChecksumManifest = "c:\\nk_files\\Lunzo\\checksums.sha256";

// The common chip types' loaders and the common boot file, expected to be in place.
inline constexpr std::string_view CommonAtmel29F800 = "c:\\nk_files\\Lunzo\\Common\\29F800.bin";
inline constexpr std::string_view CommonIntel28F008 = "c:\\nk_files\\Lunzo\\Common\\28F008.bin";
inline constexpr std::string_view CommonIntel28F160 = "c:\\nk_files\\Lunzo\\Common\\28F160.bin";
inline constexpr std::string_view CommonBoot = "c:\\nk_files\\Lunzo\\Common\\boot.bin";
// All four, the 28F008 (the loader at start) first.
inline constexpr std::array<std::string_view, 4> CommonFiles = {
    CommonIntel28F008, CommonAtmel29F800, CommonIntel28F160, CommonBoot};

inline constexpr std::string_view StagedLoader = "c:\\nk_files\\f_loader.bin";
inline constexpr std::string_view StagedBoot = "c:\\nk_files\\boot.bin";
inline constexpr std::string_view FlasherConfig = "c:\\flasher\\flasher.cfg";
inline constexpr std::string_view Flasher = "c:\\flasher\\flasher.com";
// What the flasher may write of its run, read back after it when the user asks for it.
inline constexpr std::string_view FlashOut = "c:\\flasher\\flash.out";
// Held while a run goes on: one run at a time on a drive C.
inline constexpr std::string_view RunLock = "c:\\nk_files\\run.lock";

// Plain concatenation, as every path of the library is formed.
inline std::string Join(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    path += name;
    return path;
}

// Join for a name from a catalogue or a picked file: throws UnsafeName for a name that could
// lead out of the folder.
inline std::string EntryPath(std::string_view folder, std::string_view name)
{
    if (!EntryNames::IsSafe(name))
        throw UnsafeName(name);
    return Join(folder, name);
}

// c:\nk_files\Lunzo\Phones\<group>\ : a group's folder of flash images. Throws UnsafeName for a
// group name that could lead out of the phones folder.
inline std::string GroupFolder(std::string_view group)
{
    return Join(EntryPath(PhonesFolder, group), "\\");
}

// c:\nk_files\Lunzo\Phones\<group>\Flash.ini (throws UnsafeName as GroupFolder does)
inline std::string FlashCatalogue(std::string_view group)
{
    return Join(GroupFolder(group), "Flash.ini");
}

// What follows the last backslash: the file name of a logical path.
inline std::string FileNameOf(std::string_view path)
{
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

// Everything up to and including the last backslash.
inline std::string FolderOf(std::string_view path)
{
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? std::string_view{}
                                                       : path.substr(0, slash + 1));
}

} // namespace Paths

// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the catalogue layer: any bytes as a catalogue file, then reads, writes
// and erasures through CatalogueFile. After every change the file holds exactly what the INI
// rules make of the text before, nothing is left beside it, every section listed before is still
// listed (unless erased), and every other key keeps its value.
//
// Input: the catalogue's bytes, then the operations, each after a NUL byte:
//   W<section> US <key> US <value>   write      (US is the byte 0x1F)
//   E<section>                       erase
//   R<section> US <key>              read a value, a number and a flag
//   anything else                    read the section names

#include "library/catalogue_file.h"
#include "library/drive.h"
#include "library/paths.h"
#include "library/profile_text.h"
#include "platform/ascii_case.h"
#include "platform/files.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace
{

constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max();

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "catalogue fuzzer: %s\n", what);
        std::abort();
    }
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t at; (at = text.find(separator)) != std::string_view::npos;) {
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    return parts;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    return AsciiCase::EqualIgnoringCase(trimmed(a), trimmed(b));
}

// A key as the program's keys are: a name that makes a key line of its own. A key such as "[x]"
// or "a=b" writes a header or another key, as it would in any INI file.
bool isKeyName(std::string_view key)
{
    key = trimmed(key);
    return !key.empty() && key.front() != '[' && key.front() != ';' &&
           key.find_first_of("=\r\n") == std::string_view::npos;
}

// Every (section, key) of a key line under a header, by the INI line rules, worked out here
// independently of the code under test.
std::vector<std::pair<std::string, std::string>> keysOf(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<std::pair<std::string, std::string>> keys;
    std::optional<std::string> section;
    while (!text.empty()) {
        const auto end = std::min(text.find('\r'), text.find('\n'));
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos
                               ? text.size()
                               : end + (text.substr(end, 2) == "\r\n" ? 2 : 1));
        const auto close = line.rfind(']');
        if (line.starts_with('[') && close != std::string_view::npos) {
            section = std::string(trimmed(line.substr(1, close - 1)));
        } else if (section && !line.starts_with(';') && !line.starts_with('[')) {
            const auto equals = line.find('=');
            if (equals != std::string_view::npos && !trimmed(line.substr(0, equals)).empty())
                keys.emplace_back(*section, std::string(trimmed(line.substr(0, equals))));
        }
    }
    return keys;
}

// What may change: the key just written, or the sections of the name just erased.
struct Change {
    std::string_view section;
    std::optional<std::string_view> key; // nothing for an erasure
};

void requireOthersKept(std::string_view before, std::string_view after, const Change& change)
{
    const auto changed = [&](std::string_view section, std::string_view key) {
        return sameName(section, change.section) && (!change.key || sameName(key, *change.key));
    };
    // Every section listed before is listed after, in the same order.
    const auto namesAfter = ProfileText::SectionNames(after, Unlimited);
    std::size_t next = 0;
    for (const auto& name : ProfileText::SectionNames(before, Unlimited)) {
        if (!change.key && sameName(name, change.section))
            continue;
        while (next < namesAfter.size() && namesAfter[next] != name)
            ++next;
        require(next < namesAfter.size(), "a section is lost");
        ++next;
    }
    const auto keys = keysOf(before);
    for (std::size_t i = 0; i < keys.size() && i < 64; ++i) {
        const auto& [section, key] = keys[i];
        if (!changed(section, key))
            require(ProfileText::FindValue(before, section, key) ==
                        ProfileText::FindValue(after, section, key),
                    "another key changed its value");
    }
}

// The drive C of this run, and its TIA catalogue.
struct Scratch {
    fs::path root;
    fs::path catalogue;
};

Scratch& scratch()
{
    static Scratch instance;
    return instance;
}

std::string readCatalogue()
{
    const auto file = Platform::ReadFileBytes(scratch().catalogue);
    require(file.outcome == Platform::ReadOutcome::Read, "the catalogue cannot be read");
    return *file.bytes;
}

void requireNothingBeside()
{
    for (const auto& entry : fs::directory_iterator(scratch().catalogue.parent_path()))
        require(entry.path() == scratch().catalogue, "a file is left beside the catalogue");
}

void run(CatalogueFile& tias, std::string_view operation)
{
    const auto fields = split(operation.substr(1), '\x1f');
    const std::string_view section = fields[0];
    const std::string_view key = fields.size() > 1 ? fields[1] : "Key";
    const std::string_view value = fields.size() > 2 ? fields[2] : "";
    const std::string before = readCatalogue();
    switch (operation.front()) {
    case 'W': {
        if (!isKeyName(key))
            return;
        tias.WriteString(section, key, value);
        const std::string after = readCatalogue();
        require(after == ProfileText::WithValue(before, section, key, value), "wrong write");
        requireOthersKept(before, after, {section, key});
        requireNothingBeside();
        break;
    }
    case 'E': {
        tias.EraseSection(section);
        const std::string after = readCatalogue();
        require(after == ProfileText::WithoutSection(before, section).value_or(before),
                "wrong erasure");
        requireOthersKept(before, after, {section, std::nullopt});
        requireNothingBeside();
        break;
    }
    case 'R': {
        auto expected = ProfileText::FindValue(before, section, key).value_or("default");
        expected.resize(std::min(expected.size(), CatalogueFile::MaxValueLength));
        require(tias.ReadString(section, key, "default") == expected, "wrong value");
        const int number = tias.ReadInteger(section, key, 7);
        require(tias.ReadBool(section, key, true) == (number != 0), "wrong flag");
        break;
    }
    default: {
        std::vector<std::string> names;
        tias.ReadSections(names);
        require(names == ProfileText::SectionNames(before), "wrong section names");
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // On a memory file system where there is one: every write is flushed to disk.
    std::error_code error;
    const fs::path base =
        fs::is_directory("/dev/shm", error) ? "/dev/shm" : fs::temp_directory_path();
    std::string folder = (base / "quorvel-fuzz-XXXXXX").string();
    require(::mkdtemp(folder.data()) != nullptr, "no temporary folder");
    scratch().root = folder;
    Drive::SetRoot(scratch().root);
    scratch().catalogue = Drive::NativePath(Paths::TiaCatalogue);
    fs::create_directories(scratch().catalogue.parent_path());
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(scratch().root, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto parts = split(std::string_view(reinterpret_cast<const char*>(data), size), '\0');
    std::ofstream(scratch().catalogue, std::ios::binary | std::ios::trunc)
        .write(parts[0].data(), static_cast<std::streamsize>(parts[0].size()));
    CatalogueFile tias(Paths::TiaCatalogue);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (!parts[i].empty())
            run(tias, parts[i]);
    }
    return 0;
}

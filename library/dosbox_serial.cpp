// SPDX-License-Identifier: GPL-2.0-or-later
#include "dosbox_serial.h"

#include "platform/ascii_case.h"
#include "platform/file_path_text.h"
#include "platform/programs.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace fs = std::filesystem;

namespace DosBoxSerial
{

namespace
{

constexpr std::string_view Blanks = " \t\r";

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(Blanks) - first + 1);
}

// The next blank-separated word of the text, which loses it.
std::string_view nextWord(std::string_view& text)
{
    text = trimmed(text);
    const std::string_view word = text.substr(0, text.find_first_of(Blanks));
    text.remove_prefix(word.size());
    return word;
}

// 1 to 4 for "serial1" to "serial4" in any case, else 0.
int portOfKey(std::string_view key)
{
    constexpr std::string_view prefix = "serial";
    if (key.size() != prefix.size() + 1 ||
        !AsciiCase::EqualIgnoringCase(key.substr(0, prefix.size()), prefix))
        return 0;
    const int port = key.back() - '0';
    return port >= 1 && port <= PortCount ? port : 0;
}

// The device of "directserial realport:DEVICE ..."; nothing for the other kinds of port.
std::optional<std::string> directDevice(std::string_view value)
{
    if (!AsciiCase::EqualIgnoringCase(nextWord(value), "directserial"))
        return std::nullopt;
    constexpr std::string_view option = "realport:";
    for (std::string_view word = nextWord(value); !word.empty(); word = nextWord(value)) {
        if (word.starts_with(option) && word.size() > option.size())
            return std::string(word.substr(option.size()));
    }
    return std::nullopt;
}

} // namespace

std::string PortName(int port)
{
    return "COM" + std::to_string(port);
}

bool CanName(std::string_view device)
{
    return !device.empty() && std::none_of(device.begin(), device.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ';
    });
}

std::vector<PortMapping> MappedPorts(const std::vector<std::string>& configTexts)
{
    std::array<std::optional<std::string>, PortCount> devices;
    for (std::string_view text : configTexts) {
        bool inSerial = false;
        while (!text.empty()) {
            const auto end = text.find('\n');
            const std::string_view line = trimmed(text.substr(0, end));
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            if (line.empty() || line[0] == '#' || line[0] == '%')
                continue;
            if (line[0] == '[') {
                inSerial = AsciiCase::EqualIgnoringCase(trimmed(line.substr(1, line.find(']') - 1)),
                                                        "serial");
                continue;
            }
            const auto equals = line.find('=');
            const int port =
                equals == std::string_view::npos ? 0 : portOfKey(trimmed(line.substr(0, equals)));
            if (inSerial && port != 0)
                devices[port - 1] = directDevice(line.substr(equals + 1));
        }
    }
    std::vector<PortMapping> mappings;
    for (int port = 1; port <= PortCount; ++port) {
        if (devices[port - 1])
            mappings.push_back({port, *devices[port - 1]});
    }
    return mappings;
}

std::string OwnLayerText(const PortMapping& mapping)
{
    return "[serial]\nserial" + std::to_string(mapping.port) +
           "=directserial realport:" + mapping.device + "\n";
}

fs::path UsersConfigFile(const fs::path& dosbox)
{
    std::error_code error;
    if (fs::is_regular_file("dosbox.conf", error))
        return fs::absolute("dosbox.conf", error);
    return Platform::DosBoxUserConfig(dosbox);
}

std::vector<std::string> LayerOptions(const fs::path& usersFile, const fs::path& ownLayer)
{
    std::vector<std::string> options{"-userconf"};
    if (!usersFile.empty())
        options = {"-conf", Platform::FilePathText(Platform::DosBoxPath(usersFile))};
    options.insert(options.end(),
                   {"-conf", Platform::FilePathText(Platform::DosBoxPath(ownLayer))});
    return options;
}

} // namespace DosBoxSerial

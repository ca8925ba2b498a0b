// SPDX-License-Identifier: GPL-2.0-or-later
#include "checksums.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/files.h"

#include <algorithm>
#include <vector>

namespace Checksums
{

namespace
{

constexpr std::size_t DigestLength = 64;

bool isDigest(std::string_view text)
{
    return text.size() == DigestLength && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

// The digest and name of a manifest line ("<digest>  <name>" or, binary mode, "<digest> *<name>").
std::optional<std::pair<std::string, std::string>> parseLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() < DigestLength + 3 || !isDigest(line.substr(0, DigestLength)) ||
        line[DigestLength] != ' ' ||
        (line[DigestLength + 1] != ' ' && line[DigestLength + 1] != '*'))
        return std::nullopt;
    std::string digest(line.substr(0, DigestLength));
    std::transform(digest.begin(), digest.end(), digest.begin(), [](char c) {
        return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return std::pair{digest, std::string(line.substr(DigestLength + 2))};
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text, start, end - start);
        start = end + 1;
    }
    return lines;
}

std::string manifestText()
{
    return Platform::ReadFileBytes(Drive::NativePath(Paths::ChecksumManifest)).bytes;
}

} // namespace

std::string KeyOf(std::string_view logicalPath)
{
    if (logicalPath.substr(0, Paths::Library.size()) != Paths::Library)
        return {};
    std::string key(logicalPath.substr(Paths::Library.size()));
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

Manifest Read()
{
    Manifest manifest;
    for (const std::string& line : linesOf(manifestText())) {
        if (const auto entry = parseLine(line))
            manifest.sums[entry->second] = entry->first;
        else
            ++manifest.unreadableLines;
    }
    return manifest;
}

std::optional<std::string> Lookup(const Manifest& manifest, std::string_view logicalPath)
{
    const auto found = manifest.sums.find(KeyOf(logicalPath));
    if (found == manifest.sums.end())
        return std::nullopt;
    return found->second;
}

bool Record(const std::map<std::string, std::string>& digests)
{
    std::map<std::string, std::string> lines; // manifest name → its new line, until written
    for (const auto& [logicalPath, digest] : digests) {
        if (std::string key = KeyOf(logicalPath); !key.empty())
            lines[key] = digest + "  " + key;
    }
    std::string text;
    for (const std::string& old : linesOf(manifestText())) {
        const auto entry = parseLine(old);
        const auto replaced = entry ? lines.find(entry->second) : lines.end();
        if (replaced == lines.end()) {
            text += old + '\n';
        } else if (!replaced->second.empty()) {
            text += replaced->second + '\n';
            replaced->second.clear(); // a name listed twice keeps one line
        }
    }
    for (const auto& [key, line] : lines) {
        if (!line.empty())
            text += line + '\n';
    }
    return Platform::ReplaceFileContents(Drive::NativePath(Paths::ChecksumManifest), text);
}

} // namespace Checksums

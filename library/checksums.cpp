// SPDX-License-Identifier: GPL-2.0-or-later
#include "checksums.h"

#include "library/drive.h"
#include "library/paths.h"
#include "platform/files.h"

#include <cerrno>

#include <algorithm>
#include <set>
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

// The manifest's text; an absent manifest is empty. Nothing, with the reason, when it is there
// but cannot be read.
std::optional<std::string> manifestText(Platform::FileProblem& problem)
{
    const auto path = Drive::NativePath(Paths::ChecksumManifest);
    Platform::FileBytes read = Platform::ReadFileBytes(path);
    if (read.outcome == Platform::ReadOutcome::Missing)
        return std::string();
    if (!read.bytes) {
        problem = {path, read.error ? read.error.message() : "Not a regular file"};
        return std::nullopt;
    }
    return std::move(*read.bytes);
}

struct ParsedLine {
    std::string_view digest; // as written, in either case
    std::string_view name;
};

// The digest and name of a manifest line ("<digest>  <name>" or, binary mode, "<digest> *<name>").
std::optional<ParsedLine> parseLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.size() < DigestLength + 3 || !isDigest(line.substr(0, DigestLength)) ||
        line[DigestLength] != ' ' ||
        (line[DigestLength + 1] != ' ' && line[DigestLength + 1] != '*'))
        return std::nullopt;
    return ParsedLine{line.substr(0, DigestLength), line.substr(DigestLength + 2)};
}

std::string lowerCase(std::string_view digest)
{
    std::string lower(digest);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return c >= 'A' && c <= 'F' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return lower;
}

// Calls each with every line of the text, without its "\n"; a last line without one counts.
template <typename Each> void forEachLine(std::string_view text, Each each)
{
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        each(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// The manifest with the lines whose names keep takes, each the first line of its name (the one
// a rewrite keeps); every line that is no digest and name is counted.
template <typename Keep> Manifest readKeeping(Keep keep)
{
    Manifest manifest;
    const auto text = manifestText(manifest.problem);
    if (!text) {
        manifest.readable = false;
        return manifest;
    }
    forEachLine(*text, [&](std::string_view line) {
        const auto entry = parseLine(line);
        if (!entry)
            ++manifest.unreadableLines;
        else if (keep(entry->name) && !manifest.sums.contains(entry->name))
            manifest.sums.emplace(std::string(entry->name),
                                  Line{std::string(entry->name), lowerCase(entry->digest)});
    });
    return manifest;
}

} // namespace

std::string KeyOf(std::string_view logicalPath)
{
    if (!LibraryName::Same(logicalPath.substr(0, Paths::Library.size()), Paths::Library))
        return {};
    std::string key(logicalPath.substr(Paths::Library.size()));
    std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

Manifest Read()
{
    return readKeeping([](std::string_view) { return true; });
}

Manifest ReadLinesOf(const std::vector<std::string>& logicalPaths)
{
    std::vector<std::string> keys;
    for (const auto& logicalPath : logicalPaths) {
        if (std::string key = KeyOf(logicalPath); !key.empty())
            keys.push_back(std::move(key));
    }
    return readKeeping([&keys](std::string_view name) {
        return std::any_of(keys.begin(), keys.end(),
                           [name](const std::string& key) { return LibraryName::Same(name, key); });
    });
}

std::optional<std::string> Lookup(const Manifest& manifest, std::string_view logicalPath)
{
    const auto found = manifest.sums.find(KeyOf(logicalPath));
    if (found == manifest.sums.end())
        return std::nullopt;
    return found->second.digest;
}

std::string Recorded::FailureText()
{
    return "The checksum could not be recorded in " + std::string(Paths::ChecksumManifest) +
           ": the file was not checked against it. Make the manifest writable, or check the "
           "library with Check library.";
}

namespace
{

// Rewrites the manifest with the new lines (manifest name → line; an empty line removes it).
Recorded rewrite(std::map<std::string, std::string, LibraryName::Less> lines)
{
    const auto path = Drive::NativePath(Paths::ChecksumManifest);
    Platform::FileProblem problem;
    const auto oldText = manifestText(problem);
    if (!oldText)
        return {problem};
    if (Platform::IsReadOnly(path))
        return {Platform::FileProblem{path, Platform::ReasonText(EACCES)}};

    std::set<std::string, LibraryName::Less> written;
    std::string text;
    forEachLine(*oldText, [&](std::string_view old) {
        const auto entry = parseLine(old);
        const auto replaced = entry ? lines.find(entry->name) : lines.end();
        if (replaced == lines.end()) {
            text.append(old) += '\n';
        } else if (written.insert(replaced->first).second && !replaced->second.empty()) {
            text += replaced->second + '\n'; // a name listed twice keeps one line
        }
    });
    for (const auto& [key, line] : lines) {
        if (!written.contains(key) && !line.empty())
            text += line + '\n';
    }
    errno = 0;
    if (!Platform::ReplaceFileContents(path, text)) {
        const int error = errno != 0 ? errno : EIO;
        return {Platform::FileProblem{path, Platform::ReasonText(error)}};
    }
    return {};
}

} // namespace

Recorded Record(const std::map<std::string, std::string>& digests)
{
    // manifest name → its new line; an old line of the same name takes its place
    std::map<std::string, std::string, LibraryName::Less> lines;
    for (const auto& [logicalPath, digest] : digests) {
        if (std::string key = KeyOf(logicalPath); !key.empty())
            lines[key] = digest + "  " + key;
    }
    return rewrite(std::move(lines));
}

Recorded Forget(const std::vector<std::string>& logicalPaths)
{
    std::map<std::string, std::string, LibraryName::Less> lines;
    for (const auto& logicalPath : logicalPaths) {
        if (std::string key = KeyOf(logicalPath); !key.empty())
            lines[key].clear();
    }
    return rewrite(std::move(lines));
}

} // namespace Checksums

// SPDX-License-Identifier: GPL-2.0-or-later
#include "removed_files.h"

#include "library/checksums.h"
#include "library/drive.h"
#include "library/library_name.h"
#include "library/paths.h"
#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace RemovedFiles
{

namespace
{

constexpr std::size_t DigestLength = 64;

fs::path removedPath(const std::string& name)
{
    fs::path to = Drive::NativePath(Folder);
    for (std::size_t start = 0; start < name.size();) {
        const std::size_t slash = std::min(name.find('/', start), name.size());
        to /= name.substr(start, slash - start);
        start = slash + 1;
    }
    return to;
}

std::string logicalOf(const std::string& name)
{
    std::string path = Paths::Join(Paths::Library, name);
    std::replace(path.begin() + std::ptrdiff_t(Paths::Library.size()), path.end(), '/', '\\');
    return path;
}

// The folder's manifest; empty when there is none, nothing when it cannot be read.
std::optional<std::string> readManifest(Platform::FileProblem& problem)
{
    const auto path = Drive::NativePath(Manifest);
    Platform::FileBytes read = Platform::ReadFileBytes(path);
    if (read.outcome == Platform::ReadOutcome::Missing)
        return std::string();
    if (!read.bytes)
        problem = {path, read.error ? read.error.message() : "Not a regular file"};
    return std::move(read.bytes);
}

// Whether a manifest line is the file's: the digest, two blanks, the name.
bool isLineOf(std::string_view line, std::string_view name)
{
    return line.size() > DigestLength + 2 && LibraryName::Same(line.substr(DigestLength + 2), name);
}

// The manifest with the line added, or without the file's lines; false with the problem when
// it could not be rewritten.
bool rewriteManifest(const std::string& name, const std::string& added,
                     Platform::FileProblem& problem)
{
    const auto text = readManifest(problem);
    if (!text)
        return false;
    std::string kept;
    for (std::size_t start = 0; start < text->size();) {
        const std::size_t end = std::min(text->find('\n', start), text->size());
        const std::string_view line(text->data() + start, end - start);
        if (!isLineOf(line, name))
            kept.append(line).push_back('\n');
        start = end + 1;
    }
    if (!added.empty())
        kept += added + '\n';
    const auto path = Drive::NativePath(Manifest);
    std::error_code ignored;
    fs::create_directories(path.parent_path(), ignored);
    errno = 0;
    if (Platform::ReplaceFileContents(path, kept))
        return true;
    problem = {path, Platform::ReasonText(errno != 0 ? errno : EIO)};
    return false;
}

// The digest the folder's manifest keeps for the file.
std::optional<std::string> keptDigest(const std::string& name)
{
    Platform::FileProblem ignored;
    const auto text = readManifest(ignored);
    for (std::size_t start = 0; text && start < text->size();) {
        const std::size_t end = std::min(text->find('\n', start), text->size());
        std::string_view line(text->data() + start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (isLineOf(line, name))
            return std::string(line.substr(0, DigestLength));
        start = end + 1;
    }
    return std::nullopt;
}

bool move(const fs::path& from, const fs::path& to, Platform::FileProblem& problem)
{
    std::error_code error;
    if (fs::exists(to, error)) {
        problem = {to, Platform::ReasonText(EEXIST)};
        return false;
    }
    fs::create_directories(to.parent_path(), error);
    if (!error)
        fs::rename(from, to, error);
    if (error)
        problem = {from, error.message()};
    return !error;
}

} // namespace

std::vector<std::string> List()
{
    std::vector<std::string> names;
    const fs::path folder = Drive::NativePath(Folder);
    std::error_code error;
    fs::recursive_directory_iterator entry(folder, error), end;
    for (; !error && entry != end; entry.increment(error)) {
        std::error_code ignored;
        const fs::path below = entry->path().lexically_relative(folder);
        if (entry->is_regular_file(ignored) && below != fs::path("checksums.sha256"))
            names.push_back(below.generic_string());
    }
    std::sort(names.begin(), names.end(), LibraryName::Less());
    return names;
}

Outcome Remove(const std::string& name)
{
    Outcome outcome;
    Platform::FileProblem problem;
    const std::string logical = logicalOf(name);
    const Checksums::Manifest manifest = Checksums::Read();
    const auto digest = manifest.readable ? Checksums::Lookup(manifest, logical) : std::nullopt;
    // The line is kept before the file moves, so that no line is lost on the way.
    if (digest && !rewriteManifest(name, *digest + "  " + name, problem))
        return {false, problem};
    if (!move(Drive::NativePath(logical), removedPath(name), problem)) {
        if (digest)
            (void)rewriteManifest(name, {}, problem);
        return {false, problem};
    }
    outcome.moved = true;
    if (digest) {
        if (const Checksums::Recorded forgotten = Checksums::Forget({logical}); !forgotten)
            outcome.problem = forgotten.failure;
    }
    return outcome;
}

Outcome PutBack(const std::string& name)
{
    Outcome outcome;
    Platform::FileProblem problem;
    const std::string logical = logicalOf(name);
    if (!move(removedPath(name), Drive::NativePath(logical), problem))
        return {false, problem};
    outcome.moved = true;
    if (const auto digest = keptDigest(name)) {
        if (const Checksums::Recorded recorded = Checksums::Record({{logical, *digest}}); !recorded)
            outcome.problem = recorded.failure;
        else if (!rewriteManifest(name, {}, problem))
            outcome.problem = problem;
    }
    return outcome;
}

} // namespace RemovedFiles

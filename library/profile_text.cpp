#include "profile_text.h"

#include "library/ascii_case.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace ProfileText
{

namespace
{

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view LineEnd = "\r\n";

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

// One line of the text: [begin, end) is its content, [end, next) its line end. What kind of
// line it is, is worked out only when asked, since most lines are passed over.
struct Line {
    std::string_view text;
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;

    bool hasLineEnd() const { return next > end; }
    std::string_view content() const { return trimmed(text.substr(begin, end - begin)); }

    // The section name when the line is a header.
    std::optional<std::string_view> header() const
    {
        const std::string_view line = content();
        if (line.empty() || line.front() != '[')
            return std::nullopt;
        const auto close = line.rfind(']');
        if (close == std::string_view::npos)
            return std::nullopt;
        return trimmed(line.substr(1, close - 1));
    }

    // The key name and raw value when the line is a key line (not a header or a comment).
    std::optional<std::pair<std::string_view, std::string_view>> key() const
    {
        const std::string_view line = content();
        if (line.empty() || line.front() == ';' || line.front() == '[')
            return std::nullopt;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = trimmed(line.substr(0, equals));
        if (name.empty())
            return std::nullopt;
        return std::make_pair(name, line.substr(equals + 1));
    }
};

// The position of c at or after from, or the text's size; found with memchr, which is fast.
std::size_t findByte(std::string_view text, char c, std::size_t from)
{
    const void* found = std::memchr(text.data() + from, c, text.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data())
                 : text.size();
}

// Calls visit(line) for each line in order until it returns false.
template <typename Visitor> void forEachLine(std::string_view text, Visitor&& visit)
{
    std::size_t begin = text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
    // The next CR and LF at or after begin, each looked for again only once passed.
    std::size_t nextCr = findByte(text, '\r', begin);
    std::size_t nextLf = findByte(text, '\n', begin);
    while (begin < text.size()) {
        if (nextCr < begin)
            nextCr = findByte(text, '\r', begin);
        if (nextLf < begin)
            nextLf = findByte(text, '\n', begin);
        const std::size_t end = std::min(nextCr, nextLf);
        std::size_t next = end;
        if (next < text.size())
            next +=
                (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        if (!visit(Line{text, begin, end, next}))
            return;
        begin = next;
    }
}

std::string withoutLineBreaks(std::string_view text)
{
    std::string clean(text);
    std::replace_if(
        clean.begin(), clean.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return clean;
}

std::string unquoted(std::string_view rawValue)
{
    std::string_view value = trimmed(rawValue);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Whether text ends in the middle of a line, so that appending needs a line end first.
bool endsInsideLine(std::string_view text)
{
    return !text.empty() && text != ByteOrderMark && text.back() != '\n' && text.back() != '\r';
}

} // namespace

std::vector<std::string> SectionNames(std::string_view text, std::size_t bufferChars)
{
    std::vector<std::string> names;
    // One character of the buffer is kept for the terminator of the whole list.
    std::size_t room = bufferChars > 0 ? bufferChars - 1 : 0;
    forEachLine(text, [&](const Line& line) {
        const auto name = line.header();
        if (!name || name->empty())
            return true;
        const std::size_t needed = name->size() + 1;
        // A name that would just fill the rest is cut too, as the platform's reader does.
        if (needed >= room) {
            if (room > 1)
                names.emplace_back(name->substr(0, room - 1));
            return false;
        }
        names.emplace_back(*name);
        room -= needed;
        return true;
    });
    return names;
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    std::optional<std::string> found;
    bool inSection = false;
    forEachLine(text, [&](const Line& line) {
        if (const auto name = line.header()) {
            if (inSection)
                return false; // only the first section of that name counts
            inSection = sameName(*name, section);
        } else if (inSection) {
            if (const auto keyLine = line.key(); keyLine && sameName(keyLine->first, key)) {
                found = unquoted(keyLine->second);
                return false;
            }
        }
        return true;
    });
    return found;
}

std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value)
{
    const std::string cleanValue = withoutLineBreaks(value);
    bool inSection = false;
    std::optional<Line> keyLine;
    std::string_view keySpelling;
    std::optional<Line> lastLineOfSection; // the header or the section's last key line
    forEachLine(text, [&](const Line& line) {
        if (const auto name = line.header()) {
            if (inSection)
                return false;
            inSection = sameName(*name, section);
            if (inSection)
                lastLineOfSection = line;
        } else if (inSection) {
            if (const auto keyOfLine = line.key()) {
                if (sameName(keyOfLine->first, key)) {
                    keyLine = line;
                    keySpelling = keyOfLine->first;
                    return false;
                }
                lastLineOfSection = line;
            }
        }
        return true;
    });

    std::string result;
    result.reserve(text.size() + key.size() + cleanValue.size() + section.size() + 8);
    if (keyLine) {
        // The key keeps the spelling it was first written with.
        result.append(text.substr(0, keyLine->begin));
        result.append(keySpelling).append("=").append(cleanValue);
        result.append(text.substr(keyLine->end));
        return result;
    }
    const std::string newKeyLine = withoutLineBreaks(key) + "=" + cleanValue + std::string(LineEnd);
    if (lastLineOfSection) {
        const Line& after = *lastLineOfSection;
        result.append(text.substr(0, after.next));
        if (!after.hasLineEnd())
            result.append(LineEnd);
        result.append(newKeyLine);
        result.append(text.substr(after.next));
        return result;
    }
    result.append(text);
    if (endsInsideLine(text))
        result.append(LineEnd);
    result.append("[").append(withoutLineBreaks(section)).append("]").append(LineEnd);
    result.append(newKeyLine);
    return result;
}

std::optional<std::string> WithoutSection(std::string_view text, std::string_view section)
{
    std::string result;
    bool erasing = false;
    bool erasedAny = false;
    std::size_t keptFrom = 0;
    forEachLine(text, [&](const Line& line) {
        const auto name = line.header();
        if (!name)
            return true;
        const bool matches = sameName(*name, section);
        if (matches && !erasing) {
            result.append(text.substr(keptFrom, line.begin - keptFrom));
            erasedAny = erasing = true;
        } else if (!matches && erasing) {
            keptFrom = line.begin;
            erasing = false;
        }
        return true;
    });
    if (!erasedAny)
        return std::nullopt;
    if (!erasing)
        result.append(text.substr(keptFrom));
    return result;
}

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);

    int base = 10;
    bool negative = false;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() &&
               (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    } else if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;

    const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                        : std::int64_t{std::numeric_limits<std::int32_t>::max()};
    std::int64_t magnitude = 0;
    for (char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

} // namespace ProfileText

// SPDX-License-Identifier: GPL-2.0-or-later
#include "profile_text.h"

#include "platform/ascii_case.h"

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

// Eight bytes with their ASCII capitals made small, all at once: a byte gets 0x20 added when
// it lies in 'A'..'Z'.
std::uint64_t lowerWord(const char* bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    constexpr std::uint64_t high = 0x8080808080808080u;
    const std::uint64_t low7 = word & ~high;
    const std::uint64_t atLeastA = low7 + 0x3f3f3f3f3f3f3f3fu;        // high bit set from 'A' on
    const std::uint64_t aboveZ = low7 + 0x2525252525252525u;          // high bit set after 'Z'
    const std::uint64_t capitals = atLeastA & ~aboveZ & ~word & high; // and below 0x80
    return word | (capitals >> 2);
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

// Where the first line begins: after a leading UTF-8 byte-order mark.
std::size_t firstLineStart(std::string_view text)
{
    return text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0;
}

// Calls visit(line) for each line from the one beginning at begin, in order, until it returns
// false.
template <typename Visitor>
void forEachLineFrom(std::string_view text, std::size_t begin, Visitor&& visit)
{
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

template <typename Visitor> void forEachLine(std::string_view text, Visitor&& visit)
{
    forEachLineFrom(text, firstLineStart(text), std::forward<Visitor>(visit));
}

// The line that begins at begin, found byte by byte: for the short lines of headers.
Line lineAt(std::string_view text, std::size_t begin)
{
    std::size_t end = begin;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    std::size_t next = end;
    if (next < text.size())
        next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
    return Line{text, begin, end, next};
}

// Calls visit(open, begin) for each "[" that has only blanks between the start of its line
// (begin) and itself, in order, until it returns false. Jumps from "[" to "[" instead of taking
// every line apart, since most lines of a catalogue are key lines.
template <typename Visitor> void forEachHeaderStart(std::string_view text, Visitor&& visit)
{
    const std::size_t start = firstLineStart(text);
    for (std::size_t open = findByte(text, '[', start); open < text.size();
         open = findByte(text, '[', open + 1)) {
        std::size_t begin = open;
        while (begin > start && isBlank(text[begin - 1]))
            --begin;
        if ((begin == start || text[begin - 1] == '\n' || text[begin - 1] == '\r') &&
            !visit(open, begin))
            return;
    }
}

// The header line of the first section of that name.
std::optional<Line> firstHeaderNamed(std::string_view text, std::string_view section)
{
    const std::string_view wanted = trimmed(section);
    std::string lowerWanted(wanted);
    std::transform(lowerWanted.begin(), lowerWanted.end(), lowerWanted.begin(), AsciiCase::ToLower);
    // Whether the text at from may hold the name: it does, followed by a blank or "]". A quick
    // test, so that the lines of other sections are not taken apart.
    const auto nameAt = [&](std::size_t from) {
        const std::size_t length = lowerWanted.size();
        if (text.size() - from <= length)
            return false;
        const char after = text[from + length];
        if (after != ']' && !isBlank(after))
            return false;
        // Eight letters at a time, since most names differ only after a common beginning.
        std::size_t i = 0;
        for (; i + 8 <= length; i += 8) {
            if (lowerWord(text.data() + from + i) != lowerWord(lowerWanted.data() + i))
                return false;
        }
        for (; i < length; ++i) {
            if (AsciiCase::ToLower(text[from + i]) != lowerWanted[i])
                return false;
        }
        return true;
    };

    std::optional<Line> found;
    forEachHeaderStart(text, [&](std::size_t open, std::size_t begin) {
        std::size_t nameStart = open + 1;
        while (nameStart < text.size() && isBlank(text[nameStart]))
            ++nameStart;
        if (!wanted.empty() && !nameAt(nameStart))
            return true;
        const Line line = lineAt(text, begin);
        if (const auto name = line.header(); name && sameName(*name, wanted))
            found = line;
        return !found;
    });
    return found;
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

// Section names as a buffer of that many characters holds them: each name with its terminator,
// one place kept for the terminator of the whole list. Empty names are not listed.
class NameBuffer
{
public:
    explicit NameBuffer(std::size_t bufferChars) : m_room(bufferChars > 0 ? bufferChars - 1 : 0) {}

    // False once the buffer is full.
    bool add(std::string_view name)
    {
        if (name.empty())
            return true;
        const std::size_t needed = name.size() + 1;
        // A name that would just fill the rest is cut too, as the platform's reader does.
        if (needed >= m_room) {
            if (m_room > 1)
                m_names.emplace_back(name.substr(0, m_room - 1));
            m_room = 0;
            return false;
        }
        m_names.emplace_back(name);
        m_room -= needed;
        return true;
    }

    std::vector<std::string> take() { return std::move(m_names); }

private:
    std::size_t m_room;
    std::vector<std::string> m_names;
};

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    return sameName(a, b);
}

std::vector<std::string> SectionNames(std::string_view text, std::size_t bufferChars)
{
    NameBuffer buffer(bufferChars);
    forEachHeaderStart(text, [&](std::size_t, std::size_t begin) {
        const auto name = lineAt(text, begin).header();
        return !name || buffer.add(*name);
    });
    return buffer.take();
}

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    const auto header = firstHeaderNamed(text, section);
    if (!header)
        return std::nullopt;
    std::optional<std::string> found;
    forEachLineFrom(text, header->next, [&](const Line& line) {
        if (line.header())
            return false; // the section ends at the next header
        if (const auto keyLine = line.key(); keyLine && sameName(keyLine->first, key)) {
            found = unquoted(keyLine->second);
            return false;
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

std::size_t ParsedText::FoldedHash::operator()(std::string_view name) const
{
    std::size_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : name)
        hash = (hash ^ static_cast<unsigned char>(AsciiCase::ToLower(c))) * 1099511628211ull;
    return hash;
}

bool ParsedText::FoldedEqual::operator()(std::string_view a, std::string_view b) const
{
    return AsciiCase::EqualIgnoringCase(a, b);
}

ParsedText::ParsedText(std::string text)
    : m_text(std::make_unique<const std::string>(std::move(text)))
{
    bool keepKeys = false; // only the first section of a name is ever read
    forEachLine(*m_text, [&](const Line& line) {
        if (const auto name = line.header()) {
            keepKeys = m_firstSection.try_emplace(*name, m_sections.size()).second;
            m_sections.push_back({*name, m_keys.size(), m_keys.size()});
        } else if (keepKeys) {
            if (const auto keyLine = line.key()) {
                m_keys.push_back({keyLine->first, keyLine->second});
                m_sections.back().endKey = m_keys.size();
            }
        }
        return true;
    });
}

std::vector<std::string> ParsedText::SectionNames(std::size_t bufferChars) const
{
    NameBuffer buffer(bufferChars);
    for (const Section& section : m_sections) {
        if (!buffer.add(section.name))
            break;
    }
    return buffer.take();
}

std::optional<std::string> ParsedText::FindValue(std::string_view section,
                                                 std::string_view key) const
{
    const auto found = m_firstSection.find(trimmed(section));
    if (found == m_firstSection.end())
        return std::nullopt;
    const Section& lines = m_sections[found->second];
    for (std::size_t index = lines.firstKey; index < lines.endKey; ++index) {
        if (sameName(m_keys[index].name, key))
            return unquoted(m_keys[index].rawValue);
    }
    return std::nullopt;
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

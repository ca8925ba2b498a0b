// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// The private-profile (INI) rules on a catalogue's bytes, without any file: what a read finds and
// what a write or erasure makes of the text. CatalogueFile adds the file around them.
//
// Lines end in CR LF, LF or a lone CR. A header is "[name]" (the name between the first "[" and
// the last "]", blanks trimmed); a key line is "name=value", split at its first "="; a line
// whose first non-blank character is ";" is a comment. Names match without regard to ASCII case;
// of two equal sections the first counts, and of two equal keys in a section the first.
// Edits change only the lines they write: blank lines, comments, unknown lines, other line ends
// and a leading UTF-8 byte-order mark are kept byte for byte.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ProfileText
{

// Whether two section or key names are the same name by the rules above (blanks around them
// and ASCII letter case aside).
bool SameName(std::string_view a, std::string_view b);

// Section names in file order, as a 16,384-character buffer of NUL-terminated names (plus one
// final NUL) holds them: names beyond it are dropped and the last one that fits only in part is
// cut. Empty names are not listed.
std::vector<std::string> SectionNames(std::string_view text, std::size_t bufferChars = 16384);

// The key's value with blanks and one matching pair of quotes removed; nothing when the section
// or the key is missing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text parsed once, for many reads of it (a list load): the same answers as SectionNames and
// FindValue on that text, without going through the whole text again for each.
class ParsedText
{
public:
    explicit ParsedText(std::string text);

    std::vector<std::string> SectionNames(std::size_t bufferChars = 16384) const;
    std::optional<std::string> FindValue(std::string_view section, std::string_view key) const;

private:
    struct KeyLine {
        std::string_view name;
        std::string_view rawValue;
    };
    struct Section {
        std::string_view name;
        std::size_t firstKey; // its key lines in m_keys: [firstKey, endKey)
        std::size_t endKey;
    };
    struct FoldedHash {
        std::size_t operator()(std::string_view name) const;
    };
    struct FoldedEqual {
        bool operator()(std::string_view a, std::string_view b) const;
    };

    // On the heap, so that the views into it stay valid when a ParsedText is moved.
    std::unique_ptr<const std::string> m_text;
    std::vector<Section> m_sections; // every header, in file order
    std::vector<KeyLine> m_keys;
    // The first section of each name, found without regard to case.
    std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual> m_firstSection;
};

// The text with the key set to value: in place when it exists, else at the end of its section,
// else in a new section at the end. Line breaks inside the names or the value become blanks,
// so a value can never add lines of its own.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

// The text without every section of that name (header and lines up to the next header);
// nothing when there is no such section.
std::optional<std::string> WithoutSection(std::string_view text, std::string_view section);

// A number as the catalogues store it: decimal with an optional sign, or hexadecimal after
// "$", "x", "X", "0x" or "0X" (no sign); leading blanks allowed; it must fit 32 bits signed.
std::optional<std::int32_t> ParseInteger(std::string_view text);

} // namespace ProfileText

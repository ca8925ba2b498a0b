// SPDX-License-Identifier: GPL-2.0-or-later
#include "run_lock_record.h"

#include <charconv>

namespace RunLock
{

namespace
{

const char Hex[] = "0123456789ABCDEF";

std::string escaped(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || c == '%') {
            text += '%';
            text += Hex[byte >> 4];
            text += Hex[byte & 15];
        } else {
            text += c;
        }
    }
    return text;
}

std::optional<std::string> unescaped(std::string_view text)
{
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            bytes += text[at];
            continue;
        }
        unsigned value = 0;
        if (text.size() - at < 3)
            return std::nullopt;
        const auto [stop, error] =
            std::from_chars(text.data() + at + 1, text.data() + at + 3, value, 16);
        if (error != std::errc() || stop != text.data() + at + 3)
            return std::nullopt;
        bytes += static_cast<char>(value);
        at += 2;
    }
    return bytes;
}

template <typename Number> bool numberOf(std::string_view text, Number& number)
{
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    return error == std::errc() && stop == text.data() + text.size();
}

void addLine(std::string& text, std::string_view key, std::string_view value)
{
    text.append(key).append("=").append(value).append("\n");
}

} // namespace

std::string Format(const Holder& holder)
{
    std::string text;
    addLine(text, "host", escaped(holder.host));
    addLine(text, "quorvel", std::to_string(holder.quorvel.id));
    addLine(text, "quorvelStarted", std::to_string(holder.quorvel.started));
    if (holder.flasher) {
        addLine(text, "flasher", std::to_string(holder.flasher->id));
        addLine(text, "flasherStarted", std::to_string(holder.flasher->started));
    }
    addLine(text, "run", escaped(holder.runId));
    addLine(text, "group", escaped(holder.group));
    addLine(text, "image", escaped(holder.image));
    addLine(text, "started", std::to_string(holder.started));
    addLine(text, "end", "");
    return text;
}

std::optional<Holder> Parse(std::string_view text)
{
    Holder holder;
    bool complete = false, hasFlasher = false, hasQuorvel = false;
    Platform::ProcessIdentity flasher;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos)
            return std::nullopt; // cut off
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = line.substr(0, equals), value = line.substr(equals + 1);
        const auto bytes = unescaped(value);
        if (!bytes)
            return std::nullopt;
        bool read = true;
        if (key == "host")
            holder.host = *bytes;
        else if (key == "quorvel")
            read = hasQuorvel = numberOf(value, holder.quorvel.id);
        else if (key == "quorvelStarted")
            read = numberOf(value, holder.quorvel.started);
        else if (key == "flasher")
            read = hasFlasher = numberOf(value, flasher.id);
        else if (key == "flasherStarted")
            read = numberOf(value, flasher.started);
        else if (key == "run")
            holder.runId = *bytes;
        else if (key == "group")
            holder.group = *bytes;
        else if (key == "image")
            holder.image = *bytes;
        else if (key == "started")
            read = numberOf(value, holder.started);
        else if (key == "end")
            complete = true;
        if (!read)
            return std::nullopt;
    }
    if (!complete || !hasQuorvel)
        return std::nullopt;
    if (hasFlasher)
        holder.flasher = flasher;
    return holder;
}

} // namespace RunLock

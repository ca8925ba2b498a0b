// SPDX-License-Identifier: GPL-2.0-or-later
#include "metafile_to_svg.h"
#include "wmf_text.h"

#include <cstdlib>
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/ipa.h>
#include <libwmf/svg.h>
#include <memory>
#include <vector>

namespace MetafileToSvg
{

namespace
{

// libwmf's SVG writer gives a bitmap both its final box and a transform that scales it a
// second time, which throws it out of the picture; the box alone places it right.
void KeepBitmapsInTheirBoxes(std::string& svg)
{
    for (auto image = svg.find("<image"); image != std::string::npos;
         image = svg.find("<image", image + 1)) {
        const auto end = svg.find("/>", image);
        const auto transform = svg.find("transform=\"", image);
        if (transform == std::string::npos || transform > end)
            continue;
        const auto closing = svg.find('"', transform + 11);
        if (closing == std::string::npos || closing > end)
            continue;
        svg.erase(transform, closing + 1 - transform);
    }
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// libwmf's SVG writer puts a text's bytes into the document as they are: undecoded, and with
// XML's special characters unescaped, which makes the document unreadable. Its text drawer
// is given the text decoded and escaped instead.
void (*WriteSvgText)(wmfAPI*, wmfDrawText_t*) = nullptr;

void WriteDecodedText(wmfAPI* api, wmfDrawText_t* text)
{
    const wmfFont* font = text->dc ? text->dc->font : nullptr;
    std::string decoded =
        WmfText::ToSvgText(text->str ? text->str : "", font ? font->lfCharSet : 0);
    char* const original = text->str;
    text->str = decoded.data();
    WriteSvgText(api, text);
    text->str = original;
}

void DecodeTexts(wmfAPI* api)
{
    auto* functions = static_cast<wmfFunctionReference*>(api->function_reference);
    WriteSvgText = functions->draw_text;
    functions->draw_text = WriteDecodedText;
}

} // namespace

std::optional<std::string> FromEmf(const std::string& bytes)
{
    if (bytes.empty())
        return std::nullopt;
    std::vector<char> input(bytes.begin(), bytes.end()); // the library takes a mutable buffer
    char nameSpace[] = "";
    generatorOptions options{};
    options.nameSpace = nameSpace;
    options.emfplus = true;
    options.svgDelimiter = true;
    char* output = nullptr;
    std::size_t length = 0;
    const int converted = emf2svg(input.data(), input.size(), &output, &length, &options);
    const std::unique_ptr<char, decltype(&std::free)> owned(output, &std::free);
    if (!converted || !output || length == 0)
        return std::nullopt;
    return std::string(output, length);
}

std::optional<std::string> FromWmf(const std::string& bytes)
{
    if (bytes.empty())
        return std::nullopt;
    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    wmfAPI* api = nullptr;
    constexpr unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api)
            wmf_api_destroy(api);
        return std::nullopt;
    }
    const std::unique_ptr<wmfAPI, decltype(&wmf_api_destroy)> session(api, &wmf_api_destroy);
    DecodeTexts(api);

    std::vector<unsigned char> input(bytes.begin(), bytes.end());
    wmfD_Rect box{};
    if (wmf_mem_open(api, input.data(), static_cast<long>(input.size())) != wmf_E_None ||
        wmf_scan(api, 0, &box) != wmf_E_None)
        return std::nullopt;

    wmf_svg_t* device = WMF_SVG_GetData(api);
    char description[] = "";
    device->out = wmf_stream_create(api, nullptr);
    device->Description = description;
    device->bbox = box;
    device->flags |= WMF_SVG_INLINE_IMAGES;
    wmf_display_size(api, &device->width, &device->height, 96, 96);
    const bool played = wmf_play(api, 0, &box) == wmf_E_None;

    char* output = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, device->out, &output, &length);
    std::string svg = output ? std::string(output, length) : std::string();
    if (output)
        wmf_free(api, output);
    if (!played || svg.empty() || device->width == 0 || device->height == 0)
        return std::nullopt;
    KeepBitmapsInTheirBoxes(svg);
    // libwmf's SVG writer fills shapes half transparent where the background mode is
    // transparent, which is common; that mode only concerns the gaps of hatches, dashes and
    // text: shapes are filled opaque.
    ReplaceAll(svg, "fill-opacity:0.5;", "fill-opacity:1.0;");
    // Symbol text is Unicode now (WmfText), which the Symbol font draws none of.
    ReplaceAll(svg, "font-family:Symbol;", "font-family:Times;");
    return svg;
}

} // namespace MetafileToSvg

#include "richtext/html_tags.h"

namespace richtext {
namespace {

TagTable BuildTags() {
    using K = TagKind;
    TagTable table = {
        {L"b", {K::Bold, L"bold"}},
        {L"i", {K::Italic, L"italic"}},
        {L"em", {K::Italic, L"italic"}},
        {L"u", {K::Underline, L"underline"}},
        {L"s", {K::Strikeout, L"strikeout"}},
        {L"strike", {K::Strikeout, L"strikeout"}},
        {L"font", {K::Font, L"font"}},
        {L"hr", {K::Rule, L""}},
        {L"br", {K::LineBreak, L""}},
        {L"\n", {K::LineBreak, L""}},
        {L"t", {K::Tab, L""}},
        {L"\t", {K::Tab, L""}},
        {L"left", {K::Left, L"left"}},
        {L"center", {K::Center, L"center"}},
        {L"right", {K::Right, L"right"}},
        {L"justify", {K::Justify, L"justify"}},
        {L"baseline", {K::Baseline, L"baseline"}},
        {L"top", {K::Top, L"top"}},
        {L"vcenter", {K::VCenter, L"vcenter"}},
        {L"middle", {K::VCenter, L"vcenter"}},
        {L"bottom", {K::Bottom, L"vcenter"}},
        {L"bmp", {K::Bitmap, L""}},
        {L"icon", {K::Icon, L""}},
        {L"ilst", {K::ImageList, L""}},
        {L"string", {K::String, L""}},
        {L"span", {K::Span, L"span"}},
        {L"a", {K::Link, L"link"}},
    };
    for (const wchar_t* name : {L"body", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"code", L"pre",
                                L"big", L"small", L"sub", L"sup"})
        table.emplace(name, TagEntry{K::StyleRule, name});
    return table;
}

} // namespace

const TagTable& Tags() {
    static const TagTable table = BuildTags();
    return table;
}

const TagEntry* FindTag(std::wstring_view name) {
    const TagTable& table = Tags();
    const auto found = table.find(name);
    return found == table.end() ? nullptr : &found->second;
}

} // namespace richtext

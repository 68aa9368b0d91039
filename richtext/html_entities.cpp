#include "richtext/html_entities.h"

namespace richtext {
namespace {

EntityTable BuildEntities() {
    return {
        {L"&amp;", L"&"},        {L"&bull;", L"\u2022"}, {L"&copy;", L"\u00A9"},
        {L"&euro;", L"\u20AC"},  {L"&gt;", L">"},        {L"&iquest;", L"\u00BF"},
        {L"&lt;", L"<<"},        {L"&nbsp;", L" "},      {L"&para;", L"\u00B6"},
        {L"&pound;", L"\u00A3"}, {L"&quot;", L"\""},     {L"&reg;", L"\u00AE"},
        {L"&trade;", L"\u2122"},
    };
}

bool EndsWith(const std::wstring& text, std::wstring_view tail) {
    return text.size() >= tail.size() &&
           std::wstring_view(text).substr(text.size() - tail.size()) == tail;
}

// Replacing until no occurrence is left, done in one scan: the output is built character by
// character and whenever it ends with the entity, the entity is swapped for its replacement, so
// a replacement that forms the entity again with the text after it ("&amp;amp;") is caught as
// the scan goes on. Entities end with ';' and no replacement does, so a swap can never complete
// an entity with the text before it.
std::wstring ReplaceEntity(std::wstring_view text, std::wstring_view entity,
                           std::wstring_view replacement) {
    std::wstring out;
    out.reserve(text.size() + text.size() / 4);
    const wchar_t last = entity.back();
    for (const wchar_t c : text) {
        out.push_back(c);
        if (c == last && EndsWith(out, entity)) {
            out.resize(out.size() - entity.size());
            out.append(replacement);
        }
    }
    return out;
}

std::wstring WithoutCarriageReturns(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (const wchar_t c : text) {
        if (c != L'\r')
            out.push_back(c);
    }
    return out;
}

} // namespace

const EntityTable& Entities() {
    static const EntityTable table = BuildEntities();
    return table;
}

std::wstring PrepareMarkupText(std::wstring_view text) {
    std::wstring prepared(text);
    for (const auto& [entity, replacement] : Entities()) {
        if (prepared.find(entity) != std::wstring::npos)
            prepared = ReplaceEntity(prepared, entity, replacement);
    }
    return WithoutCarriageReturns(prepared);
}

} // namespace richtext

#include "richtext/html_text_transform.h"

#include "richtext/html_style.h"

#include <windows.h>

namespace richtext {
namespace {

void MapCase(std::wstring& run, DWORD flags) {
    if (run.empty())
        return;
    const int length = static_cast<int>(run.size());
    std::wstring mapped(run.size(), L'\0');
    if (::LCMapStringW(LOCALE_INVARIANT, flags, run.data(), length, mapped.data(), length) ==
        length)
        run.swap(mapped);
}

} // namespace

void ApplyTextTransform(std::wstring& run, int transform) {
    switch (transform) {
    case kTransformUppercase:
        MapCase(run, LCMAP_UPPERCASE);
        break;
    case kTransformLowercase:
        MapCase(run, LCMAP_LOWERCASE);
        break;
    case kTransformCapitalize:
        MapCase(run, LCMAP_LOWERCASE);
        for (size_t i = 0; i < run.size(); ++i) {
            if (run[i] >= L'a' && run[i] <= L'z' && (i == 0 || run[i - 1] == L' '))
                run[i] = static_cast<wchar_t>(run[i] - L'a' + L'A');
        }
        break;
    default:
        break;
    }
}

} // namespace richtext

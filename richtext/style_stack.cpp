#include "richtext/style_stack.h"

#include <utility>

namespace richtext {
namespace {

size_t TextBytes(const HtmlStyle& style) {
    return (style.name.size() + style.face.size() + style.backgroundImage.size() +
            style.linkTarget.size()) *
           sizeof(wchar_t);
}

} // namespace

bool StyleStack::Push(HtmlStyle& current, std::wstring_view key) {
    if (levels_.size() >= kMaxDepth)
        return false;
    const size_t bytes = TextBytes(current) + key.size() * sizeof(wchar_t);
    if (bytes > kMaxTextBytes - textBytes_)
        return false;
    current.name.assign(key);
    levels_.push_back(current);
    textBytes_ += TextBytes(levels_.back());
    return true;
}

bool StyleStack::Close(HtmlStyle& current, std::wstring_view key) {
    if (levels_.empty() || levels_.back().name != key)
        return false;
    textBytes_ -= TextBytes(levels_.back());
    current = std::move(levels_.back());
    levels_.pop_back();
    return true;
}

void StyleStack::UnwindTo(HtmlStyle& current, size_t depth) {
    while (levels_.size() > depth) {
        textBytes_ -= TextBytes(levels_.back());
        current = std::move(levels_.back());
        levels_.pop_back();
    }
}

} // namespace richtext

#include "richtext/style_stack.h"

#include <utility>

namespace richtext {

bool StyleStack::Push(HtmlStyle& current, std::wstring_view key) {
    if (levels_.size() >= kMaxDepth)
        return false;
    current.name.assign(key);
    levels_.push_back(current);
    return true;
}

bool StyleStack::Close(HtmlStyle& current, std::wstring_view key) {
    if (levels_.empty() || levels_.back().name != key)
        return false;
    current = std::move(levels_.back());
    levels_.pop_back();
    return true;
}

void StyleStack::UnwindTo(HtmlStyle& current, size_t depth) {
    while (levels_.size() > depth) {
        current = std::move(levels_.back());
        levels_.pop_back();
    }
}

} // namespace richtext

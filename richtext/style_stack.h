#pragma once
// The saved styles of the open elements, innermost last.

#include "richtext/html_style.h"

#include <string_view>
#include <vector>

namespace richtext {

class StyleStack {
public:
    // Deeper nesting than this is refused: real markup never comes near it, and hostile markup
    // could otherwise make every opening tag cost a saved style until memory runs out. A level
    // is small: its face is short and its link target and background are shared.
    static constexpr size_t kMaxDepth = 4096;

    // Saves `current` under the closing key `key` (the current style takes the key as its name
    // too); false when the stack is full and the element must be ignored.
    bool Push(HtmlStyle& current, std::wstring_view key);

    // Closes the innermost element when it carries `key`: `current` becomes the saved style and
    // the level is popped. Any other key closes nothing, so mismatched closing tags never unwind
    // other levels.
    bool Close(HtmlStyle& current, std::wstring_view key);

    // Closes every level above `depth`, innermost first; `current` becomes the style saved at
    // that depth. For layers that must end their element whatever the content left open.
    void UnwindTo(HtmlStyle& current, size_t depth);

    void Clear() { levels_.clear(); }
    size_t Depth() const { return levels_.size(); }
    bool Empty() const { return levels_.empty(); }

private:
    std::vector<HtmlStyle> levels_;
};

} // namespace richtext

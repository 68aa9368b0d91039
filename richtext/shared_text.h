#pragma once
// A text that copies share instead of duplicating: a link's target travels with every saved
// style level and every hot area drawn inside the link, and a long target must not be copied
// for each of them.

#include <memory>
#include <string>
#include <string_view>

namespace richtext {

class SharedText {
public:
    SharedText() = default;
    explicit SharedText(std::wstring_view text)
        : text_(text.empty() ? nullptr : std::make_shared<const std::wstring>(text)) {}

    // The text; an empty string when none was given. Valid while any copy lives.
    const std::wstring& Get() const { return text_ ? *text_ : Empty(); }
    const wchar_t* c_str() const { return Get().c_str(); }
    const wchar_t* data() const { return Get().data(); }
    size_t size() const { return text_ ? text_->size() : 0; }
    bool empty() const { return size() == 0; }

    bool operator==(const SharedText& other) const { return Get() == other.Get(); }
    bool operator==(std::wstring_view other) const { return Get() == other; }
    bool operator==(const wchar_t* other) const { return Get() == other; }

private:
    static const std::wstring& Empty() {
        static const std::wstring empty;
        return empty;
    }

    std::shared_ptr<const std::wstring> text_;
};

} // namespace richtext

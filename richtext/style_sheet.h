#pragma once
// The style sheet: declaration texts by selector ("body", "a:hover", ".cpp-comment").

#include <map>
#include <string>
#include <string_view>

namespace richtext {

class StyleSheet {
public:
    // Starts with the default sheet.
    StyleSheet();

    // Empties the sheet and reads the rules of `text`; an empty text loads the default sheet.
    void LoadStyleSheet(std::wstring_view text = {});

    // Inserts or replaces the rule of `selector`.
    void SetStyleRule(std::wstring_view selector, std::wstring_view declarations);

    // The declarations of `selector`, or null when the sheet has no such rule.
    const std::wstring* Find(std::wstring_view selector) const;

    size_t Size() const { return rules_.size(); }

    // The sheet every drawer starts with, as it is read (lines end with CR LF).
    static std::wstring_view DefaultText();

private:
    void ReadRules(std::wstring_view text);

    std::map<std::wstring, std::wstring, std::less<>> rules_;
};

} // namespace richtext

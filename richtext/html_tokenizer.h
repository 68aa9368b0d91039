#pragma once
// Cutting a prepared text into text runs and tags, and a tag into its name and attributes.

#include <string>
#include <string_view>

namespace richtext {

// A tag as written: "<font color=red>" has name "font" and attributes "color=red"; "</b>" has
// name "b" and the closing flag. Views into the tokenized text.
struct MarkupTag {
    std::wstring_view name;
    std::wstring_view attributes;
    bool closing = false;
};

struct MarkupToken {
    enum class Kind { Text, Tag };
    Kind kind = Kind::Text;
    std::wstring text; // a text run, with every "<<" turned into "<"
    MarkupTag tag;
};

// Splits the text between two tags and the text of one tag ("font color=red", no brackets).
MarkupTag SplitTagText(std::wstring_view tagText);

// Yields the runs and tags of `text` one after the other. A "<" that is doubled or stands last is
// a literal "<" inside the run; a "<" with no ">" after it is dropped. Text runs are never empty.
// Linear in the length of the text: the search for ">" is not repeated once it failed.
class MarkupTokenizer {
public:
    explicit MarkupTokenizer(std::wstring_view text) : text_(text) {}

    // Fills `token` with the next run or tag; false at the end of the text.
    bool Next(MarkupToken& token);

    size_t Position() const { return position_; }

private:
    bool ReadRun(std::wstring& run);
    bool ReadTag(MarkupTag& tag);
    size_t FindTagEnd(size_t from);

    std::wstring_view text_;
    size_t position_ = 0;
    size_t tagEnd_ = 0;         // the last ">" found, valid while at or after the position
    bool noTagEndLeft_ = false; // no ">" stands after the last failed search
};

// Reads the attributes of a tag one after the other: "a=1 b='x y' c" gives (a, 1), (b, x y) and
// (c, empty).
class AttributeReader {
public:
    explicit AttributeReader(std::wstring_view attributes) : text_(attributes) {}

    bool Next(std::wstring_view& name, std::wstring_view& value);

private:
    std::wstring_view text_;
    size_t position_ = 0;
};

inline bool IsBlank(wchar_t c) {
    return c == L' ';
}

// Letters, digits and "." start names of attributes, selectors and properties.
bool StartsName(wchar_t c);

// From `i`, passes over what cannot start a name and reads the name, which ends at a blank or at
// `end`; `i` is left after it. False (with `i` at the end) when no name is left.
bool ReadName(std::wstring_view text, size_t& i, wchar_t end, std::wstring_view& name);
void SkipBlanks(std::wstring_view text, size_t& i);

} // namespace richtext

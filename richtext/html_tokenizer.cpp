#include "richtext/html_tokenizer.h"

#include <cwctype>

namespace richtext {

bool StartsName(wchar_t c) {
    return c == L'.' || std::iswalnum(static_cast<wint_t>(c)) != 0;
}

bool ReadName(std::wstring_view text, size_t& i, wchar_t end, std::wstring_view& name) {
    const size_t size = text.size();
    while (i < size && !StartsName(text[i]))
        ++i;
    if (i >= size) {
        i = size;
        return false;
    }
    const size_t start = i;
    while (i < size && !IsBlank(text[i]) && text[i] != end)
        ++i;
    name = text.substr(start, i - start);
    return true;
}

void SkipBlanks(std::wstring_view text, size_t& i) {
    while (i < text.size() && IsBlank(text[i]))
        ++i;
}

MarkupTag SplitTagText(std::wstring_view tagText) {
    MarkupTag tag;
    size_t nameEnd = 0;
    while (nameEnd < tagText.size() && !IsBlank(tagText[nameEnd]) && tagText[nameEnd] != L'=')
        ++nameEnd;
    tag.name = tagText.substr(0, nameEnd);
    size_t rest = nameEnd;
    while (rest < tagText.size() && IsBlank(tagText[rest]))
        ++rest;
    tag.attributes = tagText.substr(rest);
    if (!tag.name.empty() && tag.name.front() == L'/') {
        tag.closing = true;
        tag.name.remove_prefix(1);
    }
    return tag;
}

bool MarkupTokenizer::Next(MarkupToken& token) {
    while (position_ < text_.size()) {
        token.text.clear();
        if (ReadRun(token.text)) {
            token.kind = MarkupToken::Kind::Text;
            return true;
        }
        if (position_ < text_.size() && ReadTag(token.tag)) {
            token.kind = MarkupToken::Kind::Tag;
            return true;
        }
    }
    return false;
}

// Gathers text up to the next "<" that opens a tag (or the end); returns whether any was found.
bool MarkupTokenizer::ReadRun(std::wstring& run) {
    while (position_ < text_.size()) {
        const size_t open = text_.find(L'<', position_);
        const size_t stop = open == std::wstring_view::npos ? text_.size() : open;
        run.append(text_.substr(position_, stop - position_));
        position_ = stop;
        if (stop == text_.size())
            break;
        const bool last = open + 1 == text_.size();
        if (!last && text_[open + 1] != L'<')
            break;
        run.push_back(L'<');
        position_ = last ? open + 1 : open + 2;
    }
    return !run.empty();
}

// At a "<": reads the tag up to its ">". A "<" without ">" is dropped and yields no tag.
bool MarkupTokenizer::ReadTag(MarkupTag& tag) {
    const size_t end = FindTagEnd(position_ + 1);
    if (end == std::wstring_view::npos) {
        ++position_;
        return false;
    }
    tag = SplitTagText(text_.substr(position_ + 1, end - position_ - 1));
    position_ = end + 1;
    return true;
}

size_t MarkupTokenizer::FindTagEnd(size_t from) {
    if (noTagEndLeft_)
        return std::wstring_view::npos;
    if (tagEnd_ < from) {
        tagEnd_ = text_.find(L'>', from);
        if (tagEnd_ == std::wstring_view::npos) {
            noTagEndLeft_ = true;
            tagEnd_ = 0;
            return std::wstring_view::npos;
        }
    }
    return tagEnd_;
}

bool AttributeReader::Next(std::wstring_view& name, std::wstring_view& value) {
    const size_t size = text_.size();
    size_t i = position_;
    if (!ReadName(text_, i, L'=', name)) {
        position_ = size;
        return false;
    }
    SkipBlanks(text_, i);
    value = {};
    if (i < size && text_[i] == L'=') {
        ++i;
        SkipBlanks(text_, i);
        if (i < size && (text_[i] == L'"' || text_[i] == L'\'')) {
            const wchar_t quote = text_[i++];
            size_t close = text_.find(quote, i);
            if (close == std::wstring_view::npos)
                close = size;
            value = text_.substr(i, close - i);
            i = close < size ? close + 1 : size;
        } else {
            size_t end = i;
            while (end < size && !IsBlank(text_[end]))
                ++end;
            value = text_.substr(i, end - i);
            i = end < size ? end + 1 : size;
        }
    }
    position_ = i;
    return true;
}

} // namespace richtext

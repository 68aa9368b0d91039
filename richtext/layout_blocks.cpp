#include "richtext/layout_blocks.h"

#include "richtext/html_tokenizer.h"

namespace richtext {
namespace {

bool IsTag(const MarkupToken& token, std::wstring_view name, bool closing) {
    return token.kind == MarkupToken::Kind::Tag && token.tag.closing == closing &&
           token.tag.name == name;
}

// Position just after the "/table" that closes the table whose opening tag has been read.
size_t MatchingTableEnd(MarkupTokenizer& tokenizer, size_t textSize) {
    int depth = 1;
    MarkupToken token;
    while (tokenizer.Next(token)) {
        if (IsTag(token, L"table", false))
            ++depth;
        else if (IsTag(token, L"table", true) && --depth == 0)
            return tokenizer.Position();
    }
    return textSize;
}

} // namespace

std::vector<TextBlock> SplitBlocks(std::wstring_view text) {
    std::vector<TextBlock> blocks;
    MarkupTokenizer tokenizer(text);
    MarkupToken token;
    size_t flowStart = 0;
    size_t tokenStart = 0;
    while (tokenizer.Next(token)) {
        if (IsTag(token, L"table", false)) {
            if (tokenStart > flowStart)
                blocks.push_back({text.substr(flowStart, tokenStart - flowStart), false});
            const size_t end = MatchingTableEnd(tokenizer, text.size());
            blocks.push_back({text.substr(tokenStart, end - tokenStart), true});
            flowStart = end;
        }
        tokenStart = tokenizer.Position();
    }
    if (flowStart < text.size())
        blocks.push_back({text.substr(flowStart), false});
    return blocks;
}

namespace {

class TableReader {
public:
    explicit TableReader(std::wstring_view block) : block_(block), tokenizer_(block) {}

    TableMarkup Read() {
        MarkupToken token;
        if (!Next(token) || !IsTag(token, L"table", false))
            return table_;
        table_.attributes = token.tag.attributes;
        while (Next(token)) {
            if (depth_ == 0 && IsTag(token, L"table", true))
                break;
            TrackNesting(token);
            if (depth_ == 0)
                TopLevel(token);
        }
        EndCell(tokenStart_);
        return table_;
    }

private:
    bool Next(MarkupToken& token) {
        tokenStart_ = tokenizer_.Position();
        return tokenizer_.Next(token);
    }

    void TrackNesting(const MarkupToken& token) {
        if (IsTag(token, L"table", false))
            ++depth_;
        else if (depth_ > 0 && IsTag(token, L"table", true))
            --depth_;
    }

    void TopLevel(const MarkupToken& token) {
        if (IsTag(token, L"tr", false)) {
            EndCell(tokenStart_);
            table_.rows.push_back({token.tag.attributes, {}});
        } else if (IsTag(token, L"tr", true) || IsTag(token, L"td", true)) {
            EndCell(tokenStart_);
        } else if (IsTag(token, L"td", false)) {
            EndCell(tokenStart_);
            if (table_.rows.empty())
                table_.rows.push_back({});
            table_.rows.back().cells.push_back({token.tag.attributes, {}});
            contentStart_ = tokenizer_.Position();
            inCell_ = true;
        }
    }

    void EndCell(size_t end) {
        if (!inCell_)
            return;
        inCell_ = false;
        table_.rows.back().cells.back().content =
            block_.substr(contentStart_, end > contentStart_ ? end - contentStart_ : 0);
    }

    std::wstring_view block_;
    MarkupTokenizer tokenizer_;
    TableMarkup table_;
    size_t tokenStart_ = 0;
    size_t contentStart_ = 0;
    int depth_ = 0;
    bool inCell_ = false;
};

} // namespace

TableMarkup ReadTableMarkup(std::wstring_view block) {
    return TableReader(block).Read();
}

} // namespace richtext

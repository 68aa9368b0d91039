#include "tests/richtext/markup_driver.h"

#include "richtext/html_entities.h"

namespace markup_test {

const richtext::CssMetrics& TestMetrics() {
    static const richtext::FixedMetrics metrics(96, 16, 8);
    return metrics;
}

PassRecord RunPass(richtext::MarkupParser& parser, std::wstring_view text) {
    const std::wstring prepared = richtext::PrepareMarkupText(text);
    PassRecord pass;
    parser.BeginPass(TestMetrics());
    richtext::MarkupTokenizer tokenizer(prepared);
    richtext::MarkupToken token;
    while (tokenizer.Next(token)) {
        if (token.kind == richtext::MarkupToken::Kind::Text) {
            pass.runs.push_back({token.text, parser.Current()});
            continue;
        }
        const richtext::MarkupAction action = parser.HandleTag(token.tag, TestMetrics());
        if (action.kind != richtext::MarkupAction::Kind::None &&
            action.kind != richtext::MarkupAction::Kind::StyleChanged)
            pass.actions.push_back(action);
    }
    parser.EndPass();
    return pass;
}

std::wstring VisibleText(const PassRecord& pass) {
    std::wstring text;
    for (const Run& run : pass.runs)
        text += run.text;
    return text;
}

} // namespace markup_test

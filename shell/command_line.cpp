#include "shell/command_line.h"

namespace {

template <typename Char>
bool IsSeparator(Char c) {
    return c == ' ' || c == '\t';
}

template <typename Char>
bool IsSlash(Char c) {
    return c == '\\' || c == '/';
}

// Argument 0 and the position just behind it.
template <typename Char>
size_t SplitProgramName(std::basic_string_view<Char> line, std::basic_string<Char>& name) {
    if (!line.empty() && line[0] == '"') {
        const size_t close = line.find('"', 1);
        const size_t end = close == line.npos ? line.size() : close;
        name.assign(line.substr(1, end - 1));
        return close == line.npos ? line.size() : close + 1;
    }
    size_t end = 0;
    while (end < line.size() && static_cast<unsigned>(line[end]) >= 33)
        ++end;
    name.assign(line.substr(0, end));
    return end;
}

template <typename Char>
std::vector<std::basic_string<Char>> Split(std::basic_string_view<Char> line) {
    std::vector<std::basic_string<Char>> arguments;
    if (line.empty())
        return arguments;
    arguments.emplace_back();
    size_t i = SplitProgramName(line, arguments.back());

    for (;;) {
        while (i < line.size() && IsSeparator(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::basic_string<Char> argument;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsSeparator(line[i]))) {
            if (IsSlash(line[i])) {
                size_t run = 0;
                while (i < line.size() && IsSlash(line[i])) {
                    ++run;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    argument.append(run / 2, Char('\\'));
                    if (run % 2 == 1) {
                        argument.push_back(Char('"'));
                        ++i;
                    }
                } else {
                    argument.append(run, Char('\\'));
                }
            } else if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    argument.push_back(Char('"'));
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                argument.push_back(line[i++]);
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

} // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
    return Split(line);
}
std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    return Split(line);
}

#pragma once
// The checks of "zapdate_publish check": what in a version file the wizard will pass over,
// read otherwise than the maker meant, or never use. The file is read with the wizard's own
// parser, so what is reported is what the wizard will do.

#include <string>
#include <vector>

namespace publish {

struct VersionFileProblem {
    std::wstring section; // empty for the file as a whole
    std::wstring key;     // "section" for the section as a whole
    std::wstring text;
};

// Every problem of the file at `path` (absolute), in file order; empty when there is none.
std::vector<VersionFileProblem> CheckVersionFile(const std::wstring& path);

// "[section] key: text".
std::wstring ProblemLine(const VersionFileProblem& problem);

} // namespace publish

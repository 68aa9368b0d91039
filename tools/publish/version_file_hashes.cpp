#include "tools/publish/version_file_hashes.h"

#include "catalogue/version_file.h"
#include "platform/sha256.h"
#include "platform/text.h"
#include "service/package_request.h"
#include "tools/publish/file_bytes.h"

#include <windows.h>

#include <algorithm>
#include <optional>

namespace publish {
namespace {

constexpr wchar_t kHashKey[] = L"sha256";

// The file's text, one wide character per byte for 8-bit files, so that writing it back gives
// the same bytes; UTF-16 files (with their byte order mark) as they are.
struct FileText {
    std::wstring text;
    bool utf16 = false;
};

std::optional<FileText> Decode(const std::vector<uint8_t>& bytes) {
    FileText decoded;
    decoded.utf16 = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
    if (!decoded.utf16) {
        decoded.text.assign(bytes.begin(), bytes.end());
        return decoded;
    }
    if (bytes.size() % 2 != 0)
        return std::nullopt;
    for (size_t i = 0; i < bytes.size(); i += 2)
        decoded.text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return decoded;
}

std::vector<uint8_t> Encode(const FileText& file) {
    std::vector<uint8_t> bytes;
    for (const wchar_t c : file.text) {
        bytes.push_back(static_cast<uint8_t>(c & 0xFF));
        if (file.utf16)
            bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    return bytes;
}

// One line of the file: where its text starts, how long it is, and its line end.
struct Line {
    size_t start = 0;
    size_t length = 0;
    std::wstring end;
};

std::vector<Line> SplitLines(const std::wstring& text) {
    std::vector<Line> lines;
    for (size_t start = 0; start < text.size();) {
        size_t stop = text.find_first_of(L"\r\n", start);
        Line line{start, (stop == std::wstring::npos ? text.size() : stop) - start, {}};
        if (stop != std::wstring::npos) {
            const size_t endLength = text.compare(stop, 2, L"\r\n") == 0 ? 2 : 1;
            line.end = text.substr(stop, endLength);
            stop += endLength;
        }
        lines.push_back(line);
        start = stop == std::wstring::npos ? text.size() : stop;
    }
    return lines;
}

// The section name of a "[name]" line; nothing for other lines.
std::optional<std::wstring> SectionName(std::wstring_view line) {
    const std::wstring trimmed = TrimVersionFileText(line);
    const size_t close = trimmed.find(L']');
    if (trimmed.empty() || trimmed.front() != L'[' || close == std::wstring::npos)
        return std::nullopt;
    return TrimVersionFileText(std::wstring_view(trimmed).substr(1, close - 1));
}

// A "key=value" line's trimmed key; empty for other lines.
std::wstring KeyOf(std::wstring_view line) {
    const size_t equals = line.find(L'=');
    return equals == std::wstring_view::npos ? std::wstring()
                                             : TrimVersionFileText(line.substr(0, equals));
}

// The package file that `url` names under `root`; nothing when it names none there.
std::optional<std::wstring> PackageFile(const std::wstring& url, const std::wstring& root) {
    service::CRequestInfo request;
    if (!service::SplitPackageUrl(platform::AnsiFromWide(url), request))
        return std::nullopt;
    std::wstring path = platform::WideFromAnsi(request.path.substr(0, request.path.find('?')));
    for (wchar_t& c : path)
        c = c == L'/' ? L'\\' : c;
    // The path stays under the root.
    if (path.find(L"\\..") != std::wstring::npos || path.find(L':') != std::wstring::npos)
        return std::nullopt;
    const std::wstring file = root + path;
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return std::nullopt;
    return file;
}

// Writes the hash into the section of lines [first, last): over the value of every "sha256"
// line, or as a new line after the section's last "key=value" line.
void WriteHash(FileText& file, std::vector<Line>& lines, size_t header, size_t last,
               const std::string& hash) {
    const std::wstring hashText = platform::WideFromAnsi(hash);
    bool replaced = false;
    // From the end, so that the positions of the lines before stay valid.
    for (size_t i = last; i-- > header + 1;) {
        const Line& line = lines[i];
        const std::wstring_view text = std::wstring_view(file.text).substr(line.start, line.length);
        if (::lstrcmpiW(KeyOf(text).c_str(), kHashKey) != 0)
            continue;
        // The blanks after "=" stay, as every byte but the value's.
        const size_t value = text.find_first_not_of(L" \t", text.find(L'=') + 1);
        const size_t valueStart = line.start + std::min(value, text.size());
        file.text.replace(valueStart, line.start + line.length - valueStart, hashText);
        replaced = true;
    }
    if (replaced)
        return;
    size_t after = header;
    for (size_t i = header + 1; i < last; ++i) {
        if (!KeyOf(std::wstring_view(file.text).substr(lines[i].start, lines[i].length)).empty())
            after = i;
    }
    const Line& line = lines[after];
    const std::wstring end = line.end.empty() ? L"\r\n" : line.end;
    const size_t at = line.start + line.length + line.end.size();
    file.text.insert(at, (line.end.empty() ? end : L"") + kHashKey + L"=" + hashText + end);
}

} // namespace

bool HashVersionFile(const std::wstring& path, const std::wstring& root,
                     std::vector<std::wstring>& notes) {
    const std::optional<std::vector<uint8_t>> bytes = ReadFileBytes(path);
    std::optional<FileText> file = bytes ? Decode(*bytes) : std::nullopt;
    if (!file) {
        notes.push_back(L"cannot read " + path);
        return false;
    }
    // Section by section from the end, so that an edit never moves a section still to come.
    std::vector<Line> lines = SplitLines(file->text);
    size_t sectionEnd = lines.size();
    for (size_t i = lines.size(); i-- > 0;) {
        const std::optional<std::wstring> name =
            SectionName(std::wstring_view(file->text).substr(lines[i].start, lines[i].length));
        if (!name)
            continue;
        std::wstring url;
        for (size_t j = i + 1; j < sectionEnd; ++j) {
            const std::wstring_view text =
                std::wstring_view(file->text).substr(lines[j].start, lines[j].length);
            if (::lstrcmpiW(KeyOf(text).c_str(), L"url") == 0)
                url = TrimVersionFileText(text.substr(text.find(L'=') + 1));
        }
        const size_t end = sectionEnd;
        sectionEnd = i;
        if (!IsBuildSectionName(*name))
            continue;
        const std::optional<std::wstring> package = PackageFile(url, root);
        const std::optional<platform::Sha256Digest> digest =
            package ? platform::Sha256OfFile(*package) : std::nullopt;
        if (!digest) {
            notes.push_back(L"[" + *name + L"] url: no file under the root for " +
                            (url.empty() ? L"an empty url" : url) + L"; no sha256 written");
            continue;
        }
        WriteHash(*file, lines, i, end, platform::Sha256Text(*digest));
    }
    if (!WriteFileBytes(path, Encode(*file))) {
        notes.push_back(L"cannot write " + path);
        return false;
    }
    return true;
}

} // namespace publish

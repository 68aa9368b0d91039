#include "tools/test_installer/test_package.h"

#include "platform/text.h"
#include "platform/unique_resource.h"

#include <cstring>
#include <map>
#include <sstream>

namespace testpkg {
namespace {

// The trailer: "key=value" lines (UTF-8), their byte count (32 bits, little-endian), the magic.
constexpr char kMagic[8] = {'Z', 'a', 'p', 'T', 'P', 'k', 'g', '1'};
constexpr size_t kFooterBytes = 4 + sizeof(kMagic);
constexpr uint32_t kMaxTrailerBytes = 64 * 1024;

const char* BehaviourName(Behaviour behaviour) {
    switch (behaviour) {
    case Behaviour::Succeed:
        return "succeed";
    case Behaviour::Fail:
        return "fail";
    case Behaviour::FailAfterUpdate:
        return "fail-after-update";
    case Behaviour::Hang:
        return "hang";
    }
    return "succeed";
}

std::optional<Behaviour> BehaviourNamed(const std::string& name) {
    for (const Behaviour b :
         {Behaviour::Succeed, Behaviour::Fail, Behaviour::FailAfterUpdate, Behaviour::Hang})
        if (name == BehaviourName(b))
            return b;
    return std::nullopt;
}

std::string DateText(demo::ProductDate date) {
    return platform::FormatAnsi("%u-%u-%u", date.year, date.month, date.day);
}

std::optional<demo::ProductDate> DateFrom(const std::string& text) {
    unsigned year = 0, month = 0, day = 0;
    if (std::sscanf(text.c_str(), "%u-%u-%u", &year, &month, &day) != 3)
        return std::nullopt;
    return demo::ProductDate{static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                             static_cast<uint16_t>(day)};
}

} // namespace

std::string TestPackageText(const TestPackage& package) {
    const demo::ProductRecord& product = package.product;
    std::ostringstream text;
    text << "family=" << product.family << '\n'
         << "installCode=" << product.installCode << '\n'
         << "keyProductId=" << product.keyProductId << '\n'
         << "installPath=" << product.installPath << '\n'
         << "languageCode=" << product.languageCode << '\n'
         << "installedVersion=" << product.installedVersion << '\n'
         << "installedBuild=" << product.installedBuild << '\n'
         << "programFile=" << platform::Utf8FromWide(package.programFile) << '\n'
         << "programDate=" << DateText(package.programDate) << '\n'
         << "behaviour=" << BehaviourName(package.behaviour) << '\n'
         << "delaySeconds=" << package.delaySeconds << '\n'
         << "exitCode=" << package.exitCode << '\n'
         << "report=" << platform::Utf8FromWide(package.reportPath) << '\n';
    if (package.wizardDate)
        text << "wizardDate=" << DateText(*package.wizardDate) << '\n';
    if (!package.wizardSource.empty())
        text << "wizard=" << platform::Utf8FromWide(package.wizardSource) << '\n';
    return text.str();
}

namespace {

std::map<std::string, std::string> ParseLines(const std::string& text) {
    std::map<std::string, std::string> values;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            values[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return values;
}

// Keys that are not given keep the defaults of TestPackage.
std::optional<TestPackage> PackageFrom(const std::map<std::string, std::string>& values) {
    TestPackage package;
    const auto text = [&](const char* key, auto apply) {
        const auto found = values.find(key);
        if (found != values.end())
            apply(found->second);
    };
    const auto number = [](const std::string& value) {
        return static_cast<uint32_t>(platform::ReadDecimal(value));
    };
    bool valid = true;
    demo::ProductRecord& product = package.product;
    text("family", [&](const std::string& v) { product.family = v; });
    text("installCode", [&](const std::string& v) { product.installCode = number(v); });
    text("keyProductId", [&](const std::string& v) { product.keyProductId = number(v); });
    text("installPath", [&](const std::string& v) { product.installPath = v; });
    text("languageCode", [&](const std::string& v) { product.languageCode = v; });
    text("installedVersion", [&](const std::string& v) { product.installedVersion = v; });
    text("installedBuild", [&](const std::string& v) { product.installedBuild = v; });
    text("programFile",
         [&](const std::string& v) { package.programFile = platform::WideFromUtf8(v); });
    text("programDate", [&](const std::string& v) {
        const auto date = DateFrom(v);
        valid = valid && date.has_value();
        package.programDate = date.value_or(package.programDate);
    });
    text("wizardDate", [&](const std::string& v) {
        package.wizardDate = DateFrom(v);
        valid = valid && package.wizardDate.has_value();
    });
    text("behaviour", [&](const std::string& v) {
        const auto behaviour = BehaviourNamed(v);
        valid = valid && behaviour.has_value();
        package.behaviour = behaviour.value_or(package.behaviour);
    });
    text("delaySeconds", [&](const std::string& v) { package.delaySeconds = number(v); });
    text("exitCode", [&](const std::string& v) { package.exitCode = number(v); });
    text("report", [&](const std::string& v) { package.reportPath = platform::WideFromUtf8(v); });
    text("wizard", [&](const std::string& v) { package.wizardSource = platform::WideFromUtf8(v); });
    if (!valid || product.family.empty())
        return std::nullopt;
    return package;
}

bool WriteAll(HANDLE file, const void* data, size_t size) {
    DWORD written = 0;
    return ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

} // namespace

std::optional<TestPackage> ParseTestPackage(const std::string& text) {
    return PackageFrom(ParseLines(text));
}

std::vector<char> ReadFileBytes(const std::wstring& path) {
    const platform::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                    OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart > 256 * 1024 * 1024)
        return {};
    std::vector<char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return {};
    bytes.resize(read);
    return bytes;
}

bool MakeTestPackage(const std::wstring& installerPath, const std::wstring& packagePath,
                     const TestPackage& package) {
    const std::vector<char> installer = ReadFileBytes(installerPath);
    if (installer.empty())
        return false;
    const std::string text = TestPackageText(package);
    const uint32_t length = static_cast<uint32_t>(text.size());
    const platform::UniqueHandle file(
        ::CreateFileW(packagePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return file && WriteAll(file.Get(), installer.data(), installer.size()) &&
           WriteAll(file.Get(), text.data(), text.size()) &&
           WriteAll(file.Get(), &length, sizeof(length)) &&
           WriteAll(file.Get(), kMagic, sizeof(kMagic));
}

std::optional<TestPackage> ReadTestPackage(const std::vector<char>& fileBytes) {
    if (fileBytes.size() < kFooterBytes)
        return std::nullopt;
    const char* footer = fileBytes.data() + fileBytes.size() - kFooterBytes;
    if (std::memcmp(footer + 4, kMagic, sizeof(kMagic)) != 0)
        return std::nullopt;
    uint32_t length = 0;
    std::memcpy(&length, footer, sizeof(length));
    if (length > kMaxTrailerBytes || length > fileBytes.size() - kFooterBytes)
        return std::nullopt;
    const std::string text(footer - length, length);
    return ParseTestPackage(text);
}

} // namespace testpkg

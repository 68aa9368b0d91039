// The version file as the system's profile functions read it, and the pairing of the chosen
// products with its builds. Besides worked cases, files as a broken or hostile server might send
// them, from a generator with a fixed seed: sections of every shape, keys in any case and spacing,
// values repeated, too short or too long, both encodings the profile reader knows, random bytes.

#include "catalogue/update_selection.h"
#include "platform/text.h"
#include "tests/support/ui_automation.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

namespace {

struct Number {
    const wchar_t* text;
    uint32_t value;
};
constexpr Number kNumbers[] = {{L"1", 1},    {L"6", 6},          {L"+22", 22},
                               {L"-1", ~0u}, {L"x9", 0},         {L"", 0},
                               {L"\t7", 7},  {L"1250abc", 1250}, {L"4294967295", ~0u}};
const wchar_t* const kKeys[] = {L"name", L"version", L"build",   L"date",    L"method",
                                L"url",  L"res_id",  L"lang_id", L"platform"};
const wchar_t* const kNames[] = {L"Kovra", L"\u041a\u043e\u0432\u0440\u0430 \u00e4", L"a=b", L""};
const wchar_t* const kLanguages[] = {L"en", L"de", L"DE", L""};
const wchar_t* const kPlatforms[] = {L"wtl", L"WTL", L"x64", L""};
const wchar_t* const kParamKeys[] = {L"param_01", L"param_1", L"PARAM_02", L"param_name"};
const wchar_t* const kOtherLines[] = {L"obsolete=1", L";name=hidden", L"no equals", L"",
                                      L"namex=y"};

// A generated file: its text, and what the parser should make of it.
struct GeneratedFile {
    std::wstring text;
    bool unicode = false;
    std::vector<OfferedBuild> builds; // as they should read, in file order
    std::vector<bool> complete;
    bool hasGlobal = false;
    bool exact = true; // false when a section name repeats: the system's reader decides those
};

class VersionFileGenerator {
public:
    explicit VersionFileGenerator(uint32_t seed) : random_(seed) {}

    GeneratedFile File() {
        GeneratedFile file;
        file.unicode = Chance(30);
        newline_ = Chance(50) ? L"\r\n" : L"\n";
        for (size_t count = Pick(6); count > 0; --count) {
            if (!Chance(15)) {
                BuildSection(file);
                continue;
            }
            // Not a build: the global section (once), or a name of another shape.
            const bool global = !file.hasGlobal && Chance(60);
            file.hasGlobal = file.hasGlobal || global;
            file.text += (global       ? L"[  global]"
                          : Chance(50) ? L"[Kovra]"
                                       : L"[Kovra:1]") +
                         newline_ + L"version=3" + newline_ + L"url=http://svc/" + newline_;
        }
        return file;
    }

    size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
    bool Chance(size_t percent) { return Pick(100) < percent; }
    template <typename T, size_t N>
    const T& Any(const T (&items)[N]) {
        return items[Pick(N)];
    }

private:
    std::wstring Blanks() { return std::wstring(Pick(3), Chance(50) ? L' ' : L'\t'); }

    void BuildSection(GeneratedFile& file) {
        const std::wstring tag = Chance(80) ? L"Kovra" : Chance(50) ? L"T e" : L"";
        const Number a = Any(kNumbers), b = Any(kNumbers);
        std::wstring name = tag + L":" + a.text + L":" + b.text + (Chance(20) ? L":9" : L"");
        if (Chance(5) && !file.builds.empty())
            name = file.builds[Pick(file.builds.size())].sectionName;
        for (const OfferedBuild& earlier : file.builds)
            file.exact = file.exact && ::lstrcmpiW(earlier.sectionName.c_str(), name.c_str());
        OfferedBuild& expected = file.builds.emplace_back();
        std::tie(expected.sectionName, expected.familyTag, expected.resId,
                 expected.offeredProductId) = std::tie(name, tag, a.value, b.value);
        OfferedBuild read = expected;
        unsigned bits = 0;
        std::vector<unsigned> fields; // 10: a line that sets nothing
        for (unsigned field = 0; field < 8; ++field)
            if (Chance(85))
                fields.push_back(field);
        for (size_t extra = Pick(6); extra > 0; --extra)
            fields.insert(fields.begin() + static_cast<ptrdiff_t>(Pick(fields.size() + 1)),
                          static_cast<unsigned>(Chance(50) ? Pick(10) : 10));
        std::vector<std::wstring> lines;
        size_t length = 0;
        for (const unsigned field : fields) {
            lines.push_back(field < 10 ? Line(field, read, bits, file.unicode) : Any(kOtherLines));
            length += lines.back().size() + 1;
        }
        // Beyond the reader's buffer a section is unreadable: only its name's values count.
        const bool fits = length < 850 && Chance(90);
        if (fits)
            expected = read;
        else
            lines.push_back(L"pad=" + std::wstring(1100, L'p'));
        file.complete.push_back(fits && bits == 0xFF);
        file.text += L"[" + Blanks() + name + L"]" + newline_;
        for (const std::wstring& line : lines)
            file.text += line + newline_;
    }

    // A line of field `field` (8: platform, 9: a parameter), applied to `build` as it must read.
    std::wstring Line(unsigned field, OfferedBuild& build, unsigned& bits, bool unicode) {
        std::wstring key = field < 9 ? kKeys[field] : Any(kParamKeys);
        for (wchar_t& c : key)
            c = field < 9 && Chance(30) ? static_cast<wchar_t>(std::towupper(c)) : c;
        const Number number = Any(kNumbers), minor = Any(kNumbers);
        std::wstring value = number.text;
        const auto text = [&](const std::wstring& stored) {
            return unicode ? stored : platform::WideFromAnsi(platform::AnsiFromWide(stored));
        };
        bool valid = field > 7 || Chance(85) || (field != 1 && field != 3);
        if (field == 0) {
            value = Chance(10) ? std::wstring(300, L'n') : Any(kNames);
            build.name = text(value);
        } else if (field == 1 && valid) { // without a point the line is passed over
            value += std::wstring(L".") + minor.text;
            build.major = number.value;
            build.minor = minor.value;
        } else if (field == 3) { // YYYYMMDD; shorter is passed over, longer cut
            const uint32_t date = static_cast<uint32_t>(Pick(100000000));
            value = platform::FormatWide(L"%08u", date);
            value = valid ? value + (Chance(30) ? L"xyz" : L"") : value.substr(0, 7);
            if (valid)
                std::tie(build.year, build.month, build.day) =
                    std::tuple(date / 10000, date / 100 % 100, date % 100);
        } else if (field == 2 || field == 6) {
            (field == 2 ? build.build : build.resId) = number.value;
        } else if (field == 4 || field == 5) {
            value = field == 4 ? (Chance(50) ? L"GET" : L"POST")
                               : L"http://127.0.0.1/dl/" + std::wstring(Pick(200), L'u');
            (field == 4 ? build.method : build.url) = platform::AnsiFromWide(value);
        } else if (field == 7) {
            value = Any(kLanguages);
            build.langId = platform::AnsiFromWide(value);
        } else if (field == 8) {
            value = Any(kPlatforms);
            build.wtlVariant = build.wtlVariant || ::lstrcmpiW(value.c_str(), L"wtl") == 0;
        } else if (field == 9) {
            value = Any(kNames);
            if (key.rfind(L"param_", 0) == 0 && key.size() >= 8)
                build.params.emplace_back(key.substr(6), text(value));
        }
        if (field < 8 && valid)
            bits |= 1u << field;
        return Blanks() + key + Blanks() + L"=" + Blanks() + value + Blanks();
    }

    std::mt19937 random_;
    std::wstring newline_;
};

auto Fields(const OfferedBuild& b) {
    return std::tie(b.familyTag, b.resId, b.offeredProductId, b.name, b.major, b.minor, b.build,
                    b.year, b.month, b.day, b.method, b.url, b.langId, b.wtlVariant, b.params);
}

// One complete build section of build 1250.
std::string Section(const std::string& name, uint32_t productId) {
    return "[" + name + ":1:" + std::to_string(productId) + "]\r\nname=" + name +
           "\r\nversion=5.3\r\nbuild=1250\r\ndate=20260401\r\nmethod=GET\r\n"
           "url=http://127.0.0.1/dl/" +
           name + ".exe\r\nres_id=1\r\nlang_id=en\r\n";
}

class VersionFiles : public ::testing::Test {
protected:
    void SetUp() override { folder_ = uitest::MakeTempFolder(L"zapdate-version-file-test"); }

    // A fresh file per case: the system's reader keeps recent files cached.
    std::wstring Write(const std::string& bytes) {
        path_ = folder_ + L"\\case" + std::to_wstring(++cases_) + L".ini";
        std::ofstream(std::filesystem::path(path_), std::ios::binary) << bytes;
        return path_;
    }
    VersionFile Load(const std::string& text, bool expected = true) {
        VersionFile file;
        EXPECT_EQ(file.LoadVersionFile(Write(text)), expected);
        return file;
    }
    std::wstring Write(const GeneratedFile& file) {
        const std::wstring text = L"\xFEFF" + file.text;
        return Write(file.unicode ? std::string(reinterpret_cast<const char*>(text.data()),
                                                text.size() * sizeof(wchar_t))
                                  : platform::AnsiFromWide(file.text));
    }

    // Appends a product of build 1200 with key product id `keyProductId`, chosen.
    void Choose(uint32_t keyProductId) {
        InstalledProduct product;
        std::tie(product.installCode, product.keyProductId, product.language, product.build) =
            std::tuple(1u, keyProductId, "en", 1200u);
        products_.Append(product);
        products_.SetSelected(products_.Count() - 1, true);
    }
    SelectionOutcome Select(const std::function<bool()>& cancel = {}) {
        return SelectUpdates(products_, selection_, versionFile_, path_, cancel);
    }

    // Chooses products (not all of them) with the keys of `builds` and pairs them; when `builds`
    // are what the file holds, checks each item against the first of them that belongs to it.
    void CheckSelection(VersionFileGenerator& generator, const std::vector<OfferedBuild>& builds,
                        bool exact, bool loaded) {
        InstalledProductList products(false);
        std::vector<InstalledProduct> chosen;
        for (size_t count = generator.Pick(5); count > 0; --count) {
            InstalledProduct product;
            if (!builds.empty() && generator.Chance(80)) {
                const OfferedBuild& o = builds[generator.Pick(builds.size())];
                std::tie(product.installCode, product.keyProductId, product.language) =
                    std::tie(o.resId, o.offeredProductId, o.langId);
                product.build = o.build + static_cast<uint32_t>(generator.Pick(3)) - 1;
            }
            products.Append(product);
            if (generator.Chance(80) && products.SetSelected(products.Count() - 1, true))
                chosen.push_back(products.At(products.Count() - 1));
        }
        UpdateSelection selection;
        VersionFile file;
        const SelectionOutcome outcome = SelectUpdates(products, selection, file, path_, {});
        if (!exact)
            return;
        ASSERT_EQ(outcome,
                  loaded ? SelectionOutcome::Paired : SelectionOutcome::VersionFileUnreadable);
        ASSERT_EQ(selection.items.size(), chosen.size());
        uint32_t updates = 0;
        for (size_t i = 0; loaded && i < chosen.size(); ++i) {
            const InstalledProduct& product = chosen[i];
            const InstalledProduct& item = selection.items[i];
            int32_t first = -1;
            for (size_t k = builds.size(); k-- > 0;)
                if (builds[k].resId == product.installCode && !builds[k].wtlVariant &&
                    builds[k].offeredProductId == product.keyProductId &&
                    builds[k].langId == product.language)
                    first = static_cast<int32_t>(k);
            const OfferedBuild offer = first < 0 ? OfferedBuild{} : builds[size_t(first)];
            const bool newer = first >= 0 && offer.build > product.build;
            updates += newer ? 1 : 0;
            EXPECT_EQ(item.Status(), first < 0 ? kStatusNoOfferedBuild
                                     : newer   ? kStatusUpdateAvailable
                                               : kStatusUpToDate);
            EXPECT_TRUE(item.IsSelected());
            EXPECT_EQ(item.offeredIndex, first);
            if (first >= 0) { // the offer is recorded; only a newer one becomes the item's
                EXPECT_EQ(std::tie(item.offeredName, item.offeredMajor, item.offeredMinor,
                                   item.offeredBuild),
                          std::tie(offer.name, offer.major, offer.minor, offer.build));
            }
            EXPECT_EQ(std::tie(item.versionMajor, item.versionMinor, item.build),
                      newer ? std::tie(offer.major, offer.minor, offer.build)
                            : std::tie(product.versionMajor, product.versionMinor, product.build));
        }
        EXPECT_EQ(selection.updateCount, updates);
    }

    std::wstring folder_;
    std::wstring path_;
    int cases_ = 0;
    InstalledProductList products_{false};
    UpdateSelection selection_;
    VersionFile versionFile_;
};

TEST_F(VersionFiles, OnlyAGlobalSectionLoadsWithoutBuildsAndAFileWithoutSectionsNot) {
    const VersionFile file = Load("[global]\r\nversion=3\r\nurl=http://example.test/\r\n");
    EXPECT_TRUE(file.HasGlobalSection());
    EXPECT_TRUE(file.Builds().empty());
    GlobalInfo info;
    ASSERT_TRUE(file.ReadGlobalInfo(info));
    EXPECT_EQ(std::tie(info.version, info.url), std::tuple(3u, L"http://example.test/"));
    // The global keys are exact: "Version" is not "version".
    EXPECT_FALSE(Load("[global]\r\nVersion=3\r\nurl=x\r\n").ReadGlobalInfo(info));
    EXPECT_EQ(info.url, L"x");
    EXPECT_FALSE(VersionFile().LoadVersionFile(folder_ + L"\\absent.ini"));
    Load("", false);
    Load("no sections here\r\nkey=value\r\n", false);
}

TEST_F(VersionFiles, SectionOfMoreThan1021CharactersIsUnreadable) {
    const std::string lines = "name=Kovra\r\nversion=5.3\r\nbuild=1250\r\ndate=20260401\r\n"
                              "method=GET\r\nurl=http://x/\r\nres_id=1\r\nlang_id=en\r\n";
    // The reader gives each line with a terminating zero instead of its line end.
    const size_t length = lines.size() - 8;
    for (const size_t total : {1021u, 1022u}) {
        const VersionFile file = Load("[Kovra:2:6]\r\n" + lines +
                                      "pad=" + std::string(total - length - 5, 'p') + "\r\n");
        OfferedBuild build;
        EXPECT_EQ(file.ParseSection(L"Kovra:2:6", build), total == 1021) << total;
        EXPECT_EQ(file.Builds().at(0).name, total == 1021 ? L"Kovra" : L"") << total;
        EXPECT_EQ(file.Builds().at(0).resId, total == 1021 ? 1u : 2u) << total;
    }
}

TEST_F(VersionFiles, ManySectionNamesGrowTheBuffer) {
    std::string text;
    for (int i = 0; i < 1200; ++i)
        text += "[Kovra:1:" + std::to_string(i) + "]\r\nbuild=" + std::to_string(i) + "\r\n";
    const VersionFile file = Load(text);
    ASSERT_EQ(file.Builds().size(), 1200u);
    EXPECT_EQ(std::tie(file.Builds()[1199].offeredProductId, file.Builds()[1199].build),
              std::tuple(1199u, 1199u));
}

// Now and then random bytes instead: they must not break the parser or the selection.
TEST_F(VersionFiles, GeneratedFilesReadAsTheGeneratorMeantThem) {
    VersionFileGenerator generator(20261207);
    static const char kAlphabet[] = "[]=:;\r\n\t Kovra0123456789-+.nameversionbuilddateurl_"
                                    "\x01\xff\x80\xfe\xef\xbb\xbf";
    for (int round = 0; round < 500 && !HasFailure(); ++round) {
        VersionFile file;
        if (round % 5 == 4) {
            std::string bytes(generator.Pick(3000), ' ');
            for (char& c : bytes)
                c = generator.Chance(1) ? '\0' : kAlphabet[generator.Pick(sizeof kAlphabet - 1)];
            file.LoadVersionFile(Write(bytes));
            GlobalInfo info;
            file.ReadGlobalInfo(info);
            CheckSelection(generator, file.Builds(), false, false);
            ::DeleteFileW(path_.c_str());
            continue;
        }
        const GeneratedFile generated = generator.File();
        const bool loaded = file.LoadVersionFile(Write(generated));
        SCOPED_TRACE(platform::AnsiFromWide(path_));
        EXPECT_EQ(loaded, generated.text.find(L'[') != std::wstring::npos);
        if (generated.exact) {
            EXPECT_EQ(file.HasGlobalSection(), generated.hasGlobal);
            GlobalInfo info;
            EXPECT_EQ(file.ReadGlobalInfo(info), generated.hasGlobal);
            ASSERT_EQ(file.Builds().size(), generated.builds.size());
            for (size_t i = 0; i < generated.builds.size(); ++i) {
                EXPECT_EQ(Fields(file.Builds()[i]), Fields(generated.builds[i]));
                OfferedBuild again;
                EXPECT_EQ(file.ParseSection(file.Builds()[i].sectionName, again),
                          generated.complete[i]);
            }
        }
        CheckSelection(generator, generated.exact ? generated.builds : file.Builds(),
                       generated.exact, loaded);
        if (!HasFailure()) // a failing case stays for a look
            ::DeleteFileW(path_.c_str());
    }
}

// The pairing runs again only when the choice changed or the file could not be read.
TEST_F(VersionFiles, UnchangedChoiceKeepsTheEarlierPairingAndAnUnreadableFileIsTriedAgain) {
    path_ = folder_ + L"\\absent.ini";
    Choose(6);
    Choose(7);
    EXPECT_EQ(Select(), SelectionOutcome::VersionFileUnreadable);
    Write(Section("Kovra", 6));
    ASSERT_EQ(Select(), SelectionOutcome::Paired) << "the same choice, now with a file";
    EXPECT_EQ(selection_.updateCount, 1u);
    selection_.items[0].SetStatus(kStatusDownloaded);
    ::DeleteFileW(path_.c_str());
    EXPECT_EQ(Select(), SelectionOutcome::Reused) << "the file is not read again";
    EXPECT_EQ(selection_.updateCount, 0u) << "counted from the items as they stand";
    EXPECT_EQ(selection_.items[0].Status(), kStatusDownloaded);
    products_.SetSelected(1, false);
    EXPECT_EQ(Select(), SelectionOutcome::VersionFileUnreadable) << "a new choice pairs again";
}

TEST_F(VersionFiles, CancelStopsTheSelectionBeforeTheNextProduct) {
    Write(Section("A", 6) + Section("B", 7));
    for (const uint32_t id : {6u, 7u, 8u})
        Choose(id);
    int asked = 0;
    EXPECT_EQ(Select([&] { return ++asked > 1; }), SelectionOutcome::Cancelled);
    EXPECT_EQ(asked, 2) << "asked once per product until it said yes";
    EXPECT_EQ(selection_.updateCount, 1u);
    const std::vector<InstalledProduct>& items = selection_.items;
    EXPECT_EQ(std::tuple(items[0].Status(), items[1].Status(), items[2].Status()),
              std::tuple(kStatusUpdateAvailable, kStatusNotUpdated, kStatusNotUpdated));
}

} // namespace

// Whole updates as the user goes through them: the wizard fetches the version file from the
// update site that the test writes for nginx, downloads the packages, runs their installers,
// and reports on the end page what the registry says afterwards.

#include "catalogue/installed_product_list.h"
#include "platform/run_log.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/update_test.h"
#include "tests/support/wizard_session.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>

using testpkg::Behaviour;
using uitest::kWizardTimeoutMs;

using namespace testsupport;

namespace {

// The run log in the temporary folder that the wizard shares with the tests.
std::filesystem::path RunLogPath() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    return std::filesystem::path(temp) / platform::kRunLogName;
}

std::string RunLog() {
    std::ifstream file(RunLogPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Each of `lines` is in the run log: a line that holds its parts in this order.
void ExpectRunLogLines(const std::vector<std::vector<std::string>>& lines) {
    std::vector<std::string> log;
    std::istringstream text(RunLog());
    for (std::string line; std::getline(text, line);)
        log.push_back(line);
    for (const std::vector<std::string>& parts : lines) {
        const bool found = std::any_of(log.begin(), log.end(), [&](const std::string& line) {
            size_t at = 0;
            for (const std::string& part : parts)
                if ((at = line.find(part, at)) == std::string::npos)
                    return false;
            return true;
        });
        EXPECT_TRUE(found) << parts[0] << "\n" << RunLog();
    }
}

// HKEY_CLASSES_ROOT\http\shell\open\command set to `command` while the object lives.
class HttpHandler {
public:
    explicit HttpHandler(const std::wstring& command) {
        wchar_t old[1024] = {};
        DWORD size = sizeof old;
        if (::RegGetValueW(HKEY_CLASSES_ROOT, kKey, nullptr, RRF_RT_REG_SZ, nullptr, old, &size) ==
            ERROR_SUCCESS)
            old_ = old;
        Set(command);
    }
    ~HttpHandler() {
        if (old_)
            Set(*old_);
        else
            ::RegDeleteKeyValueW(HKEY_CLASSES_ROOT, kKey, nullptr);
    }
    HttpHandler(const HttpHandler&) = delete;
    HttpHandler& operator=(const HttpHandler&) = delete;

private:
    static constexpr wchar_t kKey[] = L"http\\shell\\open\\command";
    static void Set(const std::wstring& value) {
        ::RegSetKeyValueW(HKEY_CLASSES_ROOT, kKey, nullptr, REG_SZ, value.c_str(),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    std::optional<std::wstring> old_;
};

// Whole seconds as the install page shows them ("1 second", "12 seconds"); -1 for other texts.
int SecondsShown(const std::wstring& text) {
    unsigned seconds = 0;
    wchar_t unit[16] = {};
    if (std::swscanf(text.c_str(), L"%u %15ls", &seconds, unit) != 2)
        return -1;
    return std::wstring(unit) == (seconds == 1 ? L"second" : L"seconds") ? int(seconds) : -1;
}

class WholeUpdate : public UpdateTest {
protected:
    // A command line that records its arguments in `reportPath`: the test installer, which
    // reports how it was started and does nothing without its silent switch.
    std::wstring MakeRecorder(const std::wstring& reportPath) const {
        testpkg::TestPackage recorder;
        recorder.reportPath = reportPath;
        const std::wstring path = folder_ + L"\\recorder.exe";
        EXPECT_TRUE(testpkg::MakeTestPackage(uitest::ProgramFolder() + L"test_installer.exe", path,
                                             recorder));
        return L"\"" + path + L"\" %1";
    }

    bool StartWizard(const std::wstring& arguments = {},
                     std::vector<std::wstring> environment = {}) {
        environment.push_back(site_->HostVariable());
        return site_->Publish() && wizard_.Start(arguments, environment);
    }

    static std::string Names(const std::vector<uitest::ListRow>& rows) {
        std::string names;
        for (const uitest::ListRow& row : rows)
            names += platform::AnsiFromWide(row.columns[0] + L": " + row.columns[4]) + "; ";
        return names;
    }

    static const uitest::ListRow* RowNamed(const std::vector<uitest::ListRow>& rows,
                                           const std::wstring& name) {
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const uitest::ListRow& row) {
            return row.columns[0] == name;
        });
        return found == rows.end() ? nullptr : &*found;
    }

    uitest::WizardSession wizard_;
};

// The words of the English download and install pages that German has no use for.
void ExpectNoEnglishWord(const std::vector<std::wstring>& texts) {
    static const std::set<std::wstring> english = {
        L"second",   L"seconds",     L"minute", L"minutes", L"hour",    L"hours",
        L"Updating", L"Downloading", L"build",  L"Time",    L"elapsed", L"remaining",
        L"Transfer", L"rate",        L"Please", L"wait",    L"while",   L"progress"};
    for (const std::wstring& text : texts) {
        std::wstring word;
        for (const wchar_t c : text + L" ") {
            if (std::iswalpha(c)) {
                word += c;
                continue;
            }
            EXPECT_EQ(english.count(word), 0u) << platform::Utf8FromWide(text);
            word.clear();
        }
    }
}

} // namespace

TEST_F(WholeUpdate, EndPageReportsEachOutcomeAsTheRegistryHasIt) {
    InstallAndOffer(kKovra, Behaviour::Succeed);
    InstallAndOffer(kTessel, Behaviour::FailAfterUpdate); // exits non-zero, yet updated
    InstallAndOffer(kBrisk, Behaviour::Fail);
    demo::ProductRecord lumen = Install(kLumen);
    site_->OfferMissingPackage(lumen, "never_asked.exe"); // offers the installed build
    Install(kMailGuard);                                  // nothing offered
    ASSERT_TRUE(StartWizard());
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    ASSERT_TRUE(
        uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_PROGRESS_BAR, kWizardTimeoutMs));

    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 5u) << Names(rows);
    struct Expected {
        const TestProduct* product;
        const wchar_t* outcome;
        int image; // 0 success, 1 failure
        const wchar_t* build;
    };
    for (const Expected& expected :
         {Expected{&kKovra, L"Successful", 0, L"1250"},
          Expected{&kTessel, L"Successful", 0, L"1250"}, Expected{&kBrisk, L"Failed. ", 1, L"1200"},
          Expected{&kLumen, L"Product is up to date", 0, L"1200"},
          Expected{&kMailGuard, L"No updates is available", 0, L"1200"}}) {
        const uitest::ListRow* row = RowNamed(rows, expected.product->name);
        ASSERT_NE(row, nullptr) << platform::AnsiFromWide(expected.product->name) << " in "
                                << Names(rows);
        EXPECT_EQ(row->columns[4], expected.outcome) << platform::AnsiFromWide(row->columns[0]);
        EXPECT_EQ(row->image, expected.image) << platform::AnsiFromWide(row->columns[0]);
        EXPECT_EQ(row->columns[2], expected.build) << platform::AnsiFromWide(row->columns[0]);
    }
    EXPECT_EQ(InstalledBuild(kKovra.record), 1250u);
    EXPECT_EQ(InstalledBuild(kTessel.record), 1250u);
    EXPECT_EQ(InstalledBuild(kBrisk.record), 1200u);
    EXPECT_NE(Report(kTessel).find("finished 3"), std::string::npos) << Report(kTessel);

    // The box below the list shows the picked row's outcome; only Finish is offered.
    const int brisk = static_cast<int>(RowNamed(rows, kBrisk.name) - rows.data());
    EXPECT_EQ(wizard_.OutcomeBoxFor(brisk), L"Failed. ");
    EXPECT_TRUE(uitest::ButtonEnabled(wizard_.Sheet(), uitest::kFinishButton));
    EXPECT_FALSE(uitest::ButtonEnabled(wizard_.Sheet(), uitest::kBackButton));
    EXPECT_FALSE(uitest::ButtonVisible(wizard_.Sheet(), IDCANCEL));
    uitest::SaveScreenshot("en/end.png");
    EXPECT_TRUE(wizard_.Finish());
}

TEST_F(WholeUpdate, CancelDuringTheSecondOfThreeInstallersSkipsTheThird) {
    for (const TestProduct* product : {&kKovra, &kTessel, &kBrisk})
        Install(*product);
    // The wizard installs in the order in which it reads the products.
    std::vector<const TestProduct*> order;
    for (const InstalledProduct& scanned : ScannedProducts())
        for (const TestProduct* product : {&kKovra, &kTessel, &kBrisk})
            if (product->record.keyProductId == scanned.keyProductId)
                order.push_back(product);
    ASSERT_EQ(order.size(), 3u);
    InstallAndOffer(*order[0], Behaviour::Succeed);
    InstallAndOffer(*order[1], Behaviour::Hang);
    InstallAndOffer(*order[2], Behaviour::Succeed);
    ASSERT_TRUE(StartWizard());
    const ULONGLONG started = ::GetTickCount64();
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    ASSERT_TRUE(uitest::WaitUntil(
        [&] {
            return uitest::ControlText(wizard_.Page(), IDC_INSTALL_CURRENT) ==
                   L"Updating " + order[1]->name;
        },
        kWizardTimeoutMs));

    // The page counts the whole seconds since it started, never more than have passed.
    const HWND page = wizard_.Page();
    std::wstring elapsed;
    ASSERT_TRUE(uitest::WaitUntil(
        [&] {
            elapsed = uitest::ControlText(page, IDC_INSTALL_ELAPSED);
            return !elapsed.empty() && elapsed != L"0 seconds";
        },
        kWizardTimeoutMs));
    EXPECT_GE(SecondsShown(elapsed), 1) << platform::AnsiFromWide(elapsed);
    EXPECT_LE(SecondsShown(elapsed) * 1000ull, ::GetTickCount64() - started);

    // No, the default answer, keeps the installation going: the page still counts its seconds.
    // Yes ends it without waiting for the hanging installer.
    for (const int answer : {IDNO, IDYES}) {
        uitest::PressWizardButton(wizard_.Sheet(), PSBTN_CANCEL);
        const uitest::Question question = uitest::AnswerQuestion(L"Velk Update Wizard", 0, answer);
        ASSERT_EQ(question.text, L"Cancel installing the update?");
        EXPECT_EQ(question.defaultButton, IDNO);
        if (answer == IDNO) {
            elapsed = uitest::ControlText(page, IDC_INSTALL_ELAPSED);
            EXPECT_TRUE(uitest::WaitUntil(
                [&] { return uitest::ControlText(page, IDC_INSTALL_ELAPSED) != elapsed; },
                kWizardTimeoutMs));
        }
    }

    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 3u) << Names(rows);
    EXPECT_EQ(RowNamed(rows, order[0]->name)->columns[4], L"Successful");
    EXPECT_EQ(RowNamed(rows, order[1]->name)->columns[4], L"Failed. Canceled by user");
    EXPECT_EQ(RowNamed(rows, order[2]->name)->columns[4], L"Failed. Canceled by user");
    EXPECT_EQ(Report(*order[2]), "") << "the third installer never started";
    EXPECT_EQ(InstalledBuild(order[2]->record), 1200u);
}

TEST_F(WholeUpdate, GermanWizardShowsNoEnglishWordWhileDownloadingAndInstalling) {
    const uitest::UiLanguage german(1031);
    testpkg::TestPackage package = InstallWithPackage(kKovra, Behaviour::Hang);
    ASSERT_TRUE(site_->Offer(package, "slow_kovra_setup.exe")); // a trickle: the times show
    ASSERT_TRUE(StartWizard());
    EXPECT_EQ(uitest::WindowText(wizard_.Sheet()), L"Velk Update-Assistent");
    EXPECT_EQ(uitest::ControlText(wizard_.Page(), IDC_TITLE),
              L"Willkommen beim Velk Update-Assistenten");
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    ASSERT_TRUE(
        uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_PROGRESS_BAR, kWizardTimeoutMs));
    const auto shows = [&](int id) {
        return uitest::WaitUntil([&] { return uitest::ControlText(wizard_.Page(), id).size() > 1; },
                                 kWizardTimeoutMs);
    };
    ASSERT_TRUE(shows(IDC_ELAPSED_TIME));
    ExpectNoEnglishWord(uitest::StaticTexts(wizard_.Page()));
    uitest::SaveScreenshot("de/download.png");

    ASSERT_TRUE(shows(IDC_INSTALL_CURRENT) && shows(IDC_INSTALL_ELAPSED));
    ExpectNoEnglishWord(uitest::StaticTexts(wizard_.Page()));
    uitest::SaveScreenshot("de/install.png");
    uitest::PressWizardButton(wizard_.Sheet(), PSBTN_CANCEL);
    ASSERT_FALSE(uitest::AnswerQuestion(L"Velk Update-Assistent", 0, IDYES).text.empty());
    EXPECT_EQ(wizard_.EndPageRows().size(), 1u);
}

TEST_F(WholeUpdate, NothingDownloadedLeadsStraightToTheEndPage) {
    demo::ProductRecord offered = Install(kKovra);
    offered.installedBuild = "1250";
    site_->OfferMissingPackage(offered, "missing_setup.exe");
    ASSERT_TRUE(StartWizard());
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    // A failed download leaves the product waiting for its update, which is no failure.
    EXPECT_EQ(rows[0].columns[4], L"Not updated");
    EXPECT_EQ(rows[0].image, 0);
    EXPECT_EQ(InstalledBuild(kKovra.record), 1200u);
}

TEST_F(WholeUpdate, TemporaryFolderWithBlanksHoldsTheCopyAndThePackages) {
    const std::wstring temp = folder_ + L"\\temp with blanks";
    ::CreateDirectoryW(temp.c_str(), nullptr);
    InstallAndOffer(kKovra, Behaviour::Succeed);
    ASSERT_TRUE(StartWizard({}, {L"TMP=" + temp, L"TEMP=" + temp}));
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[4], L"Successful");
    EXPECT_NE(::GetFileAttributesW(
                  (temp + L"\\FB4B2B76-3823-4004-A4F5-C019BA623A48-Velk\\Zapdate.exe").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the wizard runs from its copy there";
    // The installer found its silent switch behind the quoted path.
    EXPECT_NE(Report(kKovra).find(" /S\n"), std::string::npos) << Report(kKovra);
    EXPECT_EQ(InstalledBuild(kKovra.record), 1250u);
}

TEST_F(WholeUpdate, CommandLineIdsGoStraightToTheDownloadOfThatProduct) {
    InstallAndOffer(kKovra, Behaviour::Succeed);
    InstallAndOffer(kTessel, Behaviour::Succeed);
    const std::vector<InstalledProduct> scanned = ScannedProducts();
    const auto tessel = std::find_if(scanned.begin(), scanned.end(), [](const auto& product) {
        return product.keyProductId == kTessel.record.keyProductId;
    });
    ASSERT_NE(tessel, scanned.end());
    ASSERT_TRUE(StartWizard(platform::FormatWide(L"%u %u", tessel->resellerId, tessel->productId)));
    uitest::PressWizardButton(wizard_.Sheet(), PSBTN_NEXT);
    ASSERT_TRUE(
        uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_PROGRESS_BAR, kWizardTimeoutMs));
    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[0], kTessel.name);
    EXPECT_EQ(rows[0].columns[4], L"Successful");
    EXPECT_EQ(InstalledBuild(kKovra.record), 1200u);
}

TEST_F(WholeUpdate, UnreachableHostLeadsToTheErrorPage) {
    InstallAndOffer(kKovra, Behaviour::Succeed);
    ASSERT_TRUE(site_->Publish());
    const std::wstring host = platform::FormatWide(L"ZAPDATE_UPDATE_HOST=127.0.0.1:%u",
                                                   static_cast<unsigned>(ClosedPort()));
    ASSERT_TRUE(wizard_.Start({}, {host}));
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_ERROR_TEXT, kWizardTimeoutMs));
    EXPECT_EQ(uitest::ControlText(wizard_.Page(), IDC_ERROR_TEXT),
              L"Can't connect with Velk Update Service");
    EXPECT_TRUE(uitest::ButtonEnabled(wizard_.Sheet(), uitest::kFinishButton));

    // The link opens the maker's web site through the shell's handler of http addresses.
    const std::wstring linkReport = folder_ + L"\\link-report.txt";
    ::DeleteFileW(linkReport.c_str());
    const HttpHandler handler(MakeRecorder(linkReport));
    const HWND link = ::GetDlgItem(wizard_.Page(), IDC_WEB_LINK);
    ::PostMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    std::string opened;
    EXPECT_TRUE(uitest::WaitUntil(
        [&] {
            const std::vector<char> bytes = testpkg::ReadFileBytes(linkReport);
            opened.assign(bytes.begin(), bytes.end());
            return opened.find("http://www.velk.com") != std::string::npos;
        },
        kWizardTimeoutMs))
        << opened;
}

TEST_F(WholeUpdate, OnlyPackagesWithThePublishedBytesAreInstalled) {
    InstallAndOffer(kKovra, Behaviour::Succeed, PackageHash::Published);
    InstallAndOffer(kTessel, Behaviour::Succeed, PackageHash::Published);
    AlterPackage(kTessel);                       // the site changed after publishing
    InstallAndOffer(kBrisk, Behaviour::Succeed); // no hash: installed as before
    InstallAndOffer(kLumen, Behaviour::Succeed, PackageHash::Malformed);
    std::filesystem::remove(RunLogPath());
    ASSERT_TRUE(StartWizard());
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 4u) << Names(rows);

    const std::wstring damaged = L"The downloaded package is damaged or was changed on the way, "
                                 L"so it was not installed.";
    for (const auto& [product, outcome, image] :
         {std::tuple{&kKovra, L"Successful", 0}, std::tuple{&kBrisk, L"Successful", 0},
          std::tuple{&kTessel, damaged.c_str(), 1}, std::tuple{&kLumen, damaged.c_str(), 1}}) {
        const uitest::ListRow* row = RowNamed(rows, product->name);
        ASSERT_NE(row, nullptr) << Names(rows);
        EXPECT_EQ(row->columns[4], outcome) << platform::AnsiFromWide(row->columns[0]);
        EXPECT_EQ(row->image, image) << platform::AnsiFromWide(row->columns[0]);
    }
    EXPECT_EQ(Report(kTessel), "") << "the altered package never ran";
    EXPECT_EQ(Report(kLumen), "");
    EXPECT_EQ(InstalledBuild(kTessel.record), 1200u);
    EXPECT_EQ(InstalledBuild(kKovra.record), 1250u);
    EXPECT_EQ(InstalledBuild(kBrisk.record), 1250u);
    // The rejected package is gone from the update temporary folder; an accepted one is there.
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    for (const InstalledProduct& scanned : ScannedProducts()) {
        const bool rejected = scanned.keyProductId == kTessel.record.keyProductId;
        if (!rejected && scanned.keyProductId != kKovra.record.keyProductId)
            continue;
        const std::wstring package = platform::FormatWide(
            L"%sFB4B2B76-3823-4004-A4F5-C019BA623A48-Velk\\kvu_%u_%u_32_64.exe", temp,
            scanned.resellerId, scanned.productId);
        EXPECT_EQ(::GetFileAttributesW(package.c_str()) == INVALID_FILE_ATTRIBUTES, rejected)
            << platform::AnsiFromWide(package);
    }
    EXPECT_EQ(wizard_.OutcomeBoxFor(static_cast<int>(RowNamed(rows, kTessel.name) - rows.data())),
              damaged);
    uitest::SaveScreenshot("en/end-package-damaged.png");

    // One line for each step of the run, and nothing of the user's folders.
    ExpectRunLogLines({{"] run: start from the product's folder; arguments: "},
                       {"] run: update wizard; arguments: -velk_update_wizard_run_updating"},
                       {"] product found: Tessel 5.2 build 1200 (reseller "},
                       {"] version file /downloads/update.ini: ", " bytes, SHA-256 "},
                       {"] pairing: Kovra build 1200 with [", "] build 1250: update available"},
                       {"] download http://127.0.0.1:", "/dl/Kovra-6_setup.exe: done; ",
                        " bytes in ", " bytes/s; SHA-256 matches the published one"},
                       {"/dl/Tessel-22_setup.exe: done; ", "SHA-256 differs"},
                       {"/dl/Brisk-32_setup.exe: done; ", "no SHA-256 published"},
                       {"/dl/Lumen-1_setup.exe: not requested; ", "not 64 hexadecimal digits"},
                       {"] installer \"kvu_", "_6_32_64.exe\" /S: exit code 0 after ", " ms"},
                       {"] verification: Kovra: build 1250 installed, 1250 offered: updated"},
                       {"] end page: Tessel: " + platform::Utf8FromWide(damaged)}});
    EXPECT_EQ(RunLog().find(platform::Utf8FromWide(temp)), std::string::npos);
}

namespace {

// The wizard built with the tests' key, which demands the version file's signature.
class SignedUpdate : public WholeUpdate {
protected:
    bool StartSignedWizard() {
        return wizard_.Start({}, {site_->HostVariable()},
                             uitest::ProgramFolder() + L"signed\\Zapdate.exe");
    }
    static std::wstring PrivateKey() {
        return uitest::ProgramFolder() + L"signed\\version_file_key.private";
    }
};

} // namespace

TEST_F(SignedUpdate, GoodSignatureUpdates) {
    InstallAndOffer(kKovra, Behaviour::Succeed, PackageHash::Published);
    ASSERT_TRUE(site_->Publish() && site_->Sign(PrivateKey()));
    ASSERT_TRUE(StartSignedWizard());
    ASSERT_TRUE(wizard_.ChooseEveryProduct());
    const std::vector<uitest::ListRow> rows = wizard_.EndPageRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].columns[4], L"Successful");
    EXPECT_EQ(InstalledBuild(kKovra.record), 1250u);
}

TEST_F(SignedUpdate, MissingOrAlteredSignatureEndsAtTheErrorPageWithNothingDownloaded) {
    InstallAndOffer(kKovra, Behaviour::Succeed);
    ASSERT_TRUE(site_->Publish());
    const std::wstring signature = site_->VersionFilePath() + L".sig";
    for (const bool altered : {false, true}) {
        SCOPED_TRACE(altered ? "altered signature" : "no signature");
        if (altered) {
            ASSERT_TRUE(site_->Sign(PrivateKey()));
            std::vector<char> bytes = testpkg::ReadFileBytes(signature);
            ASSERT_EQ(bytes.size(), 64u);
            bytes[10] ^= 0x01;
            std::ofstream(std::filesystem::path(signature), std::ios::binary)
                .write(bytes.data(), 64);
        }
        const size_t requestsBefore = SiteRequestCount(nginx_);
        ASSERT_TRUE(StartSignedWizard());
        ASSERT_TRUE(wizard_.ChooseEveryProduct());
        ASSERT_TRUE(
            uitest::WaitForPageWithControl(wizard_.Sheet(), IDC_ERROR_TEXT, kWizardTimeoutMs));
        EXPECT_EQ(uitest::ControlText(wizard_.Page(), IDC_ERROR_TEXT),
                  L"Can't connect with Velk Update Service");
        ExpectRunLogLines({{"] version file signature: missing or wrong"},
                           {"] error page: Can't connect with Velk Update Service"}});
        EXPECT_EQ(SiteRequestCount(nginx_) - requestsBefore, 2u)
            << "the version file and its signature, no package";
        EXPECT_TRUE(wizard_.Finish());
        EXPECT_EQ(InstalledBuild(kKovra.record), 1200u);
    }
}

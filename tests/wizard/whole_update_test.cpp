// Whole updates as the user goes through them: the wizard fetches the version file from the
// update site that the test writes for nginx, downloads the packages, runs their installers,
// and reports on the end page what the registry says afterwards.

#include "catalogue/installed_product_list.h"
#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/update_test.h"
#include "tests/support/wizard_session.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <set>

using testpkg::Behaviour;
using uitest::kWizardTimeoutMs;

using namespace testsupport;

namespace {

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

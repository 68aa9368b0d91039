// The introduction page's short cut and the product list page, driven as the user drives them,
// with products registered in the test prefix's registry as their installers leave them.

#include "platform/text.h"
#include "platform/unique_resource.h"
#include "resources/resource_ids.h"
#include "tests/support/wizard_session.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <prsht.h>

namespace {

using uitest::kWizardTimeoutMs;

struct Installed {
    const char* family;
    uint32_t id;
    const wchar_t* program;
    const char* version;
    const char* build;
    bool dated;
};

constexpr Installed kProducts[] = {
    {"Kovra", 6, L"kovra.exe", "5.2", "1200", true},
    {"Tessel", 22, L"ktessel.exe", "3.1", "870", true},
    {"Brisk", 32, L"kbrisk.exe", "2.0", "415", false},
};

class ProductPages : public ::testing::Test {
protected:
    void SetUp() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
        const std::wstring root = uitest::MakeTempFolder(L"zapdate-product-pages-test");
        for (const Installed& product : kProducts)
            ASSERT_TRUE(Register(root, product));
    }
    void TearDown() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
    }

    static bool Register(const std::wstring& root, const Installed& product) {
        const std::wstring folder = root + L"\\" + platform::WideFromAnsi(product.family);
        if (product.dated) {
            if (!demo::MakeInstallFolder(folder, product.program, {2026, 3, 14}))
                return false;
        } else {
            // A program file that is no executable image: installed, but without a date.
            ::CreateDirectoryW(folder.c_str(), nullptr);
            const platform::UniqueHandle file(
                ::CreateFileW((folder + L"\\" + product.program).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, 0, nullptr));
            const std::string zeros(20000, '\0');
            DWORD written = 0;
            if (!file || !::WriteFile(file.Get(), zeros.data(), 20000, &written, nullptr))
                return false;
        }
        demo::ProductRecord record;
        record.family = product.family;
        record.keyProductId = product.id;
        record.installPath = platform::AnsiFromWide(folder);
        record.installedVersion = product.version;
        record.installedBuild = product.build;
        return demo::RegisterProduct(record);
    }

    void Start(const std::wstring& arguments = L"") {
        // No update host answers: these tests end at the download page.
        ASSERT_TRUE(wizard_.Start(arguments, {L"ZAPDATE_UPDATE_HOST=127.0.0.1:9"}));
    }

    // The page that the wizard shows next holds `controlId`.
    bool NextLeadsTo(int controlId) const {
        uitest::PressWizardButton(wizard_.Sheet(), PSBTN_NEXT);
        return uitest::WaitForPageWithControl(wizard_.Sheet(), controlId, kWizardTimeoutMs);
    }

    HWND OpenProductList() const {
        if (!NextLeadsTo(IDC_PRODUCT_LIST))
            return nullptr;
        const HWND list = ::GetDlgItem(wizard_.Page(), IDC_PRODUCT_LIST);
        uitest::WaitUntil([&] { return Rows(list).size() == std::size(kProducts); },
                          kWizardTimeoutMs);
        return list;
    }

    static std::vector<uitest::ListRow> Rows(HWND list) { return uitest::ReadListView(list, 4); }

    static std::vector<bool> Checks(HWND list) {
        std::vector<bool> checks;
        for (const uitest::ListRow& row : Rows(list))
            checks.push_back(row.checked);
        return checks;
    }

    static bool ChecksBecome(HWND list, const std::vector<bool>& expected) {
        return uitest::WaitUntil([&] { return Checks(list) == expected; }, kWizardTimeoutMs);
    }

    uitest::WizardSession wizard_;
};

} // namespace

TEST_F(ProductPages, FirstDisplayChecksEveryProductAndClicksOrTheNameHeadingToggleThem) {
    Start();
    const HWND list = OpenProductList();
    ASSERT_NE(list, nullptr);
    const std::vector<uitest::ListRow> rows = Rows(list);
    ASSERT_EQ(rows.size(), 3u);
    std::vector<std::wstring> names;
    for (const uitest::ListRow& row : rows) {
        EXPECT_TRUE(row.checked);
        names.push_back(row.columns[0]);
        if (row.columns[0] == L"Kovra") {
            EXPECT_EQ(row.columns[1], L"5.2");
            EXPECT_EQ(row.columns[2], L"1200");
            EXPECT_NE(row.columns[3].find(L"2026"), std::wstring::npos) << row.columns[3];
        }
        if (row.columns[2] == L"415") {
            EXPECT_EQ(row.columns[3], L"") << "a product without a build date";
        }
    }
    EXPECT_NE(std::find(names.begin(), names.end(), L"Kovra"), names.end());
    EXPECT_TRUE(wizard_.ButtonsBecome(true, true));
    uitest::SaveScreenshot("en/product_list.png");

    // A click on a name toggles its check and the Name heading each one; the Version heading
    // does nothing (clicks are taken in turn: its click is handled before the next).
    uitest::ClickListItem(list, 2);
    ASSERT_TRUE(ChecksBecome(list, {true, true, false}));
    uitest::ClickListHeader(list, 1);
    uitest::ClickListHeader(list, 0);
    ASSERT_TRUE(ChecksBecome(list, {false, false, true}));
    uitest::ClickListItem(list, 2);
    ASSERT_TRUE(ChecksBecome(list, {false, false, false}));
    EXPECT_TRUE(wizard_.ButtonsBecome(true, false)) << "nothing checked: no Next";
    uitest::ClickListItem(list, 1);
    ASSERT_TRUE(ChecksBecome(list, {false, true, false}));
    EXPECT_TRUE(wizard_.ButtonsBecome(true, true));
}

TEST_F(ProductPages, CommandLineProductOfAnotherEditionIsFoundByItsMappedId) {
    Start(L"1 4"); // 4 is another edition of product 6
    EXPECT_TRUE(NextLeadsTo(IDC_PROGRESS_BAR));
}

TEST_F(ProductPages, CommandLineProductNotInstalledLeadsToTheErrorPage) {
    Start(L"7 6");
    ASSERT_TRUE(NextLeadsTo(IDC_ERROR_TEXT));
    EXPECT_EQ(uitest::ControlText(wizard_.Page(), IDC_ERROR_TEXT),
              L"Update error! Can't find specified product. Try to run Velk Update Wizard without "
              L"command lines keys.");
    EXPECT_TRUE(uitest::WaitUntil(
        [&] { return uitest::ButtonEnabled(wizard_.Sheet(), uitest::kFinishButton); },
        kWizardTimeoutMs));
    EXPECT_FALSE(uitest::ButtonVisible(wizard_.Sheet(), IDCANCEL)) << "Finish alone";
    EXPECT_FALSE(uitest::ButtonEnabled(wizard_.Sheet(), uitest::kBackButton));
    uitest::SaveScreenshot("en/error_not_found.png");
    EXPECT_TRUE(wizard_.Finish());
}

TEST_F(ProductPages, RunningProductKeepsTheIntroductionUntilItIsClosed) {
    platform::UniqueHandle running(::CreateMutexA(nullptr, FALSE, "kv_family_running_mutex.22"));
    ASSERT_TRUE(running);
    Start(L"1 22");
    for (int attempt = 0; attempt < 2; ++attempt) {
        uitest::PressWizardButton(wizard_.Sheet(), PSBTN_NEXT);
        ASSERT_EQ(uitest::AnswerQuestion(L"Velk Update Wizard", 0, IDOK).text,
                  L"Please close Tessel before downloading the update");
        EXPECT_NE(::GetDlgItem(wizard_.Page(), IDC_INTRO_NOTE), nullptr);
    }
    running.Reset();
    EXPECT_TRUE(NextLeadsTo(IDC_PROGRESS_BAR));
}

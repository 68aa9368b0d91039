// The wizard as the user drives it: pages, titles and button states.

#include "resources/resource_ids.h"
#include "tests/support/ui_automation.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <prsht.h>

namespace {

constexpr DWORD kTimeoutMs = 60000;
constexpr int kBackButton = 0x3023;
constexpr int kNextButton = 0x3024;
constexpr int kFinishButton = 0x3025;

class WizardFlow : public ::testing::Test {
protected:
    void SetUp() override {
        uitest::EndProcessesNamed(L"Zapdate.exe");
        demo::RemoveAllProducts();
        program_ = uitest::Launch(L"\"" + uitest::ProgramFolder() + L"Zapdate.exe\"");
        ASSERT_TRUE(program_);
        wizard_ = uitest::WaitForWizard(kTimeoutMs);
        ASSERT_NE(wizard_, nullptr);
    }
    void TearDown() override { uitest::EndProcessesNamed(L"Zapdate.exe"); }

    // Waits until the wizard's buttons are in the posted state.
    bool ButtonsAre(bool back, bool next) const {
        return uitest::WaitUntil(
            [&] {
                return uitest::ButtonEnabled(wizard_, kBackButton) == back &&
                       uitest::ButtonEnabled(wizard_, kNextButton) == next;
            },
            kTimeoutMs);
    }

    uitest::Process program_;
    HWND wizard_ = nullptr;
};

} // namespace

TEST_F(WizardFlow, IntroductionOffersNextAlone) {
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_INTRO_NOTE, kTimeoutMs));
    EXPECT_TRUE(ButtonsAre(false, true));
    EXPECT_TRUE(uitest::ButtonVisible(wizard_, IDCANCEL));
    const std::vector<std::wstring> texts = uitest::StaticTexts(uitest::CurrentPage(wizard_));
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"Welcome to Velk Update Wizard");
    EXPECT_EQ(texts[1], L"Velk Update will downloads and installs updates for Velk products");
    EXPECT_EQ(texts[2],
              L"It is strongly recommended that you close all other applications you have running "
              L"before continuing. This will help prevent any conflicts during the installation "
              L"process. \n\nClick Next to continue, or  Cancel to exit.");
    uitest::SaveScreenshot("en/intro.png");
}

TEST_F(WizardFlow, NextLeadsToTheProductListEvenWithNothingInstalled) {
    uitest::PressWizardButton(wizard_, PSBTN_NEXT);
    ASSERT_TRUE(uitest::WaitForPageWithControl(wizard_, IDC_PRODUCT_LIST, kTimeoutMs));
    EXPECT_TRUE(ButtonsAre(true, false)) << "an empty list offers no Next";
    EXPECT_EQ(uitest::WindowText(wizard_), L"Velk Update Wizard");
}

TEST_F(WizardFlow, CancelClosesTheWizardFromTheIntroduction) {
    uitest::PressWizardButton(wizard_, PSBTN_CANCEL);
    EXPECT_TRUE(uitest::WaitUntil([&] { return !::IsWindow(wizard_); }, kTimeoutMs));
}

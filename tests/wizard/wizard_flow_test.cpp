// The wizard as the user drives it with nothing installed: pages, texts and button states.

#include "resources/resource_ids.h"
#include "tests/support/wizard_session.h"
#include "tools/demo_products/product_registration.h"

#include <gtest/gtest.h>

#include <prsht.h>

TEST(WizardFlow, IntroductionThenAnEmptyProductListThatBackKeepsThenCancel) {
    uitest::EndProcessesNamed(L"Zapdate.exe");
    demo::RemoveAllProducts();
    uitest::WizardSession wizard;
    ASSERT_TRUE(wizard.Start({}, {}));
    EXPECT_TRUE(wizard.ButtonsBecome(false, true));
    EXPECT_TRUE(uitest::ButtonVisible(wizard.Sheet(), IDCANCEL));
    EXPECT_EQ(uitest::WindowText(wizard.Sheet()), L"Velk Update Wizard");
    const std::vector<std::wstring> texts = uitest::StaticTexts(wizard.Page());
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], L"Welcome to Velk Update Wizard");
    EXPECT_EQ(texts[1], L"Velk Update will downloads and installs updates for Velk products");
    EXPECT_EQ(texts[2],
              L"It is strongly recommended that you close all other applications you have running "
              L"before continuing. This will help prevent any conflicts during the installation "
              L"process. \n\nClick Next to continue, or  Cancel to exit.");
    uitest::SaveScreenshot("en/intro.png");

    uitest::PressWizardButton(wizard.Sheet(), PSBTN_NEXT);
    ASSERT_TRUE(
        uitest::WaitForPageWithControl(wizard.Sheet(), IDC_PRODUCT_LIST, uitest::kWizardTimeoutMs));
    EXPECT_TRUE(wizard.ButtonsBecome(true, false)) << "an empty list offers no Next";
    // Sent, not posted: the press has been handled when the call returns.
    ::SendMessageW(wizard.Sheet(), PSM_PRESSBUTTON, PSBTN_BACK, 0);
    EXPECT_NE(::GetDlgItem(wizard.Page(), IDC_PRODUCT_LIST), nullptr) << "Back stays on the list";

    uitest::PressWizardButton(wizard.Sheet(), PSBTN_CANCEL);
    EXPECT_TRUE(
        uitest::WaitUntil([&] { return !::IsWindow(wizard.Sheet()); }, uitest::kWizardTimeoutMs));
}

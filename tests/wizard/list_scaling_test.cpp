// The two list pages at 100, 150 and 200 % screen scaling: the columns keep their widths at
// 96 DPI and grow with the screen, so that no heading or cell that fits at 96 DPI is cut at a
// larger scaling. Wine reads the scaling (HKCU\Control Panel\Desktop LogPixels) when a process
// starts, so each scaling gets a wizard of its own.

#include "platform/text.h"
#include "resources/resource_ids.h"
#include "tests/support/update_test.h"
#include "tests/support/wizard_session.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <prsht.h>

#include <functional>

using namespace testsupport;

namespace {

// The screen's scaling of the processes started while the object lives; the test prefix has no
// value of its own, which Wine reads as 96 DPI.
class ScreenScaling {
public:
    explicit ScreenScaling(DWORD dpi) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, kKey, kValue, REG_DWORD, &dpi, sizeof dpi);
    }
    ~ScreenScaling() { ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue); }
    ScreenScaling(const ScreenScaling&) = delete;
    ScreenScaling& operator=(const ScreenScaling&) = delete;

private:
    static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
    static constexpr wchar_t kValue[] = L"LogPixels";
};

// A list view as the user sees it: per column its width, and its heading and cells with the
// width that the list view gives each text in its own font.
struct MeasuredColumn {
    int width = 0;
    std::vector<std::wstring> texts; // the heading, then the cells from the top
    std::vector<int> textWidths;
};

// Room that the list view keeps round a label, as its own auto-sizing adds.
constexpr int kLabelPadding = 12;

bool Fits(const MeasuredColumn& column, size_t text) {
    return column.textWidths[text] + kLabelPadding <= column.width;
}

std::vector<MeasuredColumn> Measure(HWND list, int columnCount) {
    std::vector<MeasuredColumn> columns(static_cast<size_t>(columnCount));
    const std::vector<std::wstring> headings = uitest::ReadListHeadings(list);
    const std::vector<uitest::ListRow> rows = uitest::ReadListView(list, columnCount);
    for (int c = 0; c < columnCount && static_cast<size_t>(c) < headings.size(); ++c) {
        MeasuredColumn& column = columns[static_cast<size_t>(c)];
        column.width = static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, c, 0));
        column.texts.push_back(headings[static_cast<size_t>(c)]);
        for (const uitest::ListRow& row : rows)
            column.texts.push_back(row.columns[static_cast<size_t>(c)]);
        for (const std::wstring& text : column.texts)
            column.textWidths.push_back(uitest::ListStringWidth(list, text));
    }
    return columns;
}

class ListScaling : public UpdateTest {
protected:
    void SetUp() override {
        UpdateTest::SetUp();
        if (IsSkipped())
            return;
        Install(kKovra);
        Install(kBrisk);
        Install(kMailGuard);
        // Offered at the installed build: up to date; the others are offered nothing.
        site_->OfferMissingPackage(Install(kLumen), "never_asked.exe");
        ASSERT_TRUE(site_->Publish());
    }

    // Starts the wizard at `dpi`, lets `openList` bring it to the page, and measures its list.
    std::vector<MeasuredColumn>
    MeasureAt(DWORD dpi, int columnCount,
              const std::function<bool(uitest::WizardSession&)>& openList) {
        const ScreenScaling scaling(dpi);
        uitest::WizardSession wizard;
        std::vector<MeasuredColumn> columns;
        if (wizard.Start({}, {site_->HostVariable()}) && openList(wizard))
            columns = Measure(::GetDlgItem(wizard.Page(), IDC_PRODUCT_LIST), columnCount);
        uitest::EndProcessesNamed(L"Zapdate.exe");
        uitest::WaitForProcessesNamedToEnd(L"Zapdate.exe", uitest::kWizardTimeoutMs);
        return columns;
    }

    // At 96 DPI the columns have `standardWidths`; at 144 and 192 DPI every heading and cell that
    // fits its column at 96 DPI fits it too.
    void
    ExpectColumnsFollowTheScaling(const std::vector<int>& standardWidths,
                                  const std::function<bool(uitest::WizardSession&)>& openList) {
        const int count = static_cast<int>(standardWidths.size());
        const std::vector<MeasuredColumn> standard = MeasureAt(96, count, openList);
        ASSERT_EQ(standard.size(), standardWidths.size());
        ASSERT_GT(standard[0].texts.size(), 4u) << "the heading and four products";
        for (size_t c = 0; c < standard.size(); ++c)
            EXPECT_EQ(standard[c].width, standardWidths[c]) << "column " << c;
        for (const DWORD dpi : {144u, 192u}) {
            const std::vector<MeasuredColumn> scaled = MeasureAt(dpi, count, openList);
            ASSERT_EQ(scaled.size(), standard.size()) << dpi;
            EXPECT_GT(scaled[0].textWidths[0], standard[0].textWidths[0])
                << "the list's font grows at " << dpi << " DPI";
            for (size_t c = 0; c < standard.size(); ++c) {
                ASSERT_EQ(scaled[c].texts, standard[c].texts) << dpi;
                for (size_t t = 0; t < standard[c].texts.size(); ++t) {
                    EXPECT_TRUE(!Fits(standard[c], t) || Fits(scaled[c], t))
                        << platform::AnsiFromWide(scaled[c].texts[t]) << " at " << dpi
                        << " DPI: " << scaled[c].textWidths[t] << " pixels in a column of "
                        << scaled[c].width;
                }
            }
        }
    }
};

} // namespace

TEST_F(ListScaling, ProductListColumnsFollowTheScreen) {
    ExpectColumnsFollowTheScaling({250, 68, 68, 68}, [](uitest::WizardSession& wizard) {
        uitest::PressWizardButton(wizard.Sheet(), PSBTN_NEXT);
        return uitest::WaitForPageWithControl(wizard.Sheet(), IDC_PRODUCT_LIST,
                                              uitest::kWizardTimeoutMs) &&
               uitest::WaitUntil(
                   [&] { return uitest::ButtonEnabled(wizard.Sheet(), uitest::kNextButton); },
                   uitest::kWizardTimeoutMs);
    });
}

TEST_F(ListScaling, EndPageColumnsFollowTheScreen) {
    ExpectColumnsFollowTheScaling({140, 50, 50, 70, 144}, [](uitest::WizardSession& wizard) {
        return wizard.ChooseEveryProduct() && wizard.EndPageRows().size() == 4;
    });
}

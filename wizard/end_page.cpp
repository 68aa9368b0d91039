#include "wizard/end_page.h"

#include "engine/updater.h"
#include "platform/run_log.h"
#include "platform/text.h"
#include "wizard/date_text.h"
#include "wizard/list_view.h"
#include "wizard/screen_scale.h"

namespace {

constexpr RightResizeEntry kRightResize[] = {
    {IDC_PRODUCT_LIST, 0}, {-1, 0}, {IDC_OUTCOME_TEXT, 0}, {0, 0}};

constexpr ListColumn kColumns[] = {{IDS_COLUMN_NAME, 140},
                                   {IDS_COLUMN_VERSION, 50},
                                   {IDS_COLUMN_BUILD, 50},
                                   {IDS_COLUMN_DATE, 70},
                                   {IDS_COLUMN_STATUS, 144}};

constexpr int kSuccessImage = 0;
constexpr int kFailureImage = 1;
constexpr size_t kTextLimit = 1023;

std::wstring Cut(std::wstring text) {
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

// The icons carry an image for each common scaling, so the one that fits is taken unstretched.
void AddIcon(HIMAGELIST images, int iconId, int size) {
    const auto icon =
        static_cast<HICON>(::LoadImageW(platform::ExecutableModule(), MAKEINTRESOURCEW(iconId),
                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    ImageList_AddIcon(images, icon);
    if (icon)
        ::DestroyIcon(icon);
}

} // namespace

bool IsSuccessOutcome(const InstalledProduct& product) {
    return (product.Status() & 6) != 0 && (product.state & kPackageRejectedFlag) == 0;
}

std::wstring OutcomeText(const InstalledProduct& product) {
    if (product.Status() == kStatusUpdateAvailable && (product.state & kPackageRejectedFlag) != 0)
        return product.statusText;
    switch (product.Status()) {
    case kStatusNotUpdated:
        return platform::FormatWide(platform::ResourceString(IDS_FAILED).c_str(),
                                    product.statusText.c_str());
    case kStatusUpToDate:
        return platform::ResourceString(IDS_UP_TO_DATE);
    case kStatusNoOfferedBuild:
        return platform::ResourceString(IDS_NO_UPDATES);
    case kStatusDownloaded:
        return platform::ResourceString(IDS_SUCCESSFUL);
    default:
        return platform::ResourceString(IDS_NOT_UPDATED);
    }
}

CEndPage::CEndPage() : CWizardPage(IDS_WIZARD_TITLE) {
    UseInteriorLayout(IDS_INSTALLED_UPDATES, IDS_CLICK_FINISH);
}

std::span<const RightResizeEntry> CEndPage::RightResizeTable() {
    return kRightResize;
}

bool CEndPage::HandleMessage(HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_INITDIALOG:
        BuildList();
        result = TRUE;
        return true;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != list_ || list_ == nullptr || header->code != LVN_ITEMCHANGING)
            return false;
        ShowOutcomeOf(reinterpret_cast<const NMLISTVIEW*>(header)->iItem);
        result = FALSE; // the change is always allowed
        return true;
    }
    default:
        return false;
    }
}

BOOL CEndPage::OnSetActive() {
    OfferFinishOnly();
    return TRUE;
}

void CEndPage::BuildList() {
    list_ = GetDlgItem(IDC_PRODUCT_LIST);
    if (list_ == nullptr)
        return;
    ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    // Without LVS_SHAREIMAGELISTS the list view destroys the image list with the page window.
    const int iconSize = ScaledPixels(16);
    const HIMAGELIST images = ImageList_Create(iconSize, iconSize, ILC_COLOR32 | ILC_MASK, 2, 2);
    ListView_SetImageList(list_, images, LVSIL_SMALL);
    AddIcon(images, IDI_SUCCESS, iconSize);
    AddIcon(images, IDI_FAILURE, iconSize);
    InsertListColumns(list_, kColumns);

    CUpdater& updater = TheUpdater();
    for (int i = 0;; ++i) {
        InstalledProduct product;
        {
            platform::ScopedLock hold(updater.ListLock());
            const std::vector<InstalledProduct>& items = updater.UpdateList();
            if (static_cast<size_t>(i) >= items.size())
                break;
            product = items[static_cast<size_t>(i)];
        }
        InsertRow(i, product);
        platform::LogRunStepF(L"end page: %s: %s", product.displayName.c_str(),
                              OutcomeText(product).c_str());
    }
}

void CEndPage::InsertRow(int index, const InstalledProduct& product) const {
    std::wstring name = Cut(product.displayName);
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = index;
    item.pszText = name.data();
    item.iImage = IsSuccessOutcome(product) ? kSuccessImage : kFailureImage;
    item.lParam = index;
    const int row = static_cast<int>(
        ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0)
        return;
    SetListCell(list_, row, 1,
                platform::FormatWide(L"%u.%u", product.versionMajor, product.versionMinor));
    SetListCell(list_, row, 2, platform::FormatWide(L"%u", product.build));
    if (const std::wstring date = ShortDateText(product.buildDate); !date.empty())
        SetListCell(list_, row, 3, date);
    SetListCell(list_, row, 4, Cut(OutcomeText(product)));
}

void CEndPage::ShowOutcomeOf(int item) const {
    if (item < 0)
        return;
    wchar_t text[kTextLimit + 1] = {};
    LVITEMW cell = {};
    cell.iSubItem = 4;
    cell.pszText = text;
    cell.cchTextMax = static_cast<int>(kTextLimit + 1);
    ::SendMessageW(list_, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
    ::SetDlgItemTextW(m_hWnd, IDC_OUTCOME_TEXT, text);
}

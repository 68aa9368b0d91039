#include "gallery_dialog.h"

#include "gallery_ids.h"
#include "gallery_samples.h"
#include "sample_picture.h"

namespace gallery {
namespace {

constexpr int kSampleIds[] = {IDC_GALLERY_BANNER, IDC_GALLERY_TEXT,  IDC_GALLERY_TABLE,
                              IDC_GALLERY_IMAGES, IDC_GALLERY_LINKS, IDC_GALLERY_DISABLED};

constexpr COLORREF kCardBackground = RGB(255, 255, 255);
constexpr COLORREF kCardFrame = RGB(0xB4, 0xBE, 0xCA);
constexpr COLORREF kBannerLeft = RGB(0x12, 0x3E, 0x7A);
constexpr COLORREF kBannerRight = RGB(0x4F, 0x9D, 0xE8);

} // namespace

int GalleryDialog::Run(HINSTANCE instance) {
    picture_ = MakeSamplePicture();
    const INT_PTR result = ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_GALLERY), nullptr,
                                             DialogProc, reinterpret_cast<LPARAM>(this));
    return result == -1 ? 1 : 0;
}

INT_PTR CALLBACK GalleryDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<GalleryDialog*>(lParam);
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<GalleryDialog*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return self ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR GalleryDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_GALLERY_LINK:
        OnLinkMessage(reinterpret_cast<const wchar_t*>(wParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_GALLERY_ENABLE && HIWORD(wParam) == BN_CLICKED) {
            OnEnableClicked();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog_, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        ::EndDialog(dialog_, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

void GalleryDialog::OnInitDialog() {
    icon_.Reset(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_GALLERY),
                                        IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    if (icon_)
        ::SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));

    for (int sample = 0; sample < SampleCount; ++sample)
        samples_[sample].SubclassWindow(::GetDlgItem(dialog_, kSampleIds[sample]));

    SetUpBanner(samples_[Banner]);
    for (const Sample card : {Text, Table, Images, Links})
        SetUpCard(samples_[card], kCardBackground);
    // The embossed look needs a background that its light edge shows against.
    SetUpCard(samples_[Disabled], ::GetSysColor(COLOR_BTNFACE));

    samples_[Banner].SetText(BannerMarkup());
    samples_[Text].SetText(TextMarkup());
    samples_[Table].SetText(TableMarkup());
    samples_[Images].SetText(ImagesMarkup(picture_.Get()));
    samples_[Links].SetText(LinksMarkup());
    samples_[Disabled].SetText(DisabledMarkup());
    SetStatus(GALLERY_READY_TEXT);
}

void GalleryDialog::SetUpBanner(CHtmlStatic& banner) {
    banner.SetBackground(kBannerLeft, kBannerRight, kBannerRight);
    banner.SetBackgroundEffect(1, 5); // a left-to-right gradient
    banner.SetMargins(8, 0);
    banner.SetAlignment(CHtmlStatic::kAlignLeft | CHtmlStatic::kAlignMiddle);
}

void GalleryDialog::SetUpCard(CHtmlStatic& card, COLORREF background) {
    card.SetBackground(background);
    card.SetFrame(::CreateSolidBrush(kCardFrame), 1, 1);
    card.SetMargins(8, 6);
    card.SetLinkMessage(WM_GALLERY_LINK, 0);
}

void GalleryDialog::OnLinkMessage(const wchar_t* target) {
    SetStatus(std::wstring(GALLERY_LINK_PREFIX) + (target ? target : L""));
}

void GalleryDialog::OnEnableClicked() {
    const bool enable = ::IsDlgButtonChecked(dialog_, IDC_GALLERY_ENABLE) == BST_CHECKED;
    ::EnableWindow(samples_[Disabled].Window(), enable);
}

void GalleryDialog::SetStatus(const std::wstring& text) {
    // A leading blank keeps the text off the sunken edge.
    ::SetDlgItemTextW(dialog_, IDC_GALLERY_STATUS, (L" " + text).c_str());
}

} // namespace gallery

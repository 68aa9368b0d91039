#pragma once
// A small property-sheet framework in the shape of the WTL templates: window wrappers for the
// sheet and its pages, and CRTP templates that own the system's page and sheet descriptions and
// route the page notifications to the page class.

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <vector>

namespace platform {

// The sheet's window: the messages that pages send to move the wizard.
class CPropertySheetWindow {
public:
    explicit CPropertySheetWindow(HWND window = nullptr) : m_hWnd(window) {}
    HWND Handle() const { return m_hWnd; }

    // Posts the enabled wizard buttons (any of PSWIZB_BACK, PSWIZB_NEXT, PSWIZB_FINISH).
    void SetWizardButtons(DWORD buttons) const {
        ::PostMessageW(m_hWnd, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
    }
    // Goes to the page made from dialog `dialogId`; sent, so the move has happened on return.
    bool SetActivePageById(UINT dialogId) const {
        return ::SendMessageW(m_hWnd, PSM_SETCURSELID, 0, static_cast<LPARAM>(dialogId)) != 0;
    }
    int PageIndex(HWND page) const {
        return static_cast<int>(
            ::SendMessageW(m_hWnd, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0));
    }
    void SetHeaderSubTitle(int pageIndex, const wchar_t* text) const {
        ::SendMessageW(m_hWnd, PSM_SETHEADERSUBTITLEW, static_cast<WPARAM>(pageIndex),
                       reinterpret_cast<LPARAM>(text));
        RepaintHeader();
    }
    // Some property-sheet implementations (Wine's) keep a new header text without drawing it:
    // the band above the current page is painted again.
    void RepaintHeader() const {
        const HWND page =
            reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
        RECT band = {};
        if (page == nullptr || !::GetClientRect(m_hWnd, &band))
            return;
        RECT pageRect = {};
        ::GetWindowRect(page, &pageRect);
        ::MapWindowPoints(HWND_DESKTOP, m_hWnd, reinterpret_cast<POINT*>(&pageRect), 2);
        band.bottom = pageRect.top;
        if (band.bottom > band.top)
            ::InvalidateRect(m_hWnd, &band, TRUE);
    }
    // Shows or hides one of the sheet's buttons (IDCANCEL, IDHELP, ...).
    void ShowButton(int id, bool show) const {
        if (HWND button = ::GetDlgItem(m_hWnd, id))
            ::ShowWindow(button, show ? SW_SHOW : SW_HIDE);
    }

protected:
    HWND m_hWnd;
};

// A page's window.
class CPropertyPageWindow {
public:
    explicit CPropertyPageWindow(HWND window = nullptr) : m_hWnd(window) {}
    HWND Handle() const { return m_hWnd; }
    CPropertySheetWindow GetPropertySheet() const {
        return CPropertySheetWindow(::GetParent(m_hWnd));
    }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void SetWizardButtons(DWORD buttons) const { GetPropertySheet().SetWizardButtons(buttons); }

protected:
    HWND m_hWnd = nullptr;
};

// The page template. T may define, with these defaults:
//   BOOL OnSetActive()       TRUE to accept the activation
//   BOOL OnKillActive()      FALSE to allow leaving
//   int  OnWizardNext()      0 = next page, -1 = stay, else the dialog id to go to
//   int  OnWizardBack()      as OnWizardNext
//   BOOL OnWizardFinish()    TRUE to allow finishing
//   BOOL OnQueryCancel()     TRUE to allow cancelling
//   void OnReset()
// and override ProcessWindowMessage for other messages (return true when handled).
template <typename T, typename TBase = CPropertyPageWindow>
class CPropertyPageImpl : public TBase {
public:
    explicit CPropertyPageImpl(UINT titleId = 0) {
        m_psp.dwSize = sizeof(PROPSHEETPAGEW);
        m_psp.dwFlags = PSP_USECALLBACK | (titleId ? PSP_USETITLE : 0);
        m_psp.hInstance = ::GetModuleHandleW(nullptr);
        m_psp.pszTemplate = MAKEINTRESOURCEW(T::IDD);
        m_psp.pszTitle = MAKEINTRESOURCEW(titleId);
        m_psp.pfnDlgProc = &CPropertyPageImpl::StartDialogProc;
        m_psp.lParam = reinterpret_cast<LPARAM>(this);
        m_psp.pfnCallback = &CPropertyPageImpl::PropPageCallback;
    }
    virtual ~CPropertyPageImpl() = default;
    CPropertyPageImpl(const CPropertyPageImpl&) = delete;
    CPropertyPageImpl& operator=(const CPropertyPageImpl&) = delete;

    PROPSHEETPAGEW* PageDescription() { return &m_psp; }
    HPROPSHEETPAGE Create() { return ::CreatePropertySheetPageW(&m_psp); }

    // Default handlers.
    BOOL OnSetActive() { return TRUE; }
    BOOL OnKillActive() { return FALSE; }
    int OnWizardNext() { return 0; }
    int OnWizardBack() { return 0; }
    BOOL OnWizardFinish() { return TRUE; }
    BOOL OnQueryCancel() { return TRUE; }
    void OnReset() {}

protected:
    // The page's own messages; return true when handled with `result` as the answer.
    virtual bool ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&) { return false; }

    PROPSHEETPAGEW m_psp = {};

private:
    static constexpr UINT kRepaintSheetMessage = WM_APP + 0x3F0;

    void RepaintSheet() const {
        ::RedrawWindow(::GetParent(this->m_hWnd), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }

    static UINT CALLBACK PropPageCallback(HWND, UINT, LPPROPSHEETPAGEW) { return 1; }

    static INT_PTR CALLBACK StartDialogProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
        if (message == WM_INITDIALOG) {
            // The system passes a copy of the page description; its lParam is the page object.
            auto* page = reinterpret_cast<CPropertyPageImpl*>(
                reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
            ::SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
            page->m_hWnd = window;
        }
        auto* page = reinterpret_cast<CPropertyPageImpl*>(::GetWindowLongPtrW(window, DWLP_USER));
        if (!page)
            return FALSE;
        LRESULT result = 0;
        if (!page->Dispatch(message, wParam, lParam, result))
            return FALSE;
        if (message == WM_INITDIALOG)
            return static_cast<INT_PTR>(result);
        ::SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }

    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        if (message == kRepaintSheetMessage) {
            RepaintSheet();
            return true;
        }
        if (ProcessWindowMessage(this->m_hWnd, message, wParam, lParam, result))
            return true;
        if (message == WM_NOTIFY)
            return OnNotify(reinterpret_cast<const NMHDR*>(lParam), result);
        return false;
    }

    bool OnNotify(const NMHDR* header, LRESULT& result) {
        if (header->hwndFrom != ::GetParent(this->m_hWnd))
            return false;
        T* self = static_cast<T*>(this);
        switch (header->code) {
        case PSN_SETACTIVE:
            result = self->OnSetActive() ? 0 : -1;
            // Wine's sheet leaves parts of the header or the watermark of the page before when
            // the wizard moves between pages with and without header; the whole sheet is
            // painted again once the page is shown.
            if (result == 0)
                ::PostMessageW(this->m_hWnd, kRepaintSheetMessage, 0, 0);
            return true;
        case PSN_KILLACTIVE:
            result = self->OnKillActive();
            return true;
        case PSN_WIZNEXT:
            result = self->OnWizardNext();
            return true;
        case PSN_WIZBACK:
            result = self->OnWizardBack();
            return true;
        case PSN_WIZFINISH:
            result = !self->OnWizardFinish();
            return true;
        case PSN_QUERYCANCEL:
            result = !self->OnQueryCancel();
            return true;
        case PSN_RESET:
            self->OnReset();
            return true;
        default:
            return false;
        }
    }
};

// The sheet template: holds the sheet description and the pages added to it.
template <typename T, typename TBase = CPropertySheetWindow>
class CPropertySheetImpl : public TBase {
public:
    explicit CPropertySheetImpl(UINT titleId = 0, HWND parent = nullptr) {
        m_psh.dwSize = sizeof(PROPSHEETHEADERW);
        m_psh.dwFlags = PSH_USECALLBACK;
        m_psh.hwndParent = parent;
        m_psh.hInstance = ::GetModuleHandleW(nullptr);
        m_psh.pszCaption = MAKEINTRESOURCEW(titleId);
        m_psh.pfnCallback = &CPropertySheetImpl::PropSheetCallback;
    }
    virtual ~CPropertySheetImpl() = default;
    CPropertySheetImpl(const CPropertySheetImpl&) = delete;
    CPropertySheetImpl& operator=(const CPropertySheetImpl&) = delete;

    // Adds a page in Back/Next order. The page object must outlive the sheet.
    template <typename Page>
    bool AddPage(Page& page) {
        HPROPSHEETPAGE created = page.Create();
        if (!created)
            return false;
        m_pages.push_back(created);
        return true;
    }

    // The sheet description that DoModal passes to the system.
    const PROPSHEETHEADERW& SheetDescription() const { return m_psh; }

    // Shows the sheet modally; returns the property sheet's result.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow()) {
        m_psh.hwndParent = parent;
        m_psh.nPages = static_cast<UINT>(m_pages.size());
        m_psh.phpage = m_pages.data();
        t_current = this;
        const INT_PTR result = ::PropertySheetW(&m_psh);
        t_current = nullptr;
        this->m_hWnd = nullptr;
        return result;
    }

protected:
    PROPSHEETHEADERW m_psh = {};

private:
    // The system's callback carries no object pointer; the sheet being shown is the thread's.
    static int CALLBACK PropSheetCallback(HWND window, UINT message, LPARAM) {
        if (message == PSCB_INITIALIZED && t_current)
            t_current->m_hWnd = window;
        return 0;
    }

    static inline thread_local CPropertySheetImpl* t_current = nullptr;
    std::vector<HPROPSHEETPAGE> m_pages;
};

} // namespace platform

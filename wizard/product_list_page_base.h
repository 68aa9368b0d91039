#pragma once
// What a page with a checked list of products needs: the list view, its columns, the check-box
// handling and the wizard buttons that follow the checks. A template over the page class.

#include "wizard/list_view.h"
#include "wizard/wizard_page.h"

#include <commctrl.h>

#include <span>
#include <string>

template <typename T>
class CProductListPageBase : public CWizardPage<T> {
public:
    using CWizardPage<T>::CWizardPage;
    ~CProductListPageBase() override = default;

    // With no item checked only Back is enabled, otherwise Back and Next.
    virtual void UpdateWizardButtons() {
        this->SetWizardButtons(CountChecked() == 0 ? PSWIZB_BACK : PSWIZB_BACK | PSWIZB_NEXT);
    }

protected:
    // Takes the list view and gives it its look and columns.
    void AttachList(int listId, std::span<const ListColumn> columns) {
        list_ = this->GetDlgItem(listId);
        ListView_SetExtendedListViewStyle(list_, LVS_EX_GRIDLINES | LVS_EX_CHECKBOXES |
                                                     LVS_EX_FULLROWSELECT);
        InsertListColumns(list_, columns);
    }

    HWND List() const { return list_; }
    int ItemCount() const { return ListView_GetItemCount(list_); }

    // Any state image but "unchecked" counts as checked.
    bool IsChecked(int item) const {
        const UINT image = ListView_GetItemState(list_, item, LVIS_STATEIMAGEMASK) >> 12;
        return image != 1;
    }
    void SetChecked(int item, bool checked) const {
        ListView_SetItemState(list_, item, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1),
                              LVIS_STATEIMAGEMASK);
    }
    void ToggleChecked(int item) const { SetChecked(item, !IsChecked(item)); }

    int CountChecked() const {
        int checked = 0;
        for (int i = 0; i < ItemCount(); ++i)
            checked += IsChecked(i) ? 1 : 0;
        return checked;
    }

    LPARAM ItemParameter(int item) const {
        LVITEMW data = {};
        data.mask = LVIF_PARAM;
        data.iItem = item;
        ListView_GetItem(list_, &data);
        return data.lParam;
    }

    // Inserts an item at `index` with its first column, parameter and check.
    void InsertItem(int index, const std::wstring& text, LPARAM parameter, bool checked) const {
        std::wstring copy = text;
        LVITEMW item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = copy.data();
        item.lParam = parameter;
        // The check is set after the insertion: the control gives a new item "unchecked".
        const int inserted = static_cast<int>(
            ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted >= 0)
            SetChecked(inserted, checked);
    }
    void SetCell(int item, int column, const std::wstring& text) const {
        SetListCell(list_, item, column, text);
    }

    // The list's notifications: clicks on a name toggle it, the first column's heading toggles
    // every item, and every change updates the buttons. True when handled.
    bool HandleListNotify(const NMHDR* header) {
        if (header->hwndFrom != list_ || list_ == nullptr)
            return false;
        switch (header->code) {
        case NM_CLICK:
            OnListClick(reinterpret_cast<const NMITEMACTIVATE*>(header)->ptAction);
            return true;
        case LVN_ITEMCHANGED:
            UpdateWizardButtons();
            return true;
        case LVN_COLUMNCLICK:
            if (reinterpret_cast<const NMLISTVIEW*>(header)->iSubItem == 0)
                ToggleEveryItem();
            return true;
        default:
            return false;
        }
    }

private:
    void OnListClick(POINT point) {
        // The control toggles a click on the check box itself; a click on the name does it here.
        LVHITTESTINFO hit = {};
        hit.pt = point;
        if (ListView_HitTest(list_, &hit) >= 0 &&
            (hit.flags & (LVHT_ONITEMICON | LVHT_ONITEMLABEL)))
            ToggleChecked(hit.iItem);
        UpdateWizardButtons();
    }

    void ToggleEveryItem() const {
        for (int i = 0; i < ItemCount(); ++i)
            ToggleChecked(i);
    }

    HWND list_ = nullptr;
};

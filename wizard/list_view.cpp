#include "wizard/list_view.h"

#include "platform/resource_strings.h"
#include "wizard/screen_scale.h"

#include <commctrl.h>

void InsertListColumns(HWND list, std::span<const ListColumn> columns) {
    const int dpi = ScreenDpi();
    int index = 0;
    for (const ListColumn& column : columns) {
        std::wstring heading = platform::ResourceString(column.headingId);
        LVCOLUMNW item = {};
        item.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        item.fmt = LVCFMT_LEFT;
        item.cx = ScaleToDpi(column.width, dpi);
        item.pszText = heading.data();
        item.iSubItem = index;
        ::SendMessageW(list, LVM_INSERTCOLUMNW, index++, reinterpret_cast<LPARAM>(&item));
    }
}

void SetListCell(HWND list, int item, int column, const std::wstring& text) {
    std::wstring copy = text;
    LVITEMW cell = {};
    cell.iSubItem = column;
    cell.pszText = copy.data();
    ::SendMessageW(list, LVM_SETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
}

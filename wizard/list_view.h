#pragma once
// The little of the list-view control that the wizard's list pages share.

#include <windows.h>

#include <span>
#include <string>

struct ListColumn {
    UINT headingId;
    int width; // pixels at 96 DPI
};

// Inserts left-aligned columns with headings from the string table, their widths grown with the
// screen's scaling.
void InsertListColumns(HWND list, std::span<const ListColumn> columns);
// Sets the text of one cell.
void SetListCell(HWND list, int item, int column, const std::wstring& text);

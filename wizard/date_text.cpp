#include "wizard/date_text.h"

#include <windows.h>

std::wstring ShortDateText(const BuildDate& date) {
    SYSTEMTIME time = {};
    time.wYear = date.year;
    time.wMonth = date.month;
    time.wDay = date.day;
    wchar_t text[80] = {};
    if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 80) == 0)
        return {};
    return text;
}

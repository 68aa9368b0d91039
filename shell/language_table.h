#pragma once
// Windows language data for the choice of the resource language.

#include <windows.h>

#include <span>
#include <string_view>

struct LanguageTableRow {
    LANGID languageId;
    UINT ansiCodePage;
    const char* abbreviation;          // "ENU"
    const char* isoCode;               // "en"
    const char* cultureName;           // "en-US"
    const char* cultureNameUnderscore; // "en_US"
    const char* displayName;           // "English (United States)"
};

// The rows, in language id order; the first row with a given id wins a lookup.
std::span<const LanguageTableRow> LanguageTable();
// The first row whose languageId is `id`, or nullptr.
const LanguageTableRow* FindLanguageRow(LANGID id);
// The first row whose culture name equals `name` without regard to case, or nullptr.
const LanguageTableRow* FindLanguageRowByCulture(std::string_view name);

#pragma once
// Built-in Windows language data, used to find a language satellite module by the folder names
// that translators use: the culture name ("de-DE") and the two-letter code ("de").
#include <windows.h>
#include <span>
#include <string_view>

// One Windows language. All texts are static 8-bit strings; the display name is UTF-8.
struct LanguageTableRow {
    LANGID languageId;
    UINT ansiCodePage;                 // 0 for languages that have only Unicode
    const char* abbreviation;          // "ENU"
    const char* isoCode;               // "en"
    const char* cultureName;           // "en-US"
    const char* cultureNameUnderscore; // "en_US"
    const char* displayName;           // "English (United States)"
};

// The 142 rows, in LANGID order; the first row with a given id wins a lookup.
// Static data: any thread may call it.
std::span<const LanguageTableRow> LanguageTable();

// The first row whose languageId is `id`, or nullptr. Any thread may call it.
const LanguageTableRow* FindLanguageRow(LANGID id);

// The first row whose culture name equals `name` without regard to (ASCII) case, or nullptr.
// Any thread may call it.
const LanguageTableRow* FindLanguageRowByCulture(std::string_view name);

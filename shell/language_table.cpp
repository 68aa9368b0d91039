#include "shell/language_table.h"

#include <cstring>

namespace {

constexpr LanguageTableRow kRows[] = {
    {0x0401, 1256, "ARA", "ar", "ar-SA", "ar_SA", "Arabic (Saudi Arabia)"},
    {0x0402, 1251, "BGR", "bg", "bg-BG", "bg_BG", "Bulgarian (Bulgaria)"},
    {0x0403, 1252, "CAT", "ca", "ca-ES", "ca_ES", "Catalan (Catalan)"},
    {0x0404, 950, "CHT", "zh", "zh-TW", "zh_TW", "Chinese (Taiwan)"},
    {0x0405, 1250, "CSY", "cs", "cs-CZ", "cs_CZ", "Czech (Czech Republic)"},
    {0x0406, 1252, "DAN", "da", "da-DK", "da_DK", "Danish (Denmark)"},
    {0x0407, 1252, "DEU", "de", "de-DE", "de_DE", "German (Germany)"},
    {0x0408, 1253, "ELL", "el", "el-GR", "el_GR", "Greek (Greece)"},
    {0x0409, 1252, "ENU", "en", "en-US", "en_US", "English (United States)"},
    {0x040B, 1252, "FIN", "fi", "fi-FI", "fi_FI", "Finnish (Finland)"},
    {0x040C, 1252, "FRA", "fr", "fr-FR", "fr_FR", "French (France)"},
    {0x040D, 1255, "HEB", "he", "he-IL", "he_IL", "Hebrew (Israel)"},
    {0x040E, 1250, "HUN", "hu", "hu-HU", "hu_HU", "Hungarian (Hungary)"},
    {0x0410, 1252, "ITA", "it", "it-IT", "it_IT", "Italian (Italy)"},
    {0x0411, 932, "JPN", "ja", "ja-JP", "ja_JP", "Japanese (Japan)"},
    {0x0412, 949, "KOR", "ko", "ko-KR", "ko_KR", "Korean (Korea)"},
    {0x0413, 1252, "NLD", "nl", "nl-NL", "nl_NL", "Dutch (Netherlands)"},
    {0x0414, 1252, "NOR", "nb", "nb-NO", "nb_NO", "Norwegian, Bokmal (Norway)"},
    {0x0415, 1250, "PLK", "pl", "pl-PL", "pl_PL", "Polish (Poland)"},
    {0x0416, 1252, "PTB", "pt", "pt-BR", "pt_BR", "Portuguese (Brazil)"},
    {0x0418, 1250, "ROM", "ro", "ro-RO", "ro_RO", "Romanian (Romania)"},
    {0x0419, 1251, "RUS", "ru", "ru-RU", "ru_RU", "Russian (Russia)"},
    {0x041A, 1250, "HRV", "hr", "hr-HR", "hr_HR", "Croatian (Croatia)"},
    {0x041B, 1250, "SKY", "sk", "sk-SK", "sk_SK", "Slovak (Slovakia)"},
    {0x041D, 1252, "SVE", "sv", "sv-SE", "sv_SE", "Swedish (Sweden)"},
    {0x041E, 874, "THA", "th", "th-TH", "th_TH", "Thai (Thailand)"},
    {0x041F, 1254, "TRK", "tr", "tr-TR", "tr_TR", "Turkish (Turkey)"},
    {0x0422, 1251, "UKR", "uk", "uk-UA", "uk_UA", "Ukrainian (Ukraine)"},
    {0x0424, 1250, "SLV", "sl", "sl-SI", "sl_SI", "Slovenian (Slovenia)"},
    {0x0425, 1257, "ETI", "et", "et-EE", "et_EE", "Estonian (Estonia)"},
    {0x0426, 1257, "LVI", "lv", "lv-LV", "lv_LV", "Latvian (Latvia)"},
    {0x0427, 1257, "LTH", "lt", "lt-LT", "lt_LT", "Lithuanian (Lithuania)"},
    {0x042A, 1258, "VIT", "vi", "vi-VN", "vi_VN", "Vietnamese (Vietnam)"},
    {0x0804, 936, "CHS", "zh", "zh-CN", "zh_CN", "Chinese (People's Republic of China)"},
    {0x0807, 1252, "DES", "de", "de-CH", "de_CH", "German (Switzerland)"},
    {0x0809, 1252, "ENG", "en", "en-GB", "en_GB", "English (United Kingdom)"},
    {0x080A, 1252, "ESM", "es", "es-MX", "es_MX", "Spanish (Mexico)"},
    {0x080C, 1252, "FRB", "fr", "fr-BE", "fr_BE", "French (Belgium)"},
    {0x0816, 1252, "PTG", "pt", "pt-PT", "pt_PT", "Portuguese (Portugal)"},
    {0x0C07, 1252, "DEA", "de", "de-AT", "de_AT", "German (Austria)"},
    {0x0C0A, 1252, "ESN", "es", "es-ES", "es_ES", "Spanish (Spain)"},
    {0x0C0C, 1252, "FRC", "fr", "fr-CA", "fr_CA", "French (Canada)"},
};

} // namespace

std::span<const LanguageTableRow> LanguageTable() {
    return kRows;
}

const LanguageTableRow* FindLanguageRow(LANGID id) {
    for (const LanguageTableRow& row : kRows) {
        if (row.languageId == id)
            return &row;
    }
    return nullptr;
}

const LanguageTableRow* FindLanguageRowByCulture(std::string_view name) {
    for (const LanguageTableRow& row : kRows) {
        if (name.size() == std::strlen(row.cultureName) &&
            ::_strnicmp(name.data(), row.cultureName, name.size()) == 0)
            return &row;
    }
    return nullptr;
}

#include "shell/language_table.h"

#include <algorithm>
#include <array>

namespace {

// Windows' own values: LOCALE_IDEFAULTANSICODEPAGE, LOCALE_SABBREVLANGNAME,
// LOCALE_SISO639LANGNAME, LOCALE_SNAME and the English display name.
constexpr std::array<LanguageTableRow, 142> kRows{{
    {0x0401, 1256, "ARA", "ar", "ar-SA", "ar_SA", "Arabic (Saudi Arabia)"},
    {0x0402, 1251, "BGR", "bg", "bg-BG", "bg_BG", "Bulgarian (Bulgaria)"},
    {0x0403, 1252, "CAT", "ca", "ca-ES", "ca_ES", "Catalan (Catalan)"},
    {0x0404, 950, "CHT", "zh", "zh-TW", "zh_TW", "Chinese (Traditional, Taiwan)"},
    {0x0405, 1250, "CSY", "cs", "cs-CZ", "cs_CZ", "Czech (Czech Republic)"},
    {0x0406, 1252, "DAN", "da", "da-DK", "da_DK", "Danish (Denmark)"},
    {0x0407, 1252, "DEU", "de", "de-DE", "de_DE", "German (Germany)"},
    {0x0408, 1253, "ELL", "el", "el-GR", "el_GR", "Greek (Greece)"},
    {0x0409, 1252, "ENU", "en", "en-US", "en_US", "English (United States)"},
    {0x040A, 1252, "ESP", "es", "es-ES_tradnl", "es_ES_tradnl",
     "Spanish (Spain, Traditional Sort)"},
    {0x040B, 1252, "FIN", "fi", "fi-FI", "fi_FI", "Finnish (Finland)"},
    {0x040C, 1252, "FRA", "fr", "fr-FR", "fr_FR", "French (France)"},
    {0x040D, 1255, "HEB", "he", "he-IL", "he_IL", "Hebrew (Israel)"},
    {0x040E, 1250, "HUN", "hu", "hu-HU", "hu_HU", "Hungarian (Hungary)"},
    {0x040F, 1252, "ISL", "is", "is-IS", "is_IS", "Icelandic (Iceland)"},
    {0x0410, 1252, "ITA", "it", "it-IT", "it_IT", "Italian (Italy)"},
    {0x0411, 932, "JPN", "ja", "ja-JP", "ja_JP", "Japanese (Japan)"},
    {0x0412, 949, "KOR", "ko", "ko-KR", "ko_KR", "Korean (Korea)"},
    {0x0413, 1252, "NLD", "nl", "nl-NL", "nl_NL", "Dutch (Netherlands)"},
    {0x0414, 1252, "NOR", "nb", "nb-NO", "nb_NO", "Norwegian, Bokm\xC3\xA5l (Norway)"},
    {0x0415, 1250, "PLK", "pl", "pl-PL", "pl_PL", "Polish (Poland)"},
    {0x0416, 1252, "PTB", "pt", "pt-BR", "pt_BR", "Portuguese (Brazil)"},
    {0x0418, 1250, "ROM", "ro", "ro-RO", "ro_RO", "Romanian (Romania)"},
    {0x0419, 1251, "RUS", "ru", "ru-RU", "ru_RU", "Russian (Russia)"},
    {0x041A, 1250, "HRV", "hr", "hr-HR", "hr_HR", "Croatian (Croatia)"},
    {0x041B, 1250, "SKY", "sk", "sk-SK", "sk_SK", "Slovak (Slovakia)"},
    {0x041C, 1250, "SQI", "sq", "sq-AL", "sq_AL", "Albanian (Albania)"},
    {0x041D, 1252, "SVE", "sv", "sv-SE", "sv_SE", "Swedish (Sweden)"},
    {0x041E, 874, "THA", "th", "th-TH", "th_TH", "Thai (Thailand)"},
    {0x041F, 1254, "TRK", "tr", "tr-TR", "tr_TR", "Turkish (Turkey)"},
    {0x0420, 1256, "URD", "ur", "ur-PK", "ur_PK", "Urdu (Islamic Republic of Pakistan)"},
    {0x0421, 1252, "IND", "id", "id-ID", "id_ID", "Indonesian (Indonesia)"},
    {0x0422, 1251, "UKR", "uk", "uk-UA", "uk_UA", "Ukrainian (Ukraine)"},
    {0x0423, 1251, "BEL", "be", "be-BY", "be_BY", "Belarusian (Belarus)"},
    {0x0424, 1250, "SLV", "sl", "sl-SI", "sl_SI", "Slovenian (Slovenia)"},
    {0x0425, 1257, "ETI", "et", "et-EE", "et_EE", "Estonian (Estonia)"},
    {0x0426, 1257, "LVI", "lv", "lv-LV", "lv_LV", "Latvian (Latvia)"},
    {0x0427, 1257, "LTH", "lt", "lt-LT", "lt_LT", "Lithuanian (Lithuania)"},
    {0x0429, 1256, "FAR", "fa", "fa-IR", "fa_IR", "Persian (Iran)"},
    {0x042A, 1258, "VIT", "vi", "vi-VN", "vi_VN", "Vietnamese (Vietnam)"},
    {0x042B, 0, "HYE", "hy", "hy-AM", "hy_AM", "Armenian (Armenia)"},
    {0x042C, 1254, "AZE", "az", "az-Latn-AZ", "az_Latn_AZ", "Azeri (Latin, Azerbaijan)"},
    {0x042D, 1252, "EUQ", "eu", "eu-ES", "eu_ES", "Basque (Basque)"},
    {0x042F, 1251, "MKI", "mk", "mk-MK", "mk_MK",
     "Macedonian (Former Yugoslav Republic of Macedonia)"},
    {0x0436, 1252, "AFK", "af", "af-ZA", "af_ZA", "Afrikaans (South Africa)"},
    {0x0437, 0, "KAT", "ka", "ka-GE", "ka_GE", "Georgian (Georgia)"},
    {0x0438, 1252, "FOS", "fo", "fo-FO", "fo_FO", "Faroese (Faroe Islands)"},
    {0x0439, 0, "HIN", "hi", "hi-IN", "hi_IN", "Hindi (India)"},
    {0x043A, 0, "MLT", "mt", "mt-MT", "mt_MT", "Maltese (Malta)"},
    {0x043E, 1252, "MSL", "ms", "ms-MY", "ms_MY", "Malay (Malaysia)"},
    {0x043F, 1251, "KKZ", "kk", "kk-KZ", "kk_KZ", "Kazakh (Kazakhstan)"},
    {0x0440, 1251, "KYR", "ky", "ky-KG", "ky_KG", "Kyrgyz (Kyrgyzstan)"},
    {0x0441, 1252, "SWK", "sw", "sw-KE", "sw_KE", "Kiswahili (Kenya)"},
    {0x0443, 1254, "UZB", "uz", "uz-Latn-UZ", "uz_Latn_UZ", "Uzbek (Latin, Uzbekistan)"},
    {0x0444, 1251, "TTT", "tt", "tt-RU", "tt_RU", "Tatar (Russia)"},
    {0x0445, 0, "BNG", "bn", "bn-IN", "bn_IN", "Bengali (India)"},
    {0x0446, 0, "PAN", "pa", "pa-IN", "pa_IN", "Punjabi (India)"},
    {0x0447, 0, "GUJ", "gu", "gu-IN", "gu_IN", "Gujarati (India)"},
    {0x0449, 0, "TAI", "ta", "ta-IN", "ta_IN", "Tamil (India)"},
    {0x044A, 0, "TEL", "te", "te-IN", "te_IN", "Telugu (India)"},
    {0x044B, 0, "KDI", "kn", "kn-IN", "kn_IN", "Kannada (India)"},
    {0x044C, 0, "MYM", "ml", "ml-IN", "ml_IN", "Malayalam (India)"},
    {0x044E, 0, "MAR", "mr", "mr-IN", "mr_IN", "Marathi (India)"},
    {0x0450, 1251, "MNN", "mn", "mn-MN", "mn_MN", "Mongolian (Cyrillic, Mongolia)"},
    {0x0452, 1252, "CYM", "cy", "cy-GB", "cy_GB", "Welsh (United Kingdom)"},
    {0x0456, 1252, "GLC", "gl", "gl-ES", "gl_ES", "Galician (Galician)"},
    {0x0461, 0, "NEP", "ne", "ne-NP", "ne_NP", "Nepali (Nepal)"},
    {0x0464, 1252, "FPO", "fil", "fil-PH", "fil_PH", "Filipino (Philippines)"},
    {0x0801, 1256, "ARI", "ar", "ar-IQ", "ar_IQ", "Arabic (Iraq)"},
    {0x0804, 936, "CHS", "zh", "zh-CN", "zh_CN", "Chinese (Simplified, PRC)"},
    {0x0807, 1252, "DES", "de", "de-CH", "de_CH", "German (Switzerland)"},
    {0x0809, 1252, "ENG", "en", "en-GB", "en_GB", "English (United Kingdom)"},
    {0x080A, 1252, "ESM", "es", "es-MX", "es_MX", "Spanish (Mexico)"},
    {0x080C, 1252, "FRB", "fr", "fr-BE", "fr_BE", "French (Belgium)"},
    {0x0810, 1252, "ITS", "it", "it-CH", "it_CH", "Italian (Switzerland)"},
    {0x0813, 1252, "NLB", "nl", "nl-BE", "nl_BE", "Dutch (Belgium)"},
    {0x0814, 1252, "NON", "nn", "nn-NO", "nn_NO", "Norwegian, Nynorsk (Norway)"},
    {0x0816, 1252, "PTG", "pt", "pt-PT", "pt_PT", "Portuguese (Portugal)"},
    {0x081A, 1250, "SRL", "sr", "sr-Latn-CS", "sr_Latn_CS",
     "Serbian (Latin, Serbia and Montenegro (Former))"},
    {0x081D, 1252, "SVF", "sv", "sv-FI", "sv_FI", "Swedish (Finland)"},
    {0x083C, 1252, "IRE", "ga", "ga-IE", "ga_IE", "Irish (Ireland)"},
    {0x0843, 1251, "UZC", "uz", "uz-Cyrl-UZ", "uz_Cyrl_UZ", "Uzbek (Cyrillic, Uzbekistan)"},
    {0x0845, 0, "BNB", "bn", "bn-BD", "bn_BD", "Bengali (Bangladesh)"},
    {0x0C01, 1256, "ARE", "ar", "ar-EG", "ar_EG", "Arabic (Egypt)"},
    {0x0C04, 950, "ZHH", "zh", "zh-HK", "zh_HK", "Chinese (Traditional, Hong Kong S.A.R.)"},
    {0x0C07, 1252, "DEA", "de", "de-AT", "de_AT", "German (Austria)"},
    {0x0C09, 1252, "ENA", "en", "en-AU", "en_AU", "English (Australia)"},
    {0x0C0A, 1252, "ESN", "es", "es-ES", "es_ES", "Spanish (Spain, International Sort)"},
    {0x0C0C, 1252, "FRC", "fr", "fr-CA", "fr_CA", "French (Canada)"},
    {0x0C1A, 1251, "SRB", "sr", "sr-Cyrl-CS", "sr_Cyrl_CS",
     "Serbian (Cyrillic, Serbia and Montenegro (Former))"},
    {0x1001, 1256, "ARL", "ar", "ar-LY", "ar_LY", "Arabic (Libya)"},
    {0x1004, 936, "ZHI", "zh", "zh-SG", "zh_SG", "Chinese (Simplified, Singapore)"},
    {0x1007, 1252, "DEL", "de", "de-LU", "de_LU", "German (Luxembourg)"},
    {0x1009, 1252, "ENC", "en", "en-CA", "en_CA", "English (Canada)"},
    {0x100A, 1252, "ESG", "es", "es-GT", "es_GT", "Spanish (Guatemala)"},
    {0x100C, 1252, "FRS", "fr", "fr-CH", "fr_CH", "French (Switzerland)"},
    {0x101A, 1250, "HRB", "hr", "hr-BA", "hr_BA", "Croatian (Latin, Bosnia and Herzegovina)"},
    {0x1401, 1256, "ARG", "ar", "ar-DZ", "ar_DZ", "Arabic (Algeria)"},
    {0x1404, 950, "ZHM", "zh", "zh-MO", "zh_MO", "Chinese (Traditional, Macao S.A.R.)"},
    {0x1409, 1252, "ENZ", "en", "en-NZ", "en_NZ", "English (New Zealand)"},
    {0x140A, 1252, "ESC", "es", "es-CR", "es_CR", "Spanish (Costa Rica)"},
    {0x140C, 1252, "FRL", "fr", "fr-LU", "fr_LU", "French (Luxembourg)"},
    {0x141A, 1250, "BSB", "bs", "bs-Latn-BA", "bs_Latn_BA",
     "Bosnian (Latin, Bosnia and Herzegovina)"},
    {0x1801, 1256, "ARM", "ar", "ar-MA", "ar_MA", "Arabic (Morocco)"},
    {0x1809, 1252, "ENI", "en", "en-IE", "en_IE", "English (Ireland)"},
    {0x180A, 1252, "ESA", "es", "es-PA", "es_PA", "Spanish (Panama)"},
    {0x181A, 1250, "SRS", "sr", "sr-Latn-BA", "sr_Latn_BA",
     "Serbian (Latin, Bosnia and Herzegovina)"},
    {0x1C01, 1256, "ART", "ar", "ar-TN", "ar_TN", "Arabic (Tunisia)"},
    {0x1C09, 1252, "ENS", "en", "en-ZA", "en_ZA", "English (South Africa)"},
    {0x1C0A, 1252, "ESD", "es", "es-DO", "es_DO", "Spanish (Dominican Republic)"},
    {0x2001, 1256, "ARO", "ar", "ar-OM", "ar_OM", "Arabic (Oman)"},
    {0x2009, 1252, "ENJ", "en", "en-JM", "en_JM", "English (Jamaica)"},
    {0x200A, 1252, "ESV", "es", "es-VE", "es_VE", "Spanish (Bolivarian Republic of Venezuela)"},
    {0x2401, 1256, "ARY", "ar", "ar-YE", "ar_YE", "Arabic (Yemen)"},
    {0x240A, 1252, "ESO", "es", "es-CO", "es_CO", "Spanish (Colombia)"},
    {0x241A, 1250, "SRM", "sr", "sr-Latn-RS", "sr_Latn_RS", "Serbian (Latin, Serbia)"},
    {0x2801, 1256, "ARS", "ar", "ar-SY", "ar_SY", "Arabic (Syria)"},
    {0x280A, 1252, "ESR", "es", "es-PE", "es_PE", "Spanish (Peru)"},
    {0x281A, 1251, "SRO", "sr", "sr-Cyrl-RS", "sr_Cyrl_RS", "Serbian (Cyrillic, Serbia)"},
    {0x2C01, 1256, "ARJ", "ar", "ar-JO", "ar_JO", "Arabic (Jordan)"},
    {0x2C0A, 1252, "ESS", "es", "es-AR", "es_AR", "Spanish (Argentina)"},
    {0x2C1A, 1250, "SRP", "sr", "sr-Latn-ME", "sr_Latn_ME", "Serbian (Latin, Montenegro)"},
    {0x3001, 1256, "ARB", "ar", "ar-LB", "ar_LB", "Arabic (Lebanon)"},
    {0x300A, 1252, "ESF", "es", "es-EC", "es_EC", "Spanish (Ecuador)"},
    {0x301A, 1251, "SRQ", "sr", "sr-Cyrl-ME", "sr_Cyrl_ME", "Serbian (Cyrillic, Montenegro)"},
    {0x3401, 1256, "ARK", "ar", "ar-KW", "ar_KW", "Arabic (Kuwait)"},
    {0x3409, 1252, "ENP", "en", "en-PH", "en_PH", "English (Republic of the Philippines)"},
    {0x340A, 1252, "ESL", "es", "es-CL", "es_CL", "Spanish (Chile)"},
    {0x3801, 1256, "ARU", "ar", "ar-AE", "ar_AE", "Arabic (U.A.E.)"},
    {0x380A, 1252, "ESY", "es", "es-UY", "es_UY", "Spanish (Uruguay)"},
    {0x3C01, 1256, "ARH", "ar", "ar-BH", "ar_BH", "Arabic (Bahrain)"},
    {0x3C0A, 1252, "ESZ", "es", "es-PY", "es_PY", "Spanish (Paraguay)"},
    {0x4001, 1256, "ARQ", "ar", "ar-QA", "ar_QA", "Arabic (Qatar)"},
    {0x4009, 1252, "ENN", "en", "en-IN", "en_IN", "English (India)"},
    {0x400A, 1252, "ESB", "es", "es-BO", "es_BO", "Spanish (Bolivia)"},
    {0x4409, 1252, "ENM", "en", "en-MY", "en_MY", "English (Malaysia)"},
    {0x440A, 1252, "ESE", "es", "es-SV", "es_SV", "Spanish (El Salvador)"},
    {0x4809, 1252, "ENE", "en", "en-SG", "en_SG", "English (Singapore)"},
    {0x480A, 1252, "ESH", "es", "es-HN", "es_HN", "Spanish (Honduras)"},
    {0x4C0A, 1252, "ESI", "es", "es-NI", "es_NI", "Spanish (Nicaragua)"},
    {0x500A, 1252, "ESU", "es", "es-PR", "es_PR", "Spanish (Puerto Rico)"},
    {0x540A, 1252, "EST", "es", "es-US", "es_US", "Spanish (United States)"},
}};

static_assert(kRows.size() == 142, "the language table has 142 rows");

constexpr bool IsInLanguageIdOrder() {
    for (size_t i = 1; i < kRows.size(); ++i) {
        if (kRows[i - 1].languageId > kRows[i].languageId) {
            return false;
        }
    }
    return true;
}
static_assert(IsInLanguageIdOrder(), "the language table is sorted by LANGID");

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

} // namespace

std::span<const LanguageTableRow> LanguageTable() {
    return kRows;
}

const LanguageTableRow* FindLanguageRow(LANGID id) {
    // Sorted by id, so the lower bound is the first row with that id.
    const auto it = std::lower_bound(
        kRows.begin(), kRows.end(), id,
        [](const LanguageTableRow& row, LANGID wanted) { return row.languageId < wanted; });
    return (it != kRows.end() && it->languageId == id) ? &*it : nullptr;
}

const LanguageTableRow* FindLanguageRowByCulture(std::string_view name) {
    const auto it = std::find_if(kRows.begin(), kRows.end(), [name](const LanguageTableRow& row) {
        return EqualsIgnoringCase(row.cultureName, name);
    });
    return it != kRows.end() ? &*it : nullptr;
}

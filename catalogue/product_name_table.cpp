#include "catalogue/product_name_table.h"

#include <algorithm>

namespace {

constexpr uint32_t kAny = kAnyNameField;
constexpr uint32_t kDe = PackLanguage("de");
constexpr uint32_t kEs = PackLanguage("es");
constexpr uint32_t kFr = PackLanguage("fr");
constexpr uint32_t kIt = PackLanguage("it");
constexpr uint32_t kJa = PackLanguage("ja");
constexpr uint32_t kPl = PackLanguage("pl");
constexpr uint32_t kRu = PackLanguage("ru");

// Rows for any language and reseller first, the more particular ones after them: on equal
// scores the later row wins.
constexpr ProductNameRow kRows[] = {
    // Every product of the family, in English, for any language and reseller.
    {kAny, kAny, kAny, 0, L"Kovra Starter"},
    {kAny, kAny, kAny, 1, L"Lumen"},
    {kAny, kAny, kAny, 2, L"Kovra Lite"},
    {kAny, kAny, kAny, 3, L"Kovra Plus"},
    {kAny, kAny, kAny, 4, L"Kovra Suite"},
    {kAny, kAny, kAny, 5, L"Kovra Server"},
    {kAny, kAny, kAny, 6, L"Kovra"},
    {kAny, kAny, kAny, 7, L"Kovra Portable"},
    {kAny, kAny, kAny, 9, L"Kovra Mail Guard"},
    {kAny, kAny, kAny, 10, L"Kovra File Shield"},
    {kAny, kAny, kAny, 16, L"Tessel Lite"},
    {kAny, kAny, kAny, 18, L"Tessel Plus"},
    {kAny, kAny, kAny, 20, L"Tessel Studio"},
    {kAny, kAny, kAny, 22, L"Tessel"},
    {kAny, kAny, kAny, 26, L"Quill"},
    {kAny, kAny, kAny, 32, L"Brisk Backup"},
    {kAny, kAny, kAny, 40, L"Kovra Network Agent"},
    {kAny, kAny, kAny, 41, L"Kovra Network"},
    {kAny, kAny, kAny, 47, L"Kovra Gateway"},
    {kAny, kAny, kAny, 56, L"Kovra Cloud Console"},
    {kAny, kAny, kAny, 1088, L"Fathom Monitor"},
    {kAny, kAny, kAny, 1280, L"Orrin Notes"},
    {kAny, kAny, kAny, 2304, L"Kovra Enterprise Console"},
    {kAny, kAny, kAny, 2305, L"Kovra Enterprise Agent"},
    // German.
    {kDe, kAny, kAny, 0, L"Kovra Einsteiger"},
    {kDe, kAny, kAny, 4, L"Kovra Komplettpaket"},
    {kDe, kAny, kAny, 5, L"Kovra Server"},
    {kDe, kAny, kAny, 7, L"Kovra für unterwegs"},
    {kDe, kAny, kAny, 9, L"Kovra Mail-Wächter"},
    {kDe, kAny, kAny, 10, L"Kovra Dateischutz"},
    {kDe, kAny, kAny, 20, L"Tessel Atelier"},
    {kDe, kAny, kAny, 32, L"Brisk Datensicherung"},
    // French.
    {kFr, kAny, kAny, 0, L"Kovra Découverte"},
    {kFr, kAny, kAny, 4, L"Kovra Suite complète"},
    {kFr, kAny, kAny, 5, L"Kovra Serveur"},
    {kFr, kAny, kAny, 7, L"Kovra Nomade"},
    {kFr, kAny, kAny, 9, L"Kovra Garde-Courrier"},
    {kFr, kAny, kAny, 10, L"Kovra Bouclier Fichiers"},
    {kFr, kAny, kAny, 20, L"Tessel Atelier"},
    {kFr, kAny, kAny, 32, L"Brisk Sauvegarde"},
    // Russian.
    {kRu, kAny, kAny, 0, L"Ковра Старт"},
    {kRu, kAny, kAny, 1, L"Люмен"},
    {kRu, kAny, kAny, 2, L"Ковра Лайт"},
    {kRu, kAny, kAny, 3, L"Ковра Плюс"},
    {kRu, kAny, kAny, 4, L"Ковра Комплект"},
    {kRu, kAny, kAny, 5, L"Ковра Сервер"},
    {kRu, kAny, kAny, 6, L"Ковра"},
    {kRu, kAny, kAny, 7, L"Ковра Портативная"},
    {kRu, kAny, kAny, 9, L"Ковра Почтовый страж"},
    {kRu, kAny, kAny, 10, L"Ковра Файловый щит"},
    {kRu, kAny, kAny, 16, L"Тессел Лайт"},
    {kRu, kAny, kAny, 18, L"Тессел Плюс"},
    {kRu, kAny, kAny, 20, L"Тессел Студия"},
    {kRu, kAny, kAny, 22, L"Тессел"},
    {kRu, kAny, kAny, 32, L"Бриск Резервное копирование"},
    // Spanish, Italian, Polish and Japanese for the products with descriptive names.
    {kEs, kAny, kAny, 9, L"Kovra Guardián de Correo"},
    {kEs, kAny, kAny, 10, L"Kovra Escudo de Archivos"},
    {kEs, kAny, kAny, 32, L"Brisk Copia de Seguridad"},
    {kIt, kAny, kAny, 0, L"Kovra Base"},
    {kIt, kAny, kAny, 9, L"Kovra Guardia Posta"},
    {kIt, kAny, kAny, 10, L"Kovra Scudo File"},
    {kIt, kAny, kAny, 32, L"Brisk Backup e Ripristino"},
    {kPl, kAny, kAny, 9, L"Kovra Strażnik Poczty"},
    {kPl, kAny, kAny, 10, L"Kovra Tarcza Plików"},
    {kPl, kAny, kAny, 32, L"Brisk Kopia Zapasowa"},
    {kJa, kAny, kAny, 32, L"Brisk バックアップ"},
    // Emergency kits (kind 1).
    {kAny, kAny, 1, 6, L"Kovra Emergency Kit"},
    {kDe, kAny, 1, 6, L"Kovra Notfall-Kit"},
    {kFr, kAny, 1, 6, L"Kovra Kit de secours"},
    {kRu, kAny, 1, 6, L"Ковра Аварийный комплект"},
    {kAny, kAny, 1, 22, L"Tessel Emergency Kit"},
    // Resellers' own names.
    {kAny, 7, kAny, 6, L"Nordel Secure"},
    {kDe, 7, kAny, 6, L"Nordel Sicherheit"},
    {kAny, 7, kAny, 22, L"Nordel Draw"},
    {kAny, 7, kAny, 32, L"Nordel Backup"},
    {kAny, 12, kAny, 6, L"Kovra Campus"},
    {kAny, 12, kAny, 22, L"Tessel Campus"},
    {kRu, 12, kAny, 22, L"Тессел Кампус"},
    {kAny, 21, 0, 6, L"Kovra OEM"},
    {kAny, 21, 0, 9, L"Kovra Mail Guard OEM"},
    {kAny, 21, 0, 10, L"Kovra File Shield OEM"},
};
static_assert(std::size(kRows) == 81);

// The row's score for the key, or -1 when the row is out.
int Score(const ProductNameRow& row, const ProductNameKey& key) {
    int score = 0;
    if (row.language != kAnyNameField) {
        if (row.language != key.language)
            return -1;
        score = 1;
    }
    if (row.resellerId != kAnyNameField) {
        if (row.resellerId != key.resellerId)
            return -1;
        score = 3 + score;
    }
    if (row.kind != kAnyNameField) {
        if (row.kind != key.kind)
            return -1;
        score += 5;
    }
    if (row.productId != key.productId)
        return -1;
    return score + 10;
}

} // namespace

std::span<const ProductNameRow> ProductNameTable() {
    return kRows;
}

std::wstring LookUpProductName(std::span<const ProductNameRow> table, const ProductNameKey& key) {
    const ProductNameRow* best = nullptr;
    int bestScore = -1;
    for (const ProductNameRow& row : table) {
        const int score = Score(row, key);
        if (score >= 0 && score >= bestScore) {
            best = &row;
            bestScore = score;
        }
    }
    return best != nullptr ? best->displayName : L"";
}

std::wstring LookUpProductName(const ProductNameKey& key) {
    return LookUpProductName(ProductNameTable(), key);
}

ProductIdSpan GenericProductIdSpan(std::span<const ProductNameRow> table) {
    ProductIdSpan span = {0xFFFFFFFF, 0};
    for (const ProductNameRow& row : table) {
        if (row.language != kAnyNameField || row.resellerId != kAnyNameField)
            continue;
        span.smallest = std::min(span.smallest, row.productId);
        span.largest = std::max(span.largest, row.productId);
    }
    if (span.smallest > span.largest)
        return {0, 0};
    return span;
}

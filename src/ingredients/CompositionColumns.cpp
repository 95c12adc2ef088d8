#include "ingredients/CompositionColumns.h"

#include <algorithm>
#include <vector>

#include "storage/Cp1252.h"
#include "storage/IngredientRecord.h"

namespace velmaro {

namespace {

// A Windows-1252 letter without its accent, in lower case.
char FoldChar(unsigned char c) {
    if (c >= 'A' && c <= 'Z') {
        return static_cast<char>(c - 'A' + 'a');
    }
    if (c < 0xC0) {
        if (c == 0xAA) {
            return 'a';  // ª
        }
        if (c == 0xBA) {
            return 'o';  // º
        }
        return static_cast<char>(c);
    }
    static constexpr std::string_view kFolded =
        // C0-DF: ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞß
        "aaaaaaaceeeeiiiidnooooo*ouuuuyts"
        // E0-FF: àáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ
        "aaaaaaaceeeeiiiidnooooo/ouuuuyty";
    return kFolded[c - 0xC0];
}

// The header as words: folded, parenthesised parts and dots dropped, every other
// character that is not a letter or a digit a word break.
std::vector<std::string> Words(std::string_view utf8Header) {
    const std::string text = *Utf8ToCp1252(utf8Header, '?');
    std::vector<std::string> words;
    std::string word;
    int depth = 0;
    auto flush = [&] {
        if (!word.empty()) {
            words.push_back(std::move(word));
            word.clear();
        }
    };
    for (const char raw : text) {
        const char c = FoldChar(static_cast<unsigned char>(raw));
        if (c == '(' || c == '[') {
            flush();
            ++depth;
        } else if (c == ')' || c == ']') {
            depth = std::max(depth - 1, 0);
        } else if (depth > 0 || c == '.') {
            continue;
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            word += c;
        } else {
            flush();
        }
    }
    flush();
    // Units and the little words before them at the end: "energia_kcal", "custo por kg".
    static const std::vector<std::string> kTrailing = {
        "kcal", "kj", "g",   "mg", "mcg", "ug", "kg", "1kg", "100g", "1000g", "r",
        "rs",   "ml", "por", "em", "de",  "o",  "a",  "do",  "da",   "cada"};
    while (words.size() > 1 &&
           std::find(kTrailing.begin(), kTrailing.end(), words.back()) != kTrailing.end()) {
        words.pop_back();
    }
    return words;
}

std::string Joined(const std::vector<std::string>& words, size_t from) {
    std::string out;
    for (size_t i = from; i < words.size(); ++i) {
        if (!out.empty()) {
            out += ' ';
        }
        out += words[i];
    }
    return out;
}

struct Alias {
    int field;
    std::vector<std::string_view> names;  // folded words joined by one space
};

const std::vector<Alias>& Aliases() {
    static const std::vector<Alias> aliases = {
        {ing::kName,
         {"nome", "alimento", "ingrediente", "nome do alimento", "nome do ingrediente", "descricao",
          "descricao do alimento"}},
        {ing::kGroup, {"grupo", "categoria", "grupo do alimento", "grupo do ingrediente"}},
        {ing::kEnergy, {"energia", "calorias", "caloria", "valor energetico", "valor calorico"}},
        {ing::kCarbohydrate,
         {"carboidrato", "carboidratos", "glicidios", "glicidio", "carboidrato total",
          "carboidratos totais"}},
        {ing::kProtein, {"proteina", "proteinas"}},
        {ing::kTotalFat,
         {"lipideos", "lipideo", "lipidios", "lipidio", "gordura total", "gorduras totais",
          "gordura", "gorduras", "lipideos totais"}},
        {ing::kSaturatedFat,
         {"saturada", "saturadas", "gordura saturada", "gorduras saturadas",
          "acidos graxos saturados", "saturados"}},
        {ing::kCholesterol, {"colesterol"}},
        {ing::kFibre, {"fibra", "fibras", "fibra alimentar", "fibras alimentares"}},
        {ing::kCalcium, {"calcio"}},
        {ing::kIron, {"ferro"}},
        {ing::kSodium, {"sodio"}},
        {ing::kCorrectionFactor, {"fc", "fator de correcao", "fator correcao"}},
        {ing::kCookingFactor, {"fcc", "fator de coccao", "fator coccao"}},
        {ing::kCostPerKilogram, {"custo", "preco", "custo kg", "preco kg", "custo unitario"}},
        {ing::kQuotationDate,
         {"data cotacao", "data da cotacao", "data de cotacao", "cotacao", "data do custo"}},
        {kFirstExtraField,
         {"acucares totais", "acucares total", "acucar total", "acucares", "acucar",
          "acucares totais incluindo lactose"}},
        {kFirstExtraField + 1,
         {"acucares adicionados", "acucar adicionado", "acucares de adicao", "acucar de adicao"}},
        {kFirstExtraField + 2,
         {"gordura trans", "gorduras trans", "trans", "gordura trans total", "acidos graxos trans",
          "lipideos trans"}},
    };
    return aliases;
}

int FieldOf(const std::string& name) {
    for (const Alias& alias : Aliases()) {
        if (std::find(alias.names.begin(), alias.names.end(), name) != alias.names.end()) {
            return alias.field;
        }
    }
    return 0;
}

// The source field (18 to 30) of a value field (2 to 11, 14 to 16), or 0.
int SourceFieldOf(int valueField) {
    if (valueField >= ing::kEnergy && valueField <= ing::kSodium) {
        return ing::kFirstSource + (valueField - ing::kEnergy);
    }
    if (valueField >= ing::kCorrectionFactor && valueField <= ing::kCostPerKilogram) {
        return ing::kFirstSource + 10 + (valueField - ing::kCorrectionFactor);
    }
    if (valueField >= kFirstExtraField && valueField < kFirstExtraSourceField) {
        return kFirstExtraSourceField + (valueField - kFirstExtraField);
    }
    return 0;
}

}  // namespace

std::string FoldedHeader(std::string_view utf8Header) {
    return Joined(Words(utf8Header), 0);
}

bool IsCarbohydrateFibreColumn(std::string_view utf8Header) {
    const std::string folded = FoldedHeader(utf8Header);
    return folded == kCarbohydrateFibreHeader ||
           folded == std::string(kCarbohydrateFibreHeader) + " alimentar";
}

std::optional<bool> CarbohydrateFibreAnswer(std::string_view utf8Cell) {
    const std::string folded = Joined(Words(utf8Cell), 0);
    if (folded == "sim" || folded == "s" || folded == "1") {
        return true;
    }
    if (folded == "nao" || folded == "n" || folded == "0") {
        return false;
    }
    return std::nullopt;
}

RecognisedColumn RecogniseColumn(std::string_view utf8Header) {
    const std::vector<std::string> words = Words(utf8Header);
    if (words.empty()) {
        return {};
    }
    if (words[0] == "fonte") {
        // "fonte", "fonte dos dados"; "fonte energia", "fonte do cálcio", "fonte_fc".
        size_t from = 1;
        while (from < words.size() &&
               (words[from] == "de" || words[from] == "do" || words[from] == "da" ||
                words[from] == "dos" || words[from] == "das")) {
            ++from;
        }
        const std::string rest = Joined(words, from);
        if (rest.empty() || rest == "dado" || rest == "dados") {
            return {0, true};
        }
        return {SourceFieldOf(FieldOf(rest)), false};
    }
    return {FieldOf(Joined(words, 0)), false};
}

RecognisedColumnNames RecognisedColumnsByName() {
    const auto header = [](int field) {
        for (const ExportColumn& column : kExportColumns) {
            if (column.field == field) {
                return column.header;
            }
        }
        return std::string_view();
    };
    RecognisedColumnNames names;
    for (const ExportColumn& column : kExportColumns) {
        const bool named = std::any_of(Aliases().begin(), Aliases().end(),
                                       [&](const Alias& a) { return a.field == column.field; });
        if (!named) {
            continue;
        }
        names.values.push_back(column.header);
        if (const int source = SourceFieldOf(column.field);
            source != 0 && !header(source).empty()) {
            names.sources.push_back(header(source));
        }
    }
    return names;
}

std::string FieldCaption(int field) {
    static constexpr std::array<std::string_view, 17> kCaptions = {
        "",
        "Nome",
        "Calorias (KCal)",
        "Glicídios (g)",
        "Proteínas (g)",
        "Gordura Total (g)",
        "Gordura Saturada (g)",
        "Colesterol (mg)",
        "Fibra (g)",
        "Cálcio (mg)",
        "Ferro (mg)",
        "Sódio (mg)",
        "",
        "Grupo",
        "F.C",
        "F.C.C.",
        "Custo ($/1kg)",
    };
    if (field == ing::kQuotationDate) {
        return W("Data cotação");
    }
    if (field >= ing::kFirstSource && field <= ing::kLastSource) {
        return W("Fonte do dado de ") + FieldCaption(ing::SourceValueField(field));
    }
    if (IsExtraField(field)) {
        static constexpr std::array<std::string_view, 3> kExtraCaptions = {
            "Açúcares totais (g)", "Açúcares adicionados (g)", "Gorduras trans (g)"};
        if (field >= kFirstExtraSourceField) {
            return W("Fonte do dado de ") +
                   FieldCaption(field - kFirstExtraSourceField + kFirstExtraField);
        }
        return W(kExtraCaptions[static_cast<size_t>(field - kFirstExtraField)]);
    }
    if (field < 0 || field >= static_cast<int>(kCaptions.size())) {
        return {};
    }
    return W(kCaptions[static_cast<size_t>(field)]);
}

}  // namespace velmaro

#include "preparations/LabelPortion.h"

#include <array>
#include <cmath>

#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr std::array<std::string_view, 7> kKeys = {"AliRef", "TabRef", "PorRef", "UniRef",
                                                   "OriPor", "MedCas", "PesMed"};

std::array<std::string*, 7> Fields(LabelPortionData& d) {
    return {&d.food, &d.table, &d.value, &d.unit, &d.origin, &d.measure, &d.weight};
}

// The utensils of IN 75 Anexo VII with their capacity (ml; the flat plate is given by its
// diameter, 22 cm: none), UTF-8.
struct Utensil {
    std::string_view name;
    int capacity;
};
constexpr std::array<Utensil, 6> kUtensils = {{{"xícara de chá", 200},
                                               {"copo", 200},
                                               {"colher de sopa", 10},
                                               {"colher de chá", 5},
                                               {"prato raso", 0},
                                               {"prato fundo", 250}}};
constexpr std::array<std::string_view, 8> kUnitWords = {"unidade", "fatia", "pedaço",    "fração",
                                                        "rodela",  "bola",  "embalagem", "xícara"};

bool EndsWith(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

// The plural of one Portuguese word (UTF-8).
std::string WordPlural(std::string word) {
    if (word.empty()) {
        return word;
    }
    if (EndsWith(word, "ão")) {
        return word.substr(0, word.size() - std::string_view("ão").size()) + "ões";
    }
    for (const auto& [end, plural] : std::array<std::pair<std::string_view, std::string_view>, 5>{
             {{"al", "ais"}, {"el", "éis"}, {"ol", "óis"}, {"ul", "uis"}, {"il", "is"}}}) {
        if (EndsWith(word, end)) {
            return word.substr(0, word.size() - end.size()) + std::string(plural);
        }
    }
    const char last = word.back();
    if (last == 'm') {
        return word.substr(0, word.size() - 1) + "ns";
    }
    if (last == 'r' || last == 'z') {
        return word + "es";
    }
    if (last == 's' || last == 'x') {
        return word;
    }
    return word + "s";
}

std::string LowerUtf8(std::string_view cp1252) {
    std::string lower(cp1252);
    for (char& c : lower) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
            c = static_cast<char>(u + 32);
        }
    }
    return Cp1252ToUtf8(lower);
}

std::string Trimmed(std::string_view text) {
    std::string t = TrimTrailingSpaces(text);
    t.erase(0, std::min(t.find_first_not_of(' '), t.size()));
    return t;
}

}  // namespace

LabelPortionData LoadLabelPortion(const IniFile& labelFile) {
    LabelPortionData data;
    const auto fields = Fields(data);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        *fields[i] = labelFile.ReadString(kLabelPortionSection, kKeys[i], "");
    }
    return data;
}

void SaveLabelPortion(IniFile& labelFile, const LabelPortionData& data) {
    LabelPortionData copy = data;
    const auto fields = Fields(copy);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        labelFile.WriteString(kLabelPortionSection, kKeys[i], Trimmed(*fields[i]));
    }
}

std::optional<long double> NumericReferencePortion(const LabelPortionData& data) {
    if (data.unit.empty()) {
        return std::nullopt;
    }
    const auto value = ParseNumber(Trimmed(data.value));
    if (!value || *value <= 0) {
        return std::nullopt;
    }
    return value;
}

const std::vector<std::string>& HouseholdMeasureWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> w;
        for (const Utensil& u : kUtensils) {
            w.push_back(W(u.name));
        }
        for (std::string_view word : kUnitWords) {
            w.push_back(W(word));
        }
        return w;
    }();
    return words;
}

std::optional<int> UtensilCapacity(std::string_view measure) {
    const std::string name = LowerUtf8(Trimmed(measure));
    for (const Utensil& u : kUtensils) {
        if (u.name == name && u.capacity > 0) {
            return u.capacity;
        }
    }
    return std::nullopt;
}

std::string MeasurePlural(std::string_view measure) {
    const std::string utf8 = Cp1252ToUtf8(Trimmed(measure));
    // The noun and the words that qualify it; what follows "de" stays ("colheres de sopa").
    const size_t complement = utf8.find(" de ");
    const std::string head = utf8.substr(0, complement);
    std::string plural;
    size_t start = 0;
    while (start <= head.size()) {
        const size_t space = std::min(head.find(' ', start), head.size());
        plural += (start > 0 ? " " : "") + WordPlural(head.substr(start, space - start));
        start = space + 1;
    }
    if (complement != std::string::npos) {
        plural += utf8.substr(complement);
    }
    return W(plural);
}

std::optional<std::string> HouseholdMeasureText(long double portion, long double weightOfOne,
                                                std::string_view measure) {
    if (!(portion > 0) || !(weightOfOne > 0) || IsAllSpaces(measure)) {
        return std::nullopt;
    }
    const long double amount = portion / weightOfOne;
    long double whole = std::floor(amount);
    // The fraction in 24ths: 0, 1/4, 1/3, 1/2, 2/3, 3/4, 1; at a tie the larger.
    const long double part = (amount - whole) * 24;
    constexpr std::array<int, 7> kSteps = {0, 6, 8, 12, 16, 18, 24};
    int best = 0;
    for (const int step : kSteps) {
        if (std::fabs(part - step) <= std::fabs(part - best) + 1e-9L) {
            best = step;
        }
    }
    if (best == 24) {
        whole += 1;
        best = 0;
    }
    if (whole == 0 && best == 0) {
        return std::nullopt;
    }
    std::string text = whole > 0 ? std::to_string(static_cast<long long>(whole)) : std::string();
    if (best > 0) {
        const int denominator = best == 12 ? 2 : (best % 6 == 0 ? 4 : 3);
        const int numerator = best * denominator / 24;
        text += (text.empty() ? "" : " ") + std::to_string(numerator) + "/" +
                std::to_string(denominator);
    }
    const std::string name = Trimmed(measure);
    return text + " " + (whole >= 2 ? MeasurePlural(name) : name);
}

std::string SuggestedMeasureWord(std::string_view suggestion) {
    std::string first = LowerUtf8(Trimmed(suggestion));
    first = first.substr(0, std::min(first.find(" ou "), first.find(',')));
    if (first == "xícaras" || first == "xícara") {
        return W("xícara de chá");
    }
    for (const std::string& word : HouseholdMeasureWords()) {
        const std::string utf8 = Cp1252ToUtf8(word);
        if (first == utf8 || first == Cp1252ToUtf8(MeasurePlural(word))) {
            return word;
        }
    }
    return {};
}

}  // namespace velmaro

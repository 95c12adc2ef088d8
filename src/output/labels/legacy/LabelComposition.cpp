#include "output/labels/legacy/LabelComposition.h"

#include "output/labels/legacy/LabelRounding.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/PreparationRecord.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// Position k of a label row (2 to 11) is field 40 + k of the preparation record.
constexpr int kLabelAmountBase = PreparationRecordField::kLabelEnergy - 2;

enum : int {
    kEnergy = 2,
    kCarbohydrates = 3,
    kProteins = 4,
    kTotalFat = 5,
    kSaturatedFat = 6,
    kCholesterol = 7,
    kFibre = 8,
    kCalcium = 9,
    kIron = 10,
    kSodium = 11,
};

std::string TrimLeadingSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string LabelAmount(std::string_view record, int index) {
    return GetField(kLabelAmountBase + index, record);
}

}  // namespace

const LabelRowItem& LabelRowItemAt(int index) {
    if (index < 1 || index > kLabelRowSize) {
        index = 1;
    }
    return kLabelRowItems[static_cast<size_t>(index - 1)];
}

std::string DefaultCaption(int index) {
    return W(LabelRowItemAt(index).defaultCaption);
}

DeclaredAmount DeclaredValue(int index, std::string_view amountText) {
    const long double x = TextToNumber(amountText);
    DeclaredAmount d;
    switch (index) {
        case kEnergy:
            d.value = x < 5 ? 0 : x <= 50 ? NearestFive(x) : 10 * RoundHalfEven(x / 10);
            d.text = FixedText(0, d.value) + " Kcal";
            break;
        case kCarbohydrates:
        case kProteins:
        case kFibre:
            if (x >= 0.5L && x < 1) {
                d.text = "menos de 1g";
            } else {
                d.value = x < 0.5L ? 0 : RoundHalfEven(x);
                d.text = FixedText(1, d.value) + " g ";
            }
            break;
        case kTotalFat:
        case kSaturatedFat:
            d.value = x < 0.5L ? 0 : x < 5 ? NearestHalf(x) : RoundHalfEven(x);
            d.text = FixedText(1, d.value) + " g ";
            break;
        case kCholesterol:
            if (x >= 2 && x <= 5) {
                d.text = "menos de 5mg";
            } else {
                d.value = x < 2 ? 0 : NearestFive(x);
                d.text = FixedText(1, d.value) + " mg";
            }
            break;
        case kCalcium:
            if (x < 0.8L) {
                d.text = W("não significativa");
            } else {
                d.value = x;
                d.text = FixedText(1, x) + " mg";
            }
            break;
        case kIron:
            if (x < 0.14L) {
                d.text = W("não significativa");
            } else {
                d.value = x;
                d.text = FixedText(2, x) + " mg";
            }
            break;
        case kSodium:
            d.value = x < 25 ? 0 : x <= 140 ? NearestFive(x) : 10 * RoundHalfEven(x / 10);
            d.text = FixedText(0, d.value) + " mg";
            break;
        default:
            break;
    }
    return d;
}

std::string DailyValuePercent(int index, std::string_view amountText) {
    if (index < kEnergy || index > kSodium) {
        return {};
    }
    const long double v = DeclaredValue(index, amountText).value;
    return FixedText(0, v * 100 / LabelRowItemAt(index).dailyReference) + "%";
}

std::string PortionSizeText(std::string_view text) {
    const std::string fixed = TrimLeadingSpaces(FixedText(0, TextToNumber(text)));
    return TrimTrailingSpaces(fixed);
}

std::string CaptionRow(const IniFile& labelFile) {
    std::string row;
    for (int k = 1; k <= kLabelRowSize; ++k) {
        row += labelFile.ReadString(kLabelSheetSection, LabelRowItemAt(k).captionKey,
                                    DefaultCaption(k));
        row += '|';
    }
    return row;
}

std::string ValueRow(std::string_view record) {
    std::string row = W("Quantidade por porção") + "|";
    for (int k = kEnergy; k <= kSodium; ++k) {
        row += TrimLeadingSpaces(DeclaredValue(k, LabelAmount(record, k)).text);
        row += '|';
    }
    return row;
}

std::string DailyValueRow(std::string_view record) {
    std::string row = "%VD(*)|";
    for (int k = kEnergy; k <= kSodium; ++k) {
        row += TrimLeadingSpaces(DailyValuePercent(k, LabelAmount(record, k)));
        row += '|';
    }
    return row;
}

LabelChoice LoadLabelChoice(const IniFile& labelFile) {
    LabelChoice choice;
    choice.layout = labelFile.ReadInteger(kLabelDataSection, "TipRot", 1);
    choice.withName = labelFile.ReadBool(kLabelDataSection, "ImpNomPre", false);
    return choice;
}

void SaveLabelData(IniFile& labelFile, std::string_view preparationName, std::string_view record,
                   const LabelChoice& choice) {
    if (IsAllSpaces(record)) {
        return;
    }
    labelFile.WriteString(kLabelDataSection, "NomPre", TrimTrailingSpaces(preparationName));
    labelFile.WriteInteger(kLabelDataSection, "QuaPag", 1);
    labelFile.WriteInteger(kLabelDataSection, "QuaEti", 0);
    labelFile.WriteString(
        kLabelDataSection, "ValRef",
        PortionSizeText(GetField(PreparationRecordField::kLabelPortionWeight, record)));
    labelFile.WriteString(kLabelDataSection, "DesDad", CaptionRow(labelFile));
    labelFile.WriteString(kLabelDataSection, "ValPor", ValueRow(record));
    labelFile.WriteString(kLabelDataSection, "ValDia", DailyValueRow(record));
    labelFile.WriteInteger(kLabelDataSection, "TipRot", choice.layout);
    labelFile.WriteBool(kLabelDataSection, "ImpNomPre", choice.withName);
}

std::string RevokedLayoutsNotice() {
    return W(
        "Modelos 1 a 4: regras revogadas (RDC 360/2003) — para embalagens novas use o "
        "modelo 5");
}

std::string NoYieldWarning(std::string_view record) {
    if (IsAllSpaces(record) || TextToNumber(GetField(PreparationRecordField::kYield, record)) > 0) {
        return {};
    }
    return W(
        "Atenção para ausência de valores na tabela nutricional!\nRendimento da preparação\n"
        "Sem o rendimento, todos os valores do rótulo saem 0: não usar em embalagem.");
}

}  // namespace velmaro

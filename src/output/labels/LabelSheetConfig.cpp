#include "output/labels/LabelSheetConfig.h"

#include "output/labels/legacy/LabelComposition.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr const char* kWholeMask5 = "99999;1;_";
constexpr const char* kMillimetreMask = "ccccc;0;_";
constexpr const char* kPercentMask = "999;1;_";
constexpr const char* kCaptionMask = "ccccccccccccccccccccc;0;_";
constexpr int kCaptionWidth = 21;

using K = SheetFieldKind;

std::string PadRight(std::string text, int width) {
    if (static_cast<int>(text.size()) < width) {
        text.append(static_cast<size_t>(width) - text.size(), ' ');
    }
    return text;
}

}  // namespace

const std::array<SheetField, kSheetFieldCount>& SheetFields() {
    static const std::array<SheetField, kSheetFieldCount> fields = [] {
        std::array<SheetField, kSheetFieldCount> f{{
            {"ResImp", "ResImpMaskEdit", kWholeMask5, 5, K::Resolution, "300"},
            {"QuaEtiLin", "QuaEtiLinMaskEdit", kWholeMask5, 5, K::Count, "1"},
            {"QuaEtiCol", "QuaEtiColMaskEdit", kWholeMask5, 5, K::Count, "1"},
            {"LarEti", "LarEtiMaskEdit", kMillimetreMask, 5, K::Millimetres, "65"},
            {"AltEti", "AltEtiMaskEdit", kMillimetreMask, 5, K::Millimetres, "65"},
            {"MarEsq", "MarEsqMaskEdit", kMillimetreMask, 5, K::Millimetres, "10"},
            {"MarSup", "MarSupMaskEdit", kMillimetreMask, 5, K::Millimetres, "10"},
            {"DisHorEti", "DisHorEtiMaskEdit", kMillimetreMask, 5, K::Millimetres, "10"},
            {"DisVerEti", "DisVerEtiMaskEdit", kMillimetreMask, 5, K::Millimetres, "10"},
            {"ComUti", "ComUtiMaskEdit", kPercentMask, 3, K::Percent, "95"},
            {"AltUti", "AltUtiMaskEdit", kPercentMask, 3, K::Percent, "95"},
        }};
        constexpr size_t firstCaption = kSheetFieldCount - kLabelRowSize;
        for (size_t k = 0; k < kLabelRowItems.size(); ++k) {
            const LabelRowItem& item = kLabelRowItems[k];
            const std::string key(item.captionKey);
            f[firstCaption + k] = {key,           key + "MaskEdit", std::string(kCaptionMask),
                                   kCaptionWidth, K::Caption,       W(item.defaultCaption)};
        }
        return f;
    }();
    return fields;
}

SheetTexts LoadSheetTexts(const IniFile& labelFile) {
    SheetTexts texts;
    for (size_t i = 0; i < SheetFields().size(); ++i) {
        const SheetField& field = SheetFields()[i];
        std::string text = labelFile.ReadString(kLabelSheetSection, field.key, field.defaultText);
        if (field.kind != SheetFieldKind::Caption) {
            const bool blank = text.empty();
            text = PadRight(std::move(text), field.width);
            if (!blank) {
                text = AlignDecimalText(text);
            }
        }
        texts[i] = std::move(text);
    }
    return texts;
}

void SaveSheetTexts(IniFile& labelFile, const SheetTexts& texts) {
    for (size_t i = 0; i < SheetFields().size(); ++i) {
        labelFile.WriteString(kLabelSheetSection, SheetFields()[i].key, texts[i]);
    }
}

bool IsValidMillimetreText(std::string_view text) {
    return ParseNumber(text).has_value();
}

char MillimetreKeyPress(char key) {
    return key == '.' ? ',' : key;
}

}  // namespace velmaro

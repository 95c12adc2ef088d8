#include "output/reference/ReferencePortion.h"

#include <gtest/gtest.h>

#include "output/reference/In75List.h"
#include "storage/Cp1252.h"

namespace velmaro {
namespace {

LabelPortionData Bolos() {
    LabelPortionData d;
    d.food = "Bolos, todos os tipos sem recheio";
    d.table = W(kIn75GroupNames[0]);
    d.value = "60";
    d.unit = "g";
    return d;
}

TEST(ReferencePortion, TheLineNamesTheAnnexGroupAndTheWarningComparesPortionAndUnit) {
    EXPECT_EQ(ReferencePortionLine(Bolos()),
              W("Porção de referência: Bolos, todos os tipos sem recheio — 60 g (IN 75, Anexo "
                "V, Grupo I)"));
    LabelPortionData own = Bolos();
    own.table = "Minha tabela";
    EXPECT_EQ(ReferencePortionLine(own),
              W("Porção de referência: Bolos, todos os tipos sem recheio — 60 g (Minha tabela)"));
    EXPECT_EQ(ReferencePortionLine(LabelPortionData{}), "");

    EXPECT_EQ(PortionDifferenceWarning(Bolos(), "    50", "g"),
              W("A porção do rótulo (50 g) difere da porção de referência (60 g)."));
    EXPECT_EQ(PortionDifferenceWarning(Bolos(), "    60", "g"), "");
    EXPECT_EQ(PortionDifferenceWarning(Bolos(), "    60", "  "), "");  // a blank unit is g
    EXPECT_EQ(PortionDifferenceWarning(Bolos(), "    60", "ml"),
              W("A porção do rótulo (60 ml) difere da porção de referência (60 g)."));
    EXPECT_EQ(PortionDifferenceWarning(LabelPortionData{}, "    50", "g"), "");

    LabelPortionData ice = Bolos();
    ice.value = "60 g ou 130 ml";
    ice.unit = "";
    EXPECT_EQ(PortionDifferenceWarning(ice, "   130", "ml"), "");
    EXPECT_EQ(PortionDifferenceWarning(ice, "    60", "g"), "");
    EXPECT_EQ(PortionDifferenceWarning(ice, "    70", "g"),
              W("A porção do rótulo (70 g) difere da porção de referência (60 g ou 130 ml)."));
    LabelPortionData powder = Bolos();
    powder.value = "Quantidade suficiente para preparar 200 ml";
    powder.unit = "";
    EXPECT_EQ(PortionDifferenceWarning(powder, "    25", "g"), "");  // cannot be compared
}

TEST(ReferencePortion, PortionFromTheGroupsMeanEnergy) {
    struct Case {
        const char* numeral;
        long double kcalPerGram;
        int grams;  // 0: refused
    };
    const Case cases[] = {
        {"I", 2.5L, 60},     // 150 / 2,5
        {"I", 2.59L, 58},    // 57,9
        {"I", 4, 38},        // 37,5: half up
        {"II", 0.2L, 150},   // 30 / 0,2
        {"III", 0.7L, 100},  // 70
        {"IV", 1.25L, 100},  // 125
        {"V", 2.5L, 50},     // 125
        {"VI", 9, 11},       // 100 / 9 = 11,1
        {"VII", 4, 25},      // 100
        {"VIII", 2, 0},      // no mean energy
        {"I", 0, 0},         // no energy
        {"I", 1000, 0},      // less than 1 g
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.numeral) + " " +
                     std::to_string(static_cast<double>(c.kcalPerGram)));
        const auto group = In75GroupOfNumeral(c.numeral);
        ASSERT_TRUE(group);
        const GroupEnergyPortion p = PortionFromGroupEnergy(*group, c.kcalPerGram);
        if (c.grams == 0) {
            EXPECT_FALSE(p.refusal.empty());
        } else {
            EXPECT_EQ(p.refusal, "");
            EXPECT_EQ(p.grams, c.grams);
        }
    }
    EXPECT_EQ(PortionFromGroupEnergy(0, 2.59L).explanation,
              W("porção pela energia média do Grupo I (150 kcal ÷ 2,59 kcal/g = 57,92 g, "
                "arredondado para 58 g; RDC 429, art. 9º IX)"));
    EXPECT_EQ(PortionFromGroupEnergy(7, 2).refusal,
              W("O Grupo VIII não tem valor energético médio da porção (IN 75, Anexo V): a "
                "porção do rótulo não pode ser obtida dele."));
    EXPECT_FALSE(PortionFromGroupEnergy(0, std::nullopt).refusal.empty());
    EXPECT_FALSE(In75GroupOfNumeral("IX"));
}

}  // namespace
}  // namespace velmaro

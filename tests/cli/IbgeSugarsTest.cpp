#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/CliFixtures.h"
#include "ingredients/ExtraValues.h"
#include "ingredients/SuppliedTables.h"

namespace velmaro::test {
namespace {

fs::path DeliveredData() {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    return fs::path(src != nullptr ? src : ".") / "data";
}

class IbgeSugarsTest : public CliTest {
  protected:
    void SetUp() override { ASSERT_EQ(InstallSuppliedTables(DeliveredData(), Home()), ""); }
    ExtraValues Extras(const std::string& table, const std::string& name) {
        return LoadExtraValues(Home(), Key(table, 20)).Find(W(name));
    }
};

// A cake of IBGE foods: every value of the current label is known, sugars included. IBGE
// lists foods as eaten and has no wheat flour: corn flour stands in for it.
TEST_F(IbgeSugarsTest, ACakeOfIbgeFoodsHasACompleteCurrentLabel) {
    AddPreparation("IBGE", "Bolo de cenoura",
                   {{"Farinha de milho", "240", ""},
                    {"Açúcar", "200", ""},
                    {"Ovo de galinha", "150", ""},
                    {"Leite de vaca integral", "240", ""},
                    {"Óleo de soja", "120", ""},
                    {"Cenoura, crua", "200", ""}},
                   "   900", "    12");
    const CliRun run = Cli({"rotulo", "IBGE", "Bolo de cenoura", "--modelo", "5", "--dados"});
    RecordProperty("rotulo", run.out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find('?'), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("INCOMPLETO"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Açúcares adicionados"), std::string::npos) << run.out;
}

// tabela acucares: blank values filled from the food named in the map, with the food as
// their source; a value the ingredient has stays unless --substituir; names not found are
// reported (exit status 1) and the ingredient records do not change.
TEST_F(IbgeSugarsTest, TheMapFillsBlankSugarsFromTheFoods) {
    ImportCsv("Minha",
              "nome;energia (kcal);carboidrato\n"
              "Açúcar, refinado;387;99,5\n"
              "Leite, integral;61;4,7\n");
    const std::string trans = Extras("IBGE", "Leite de vaca integral").Text(ExtraValue::TransFat);
    ExtraValuesTable extras;
    ExtraValues mine;
    mine.values = {"   4,00", BlankMaskText(kExtraValueMask), BlankMaskText(kExtraValueMask)};
    mine.sources = {"medido", "", ""};
    extras.Set(W("Leite, integral"), mine);
    WriteBytes(ExtraValuesFileLocation(Home(), Key("Minha", 20)), extras.Bytes());
    const std::string ingredientsBefore = ReadBytes(IngredientFilePath(Home(), Key("Minha", 20)));

    const fs::path map = Csv("mapa.csv",
                             "ingrediente;alimento\n"
                             "Açúcar, refinado;Açúcar\n"
                             "Leite, integral;Leite de vaca integral\n"
                             "Mel;Mel de abelha\n"
                             "Leite, integral;Não existe\n");
    CliRun run = Cli({"tabela", "acucares", "Minha", "--de", "IBGE", "--mapa", map.string()});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.out.find("\"Açúcar, refinado\" preenchido de \"Açúcar\": açúcares totais "
                           "99,91 g, adicionados 99,98 g, gordura trans 0,00 g."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Linha 4: não encontrado: ingrediente \"Mel\" em \"Minha\"."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Linha 5: não encontrado: alimento \"Não existe\" em \"IBGE\"."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("2 ingredientes preenchidos, 0 já tinham os valores, 2 linhas não "
                           "encontradas."),
              std::string::npos)
        << run.out;

    const ExtraValues sugar = Extras("Minha", "Açúcar, refinado");
    EXPECT_EQ(sugar.Text(ExtraValue::TotalSugars), "  99,91");
    EXPECT_EQ(sugar.Text(ExtraValue::AddedSugars), "  99,98");
    EXPECT_EQ(sugar.Text(ExtraValue::TransFat), "   0,00");
    for (size_t i = 0; i < kExtraValueCount; ++i) {
        EXPECT_EQ(sugar.sources[i], W("IBGE POF 2008–2009: Açúcar"));
    }
    // The milk keeps its own total sugars and gets the two it lacked.
    ExtraValues milk = Extras("Minha", "Leite, integral");
    EXPECT_EQ(milk.Text(ExtraValue::TotalSugars), "   4,00");
    EXPECT_EQ(milk.Source(ExtraValue::TotalSugars), "medido");
    EXPECT_EQ(milk.Text(ExtraValue::AddedSugars), "   0,00");
    EXPECT_EQ(milk.Text(ExtraValue::TransFat), trans);
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Key("Minha", 20))), ingredientsBefore);

    // Again: nothing left to fill; with --substituir the milk's own value goes too.
    run = Cli({"tabela", "acucares", "Minha", "--de", "IBGE", "--mapa", map.string()});
    EXPECT_NE(run.out.find("0 ingredientes preenchidos, 2 já tinham os valores"), std::string::npos)
        << run.out;
    run = Cli(
        {"tabela", "acucares", "Minha", "--de", "IBGE", "--mapa", map.string(), "--substituir"});
    milk = Extras("Minha", "Leite, integral");
    EXPECT_EQ(milk.Text(ExtraValue::TotalSugars),
              Extras("IBGE", "Leite de vaca integral").Text(ExtraValue::TotalSugars));
    EXPECT_EQ(milk.Source(ExtraValue::TotalSugars),
              W("IBGE POF 2008–2009: Leite de vaca integral"));

    // A table for consultation only takes nothing.
    run = Cli({"tabela", "acucares", "TACO", "--de", "IBGE", "--mapa", map.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("somente para consulta"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace velmaro::test

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ingredients/CompositionImport.h"
#include "ingredients/CsvReader.h"
#include "shell/TableCarbohydrate.h"
#include "storage/Cp1252.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::FixturePath;
using test::Pad;
using test::ReadBytes;
using test::WriteBytes;

CompositionTableSetup FixtureSetup() {
    CompositionTableSetup setup;
    setup.tableName = "Teste";
    setup.description = "Tabela de teste";
    setup.flag = "1";
    setup.nameColumn = "descricao";
    setup.groupColumn = "categoria";
    setup.valueColumns = {"energia_kcal",       "carboidrato_g", "proteina_g",        "lipideos_g",
                          "gordura_saturada_g", "colesterol_mg", "fibra_alimentar_g", "calcio_mg",
                          "ferro_mg",           "sodio_mg"};
    setup.sourceText = "Fonte padrão";
    return setup;
}

ImportResult ImportFixture(const fs::path& home, std::string_view fixture,
                           const CompositionTableSetup& setup = FixtureSetup()) {
    std::ifstream in(FixturePath(fixture), std::ios::binary);
    EXPECT_TRUE(in) << fixture;
    return ImportCompositionTable(home, setup, in);
}

// The record of an ingredient: name, ten values, the empty field 12, the group, blank
// factors, cost and date, ten value sources and the three empty ones.
std::string Record(std::string_view name, std::vector<std::string> values, std::string_view group,
                   std::vector<std::string> sources) {
    std::string line = Pad(W(name), 60) + "|";
    for (const auto& v : values) {
        line += v + "|";
    }
    line += "|" + (group.empty() ? std::string() : Pad(W(group), 20)) + "|";
    line += "   ,  |   ,  |      ,  |  /  /  |";
    for (const auto& s : sources) {
        line += W(s) + "|";
    }
    return line + "|||";
}

class CompositionImportTest : public test::DataHomeTest {};

// The fixture starts with a UTF-8 byte-order mark, has CR LF line ends and its columns in
// another order than TACO's.
TEST_F(CompositionImportTest, CodesValuesGroupsAndSources) {
    CompositionTableSetup setup = FixtureSetup();
    setup.sourceColumn = "fonte";
    const ImportResult result = ImportFixture(Home(), "taco-codes.csv", setup);
    ASSERT_TRUE(result.Ok()) << (result.errors.empty() ? "" : result.errors[0].message);
    EXPECT_EQ(result.ingredientCount, 3);
    EXPECT_EQ(result.groupCount, 2);

    const std::string blank = "    ,  ";
    const std::string a = "Lab A";
    const std::string p = "Fonte padrão";
    const std::string b = "Lab B";
    LineTable ingredients;
    NullProgress progress;
    LoadScrambledLineTable(IngredientFilePath(Home(), Pad("Teste", 20)), ingredients, progress);
    const std::vector<std::string> expected = {
        Record("Arroz, tipo 1, cozido",
               {" 128,00", "  28,10", "   2,50", "   0,20", "   0,20", blank, "   1,60", "   4,00",
                "   0,10", "    1,00"},
               "Cereais e derivados", {a, a, a, a, a, "", a, a, a, a}),
        // -0.0 is 0; "TR" and "na" are codes in any case; rounded half away from zero.
        Record("Maçã",
               {"  52,00", "   0,00", "   0,00", blank, "   0,00", blank, "   2,35", blank,
                "   0,13", "    0,00"},
               "Frutas", {b, b, b, "", b, "", b, "", b, b}),
        // Spaces cleaned; "Tr" is 0 with its source, "*" and empty are blank without one;
        // the group in another case is the group first seen; an empty source cell takes
        // the default source.
        Record("Milho, amido, cru",
               {" 361,00", "  87,10", "   0,60", "   0,00", blank, blank, "   0,70", "   1,00",
                "   0,10", "99999,99"},
               "Cereais e derivados", {p, p, p, p, "", "", p, p, p, p}),
    };
    EXPECT_EQ(ingredients.lines.Items(), expected);
    for (const auto& line : ingredients.lines.Items()) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '|'), 30);
    }
    EXPECT_EQ(ReadBytes(IngredientGroupsPath(Home(), "Teste")),
              Pad("Cereais e derivados", 20) + "|\r\n" + Pad("Frutas", 20) + "|\r\n");
    EXPECT_EQ(ReadBytes(TableListPath(Home())),
              Pad("Teste", 20) + "|" + Pad("Tabela de teste", 65) + "|1|\r\n");
}

TEST_F(CompositionImportTest, RefusedRowsWriteNothing) {
    struct Case {
        const char* fixture;
        std::vector<std::string> messages;  // UTF-8
    };
    const Case cases[] = {
        {"value-too-wide.csv",
         {"Linha 3: o valor \"10000\" de Calorias (KCal) não cabe no campo (máximo 9999,99).",
          "Linha 4: o valor \"100000\" de Sódio (mg) não cabe no campo (máximo 99999,99).",
          // Rounded to the mask it would be 10000,00.
          "Linha 5: o valor \"9999.996\" de Gordura Total (g) não cabe no campo (máximo "
          "9999,99)."}},
        // Widths are counted in the characters of the record, accents as one.
        {"name-too-long.csv",
         {"Linha 2: o nome \"Margarina, com óleo interesterificado, com sal (65% lipídeos)\" tem "
          "61 caracteres; o máximo é 60."}},
        // "/" is allowed in a name (a file made from it gets "_" instead).
        {"name-forbidden-char.csv",
         {"Linha 2: o nome \"Pão_de_queijo\" tem o caracter (_), que não é permitido."}},
        {"name-duplicate-case.csv",
         {"Linha 4: o nome \"FEIJÃO, PRETO, COZIDO\" repete o da linha 2 (maiúsculas e "
          "minúsculas não distinguem nomes)."}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fixture);
        const ImportResult result = ImportFixture(Home(), c.fixture);
        EXPECT_EQ(result.status, ImportStatus::InvalidData);
        std::vector<std::string> messages;
        for (const auto& e : result.errors) {
            messages.push_back(Cp1252ToUtf8(e.message));
        }
        EXPECT_EQ(messages, c.messages);
        ASSERT_FALSE(result.errors.empty());
        EXPECT_EQ(result.errors[0].line, std::stoi(c.messages[0].substr(6)));
        EXPECT_FALSE(fs::exists(DataFolder(Home())));
    }
}

TEST_F(CompositionImportTest, MalformedFileAndTableTexts) {
    const std::string header =
        "descricao,categoria,energia_kcal,carboidrato_g,proteina_g,lipideos_g,"
        "gordura_saturada_g,colesterol_mg,fibra_alimentar_g,calcio_mg,ferro_mg,sodio_mg\n";
    auto run = [&](const std::string& csv, const std::string& tableName,
                   const std::string& description) {
        CompositionTableSetup setup = FixtureSetup();
        setup.tableName = tableName;
        setup.description = description;
        std::istringstream in(csv);
        const ImportResult result = ImportCompositionTable(Home(), setup, in);
        EXPECT_EQ(result.status, ImportStatus::InvalidData);
        EXPECT_FALSE(fs::exists(DataFolder(Home())));
        std::vector<std::string> messages;
        for (const auto& e : result.errors) {
            messages.push_back(Cp1252ToUtf8(e.message));
        }
        return messages;
    };
    const std::string row = ",G,1,1,1,1,1,1,1,1,1,1\n";
    EXPECT_EQ(run("", "Teste", ""),
              std::vector<std::string>{"O arquivo está vazio: falta a linha de cabeçalho."});
    EXPECT_EQ(run(header.substr(0, header.rfind(',')) + ",sodio\n", "Teste", ""),
              std::vector<std::string>{"Linha 1: falta a coluna \"sodio_mg\"."});
    EXPECT_EQ(run(header, "Teste", ""),
              std::vector<std::string>{"O arquivo não tem nenhum alimento."});
    // A quoted line break is one space of the name; a short row; an open quote.
    EXPECT_EQ(run(header + "\"Pão\nde queijo\"" + row + "Ovo,G,1,1\n" + "\"Sal" + row, "Teste", ""),
              (std::vector<std::string>{"Linha 4: a linha tem 4 campos, mas o cabeçalho tem 12.",
                                        "Linha 5: aspas sem fechamento."}));
    EXPECT_EQ(run(header + "Ovo" + row + "Sal,G,1,x,1,-2,1,1,1,1,1,1\n", "Teste", ""),
              (std::vector<std::string>{
                  "Linha 3: o valor \"x\" de Glicídios (g) não é um número nem um código "
                  "conhecido.",
                  "Linha 3: o valor \"-2\" de Gordura Total (g) é negativo."}));
    EXPECT_EQ(run(header + "Ovo" + row, "Minha:tabela", std::string(66, 'd')),
              (std::vector<std::string>{
                  "O nome da tabela \"Minha:tabela\" tem o caracter (:), que não é permitido.",
                  "A descrição da tabela \"" + std::string(66, 'd') +
                      "\" tem 66 caracteres; o máximo é 65."}));
    EXPECT_EQ(run(header + "Ovo" + row, "  ", ""),
              std::vector<std::string>{"O nome da tabela está em branco."});
    EXPECT_EQ(run(header + "Ovo" + row, "Minha\ttabela", ""),
              std::vector<std::string>{
                  "Nome inválido! O nome não pode ter caracteres de controle (como a tabulação)."});
}

TEST_F(CompositionImportTest, ExistingTableIsNeverWrittenOver) {
    // A table of that name in the list, in another case.
    const std::string list = Pad("TESTE", 20) + "|" + Pad("Minha", 65) + "|1|\r\n";
    WriteBytes(TableListPath(Home()), list);
    ImportResult result = ImportFixture(Home(), "taco-codes.csv");
    EXPECT_EQ(result.status, ImportStatus::TableExists);
    EXPECT_EQ(ReadBytes(TableListPath(Home())), list);
    EXPECT_FALSE(fs::exists(TableFolder(Home(), "Teste")));

    // A table deleted from the list keeps its files; they are not replaced.
    WriteBytes(TableListPath(Home()), "");
    const std::string own = ScrambledLineTableBytes([] {
        LineTable t;
        InsertRecord(t, Pad("Meu arroz", 60) + "|");
        return t.lines;
    }());
    WriteBytes(IngredientFilePath(Home(), "Teste"), own);
    result = ImportFixture(Home(), "taco-codes.csv");
    EXPECT_EQ(result.status, ImportStatus::TableExists);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(Cp1252ToUtf8(result.errors[0].message),
              "A pasta da tabela \"Teste\" já tem ingredientes ou grupos gravados; nada foi "
              "importado.");
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), "Teste")), own);
    EXPECT_EQ(ReadBytes(TableListPath(Home())), "");
}

}  // namespace
}  // namespace velmaro

namespace velmaro {
namespace {

// The column "Carboidrato inclui fibra": one answer for the whole table, stored beside it;
// rows that answer otherwise are refused; an existing table with foods is not turned
// around by a file; without the column a new table takes the setup's answer.
TEST_F(CompositionImportTest, CarbohydrateIncludesFibreColumn) {
    auto import = [&](const std::string& table, const std::string& csv, bool add = false,
                      bool setupSays = false) {
        CompositionTableSetup setup;
        setup.tableName = table;
        setup.description = "Tabela";
        setup.separator = ';';
        setup.recogniseColumns = true;
        setup.addToExistingTable = add;
        setup.carbohydrateIncludesFibre = setupSays;
        std::istringstream in(csv);
        return ImportCompositionTable(Home(), setup, in);
    };
    auto stored = [&](const std::string& table) {
        return StoredCarbohydrateIncludesFibre(Home(), Pad(table, 20));
    };

    ImportResult r = import("Total",
                            "Nome;Carboidrato (g);Fibra;Carboidrato inclui fibra\n"
                            "Aveia;66,6;9,1;SIM\nArroz;28,1;1,6;\n");
    ASSERT_TRUE(r.Ok()) << r.errors.front().message;
    EXPECT_TRUE(r.carbohydrateIncludesFibre);
    EXPECT_EQ(stored("Total"), true);
    EXPECT_TRUE(r.ignoredColumns.empty());

    // "Não" needs no file; a different header spelling is the same column.
    r = import("Disponivel", "nome;carboidrato_inclui_fibra_alimentar\nAveia;Não\n");
    ASSERT_TRUE(r.Ok());
    EXPECT_FALSE(r.carbohydrateIncludesFibre);
    EXPECT_EQ(stored("Disponivel"), std::nullopt);

    // Without the column: the setup's answer (a supplied table's definition).
    r = import("Fornecida", "nome;carboidrato\nAveia;66,6\n", false, true);
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(stored("Fornecida"), true);

    r = import("Mista", "nome;carboidrato inclui fibra\nA;sim\nB;n\nC;talvez\n");
    EXPECT_EQ(r.status, ImportStatus::InvalidData);
    ASSERT_EQ(r.errors.size(), 2u);
    EXPECT_EQ(r.errors[0].message,
              W("Linha 3: \"Carboidrato inclui fibra\" é \"não\", mas a linha 2 diz \"sim\": a "
                "tabela tem uma só resposta."));
    EXPECT_EQ(r.errors[1].message,
              W("Linha 4: \"Carboidrato inclui fibra\" deve ser \"sim\" ou \"não\", não "
                "\"talvez\"."));
    EXPECT_FALSE(fs::exists(TableFolder(Home(), Pad("Mista", 20))));

    // An existing table that holds foods keeps its answer: the file is refused whole.
    const std::string before = ReadBytes(IngredientFilePath(Home(), Pad("Disponivel", 20)));
    r = import("Disponivel", "nome;carboidrato inclui fibra\nPao;sim\n", true);
    EXPECT_EQ(r.status, ImportStatus::InvalidData);
    EXPECT_NE(r.errors.back().message.find(W("tem o carboidrato sem a fibra alimentar")),
              std::string::npos);
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Pad("Disponivel", 20))), before);
    EXPECT_EQ(stored("Disponivel"), std::nullopt);
    // The same answer, or none, adds the foods and keeps it.
    r = import("Total", "nome;carboidrato\nPao;49,9\n", true);
    ASSERT_TRUE(r.Ok());
    EXPECT_TRUE(r.carbohydrateIncludesFibre);
    EXPECT_EQ(stored("Total"), true);
}

}  // namespace
}  // namespace velmaro

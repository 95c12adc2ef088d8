// tabela importar / exportar / listar.

#include <gtest/gtest.h>

#include <map>

#include "cli/CliFixtures.h"
#include "ingredients/ExtraValues.h"
#include "storage/IngredientRecord.h"
#include "support/FailingDisk.h"

namespace velmaro {
namespace {

using test::CliRun;
using test::Pad;
using test::ReadBytes;

class TableCommandsTest : public test::CliTest {
  protected:
    // The record of an ingredient: the name padded, every value field at its blank text
    // and every source empty, except the fields given (UTF-8; the group is padded).
    static std::string Record(const std::string& name, const std::map<int, std::string>& fields) {
        std::string record = Pad(W(name), 60) + "|";
        for (int n = 2; n <= ing::kFieldCount; ++n) {
            std::string text;
            if (auto it = fields.find(n); it != fields.end()) {
                text = n == ing::kGroup ? Pad(W(it->second), 20) : W(it->second);
            } else if (n == ing::kQuotationDate) {
                text = "  /  /  ";
            } else if (n <= ing::kSodium || (n >= ing::kCorrectionFactor && n <= 16)) {
                text = BlankMaskText(ing::ValueMask(n));
            }
            record += text + "|";
        }
        return record;
    }

    std::vector<std::string> Lines(const std::string& table) {
        return Ingredients(table).lines.Items();
    }

    static std::vector<std::string> ErrorLines(const CliRun& run) {
        std::vector<std::string> lines;
        std::string line;
        std::istringstream in(run.err);
        while (std::getline(in, line)) {
            lines.push_back(line);
        }
        return lines;
    }
};

// The same foods written in UTF-8 with ";" and decimal commas, in Windows-1252 with ","
// and decimal points (names quoted), and in UTF-8 with a byte-order mark, "," and CR LF.
TEST_F(TableCommandsTest, EncodingsAndSeparatorsGiveTheSameRecords) {
    const std::string utf8 =
        "Nome;Energia (kcal);Proteína (g);Sódio (mg);Grupo\n"
        "Pão de queijo;363,0;5,1;773;Panificados\n"
        "Açúcar, cristal;387;0,3;Tr;Açúcares\n";
    const std::string cp1252 =
        W("NOME,energia_kcal,proteina_g,SODIO_MG,grupo\n"
          "\"Pão de queijo\",363.0,5.1,773,Panificados\n"
          "\"Açúcar, cristal\",387,0.3,tr,Açúcares\n");
    const std::string bom =
        "\xEF\xBB\xBFnome,energia,proteína,sódio,grupo\r\n"
        "Pão de queijo,\"363,0\",\"5,1\",773,Panificados\r\n"
        "\"Açúcar, cristal\",387,0.3,TR,Açúcares\r\n";
    ASSERT_NE(cp1252, utf8);
    const std::vector<std::string> expected = {
        Record("Açúcar, cristal",
               {{2, " 387,00"}, {4, "   0,30"}, {11, "    0,00"}, {13, "Açúcares"}}),
        Record("Pão de queijo",
               {{2, " 363,00"}, {4, "   5,10"}, {11, "  773,00"}, {13, "Panificados"}}),
    };
    int n = 0;
    for (const std::string& csv : {utf8, cp1252, bom}) {
        const std::string table = "T" + std::to_string(++n);
        SCOPED_TRACE(table);
        const CliRun run = Cli({"tabela", "importar", table, Csv(table + ".csv", csv).string()});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Tabela \"" + table +
                               "\" criada (editável).\n2 ingredientes importados: 2 novos, 0 "
                               "substituídos; 2 grupos novos.\n");
        EXPECT_EQ(Lines(table), expected);
        EXPECT_EQ(ReadBytes(IngredientGroupsPath(Home(), Key(table, 20))),
                  Pad(W("Açúcares"), 20) + "|\r\n" + Pad("Panificados", 20) + "|\r\n");
    }
}

TEST_F(TableCommandsTest, TracesBlanksFactorsCostDatesAndSources) {
    const CliRun run =
        Cli({"tabela", "importar", "Minha",
             Csv("leite.csv",
                 "nome;energia;carboidrato;proteína;gordura total;saturada;colesterol;fc;F.C.C.;"
                 "custo (R$/kg);data_cotacao;fonte;fonte custo;Observação\n"
                 "Leite integral;61;4,7;2,9;3,2;TR;10;1;1,2;4,5;5/3/2024;TBCA;Mercado X;ok\n"
                 "Ovo;146;0,6;13,3;9,5;*;NA;-;;;2024-03-05;;;\n")
                 .string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Colunas ignoradas (nomes não reconhecidos): \"Observação\"\n");
    EXPECT_EQ(
        Lines("Minha"),
        (std::vector<std::string>{
            // The one source goes to every value present, not to the blank ones.
            Record("Leite integral", {{2, "  61,00"},
                                      {3, "   4,70"},
                                      {4, "   2,90"},
                                      {5, "   3,20"},
                                      {6, "   0,00"},
                                      {7, "  10,00"},
                                      {14, "  1,00"},
                                      {15, "  1,20"},
                                      {16, "     4,50"},
                                      {17, "05/03/24"},
                                      {18, "TBCA"},
                                      {19, "TBCA"},
                                      {20, "TBCA"},
                                      {21, "TBCA"},
                                      {22, "TBCA"},
                                      {23, "TBCA"},
                                      {28, "TBCA"},
                                      {29, "TBCA"},
                                      {30, "Mercado X"}}),
            Record(
                "Ovo",
                {{2, " 146,00"}, {3, "   0,60"}, {4, "  13,30"}, {5, "   9,50"}, {17, "05/03/24"}}),
        }));
}

TEST_F(TableCommandsTest, BadLinesAreListedAndNothingIsWrittenUnlessForced) {
    const std::string longName(61, 'x');
    const fs::path csv = Csv("bad.csv",
                             "nome;energia;data cotação\n"
                             "Arroz;128;\n" +
                                 longName +
                                 ";1;\n"
                                 "Pão_de_queijo;300;\n"
                                 "ARROZ;130;\n"
                                 "Sal;10000;\n"
                                 "Mel;abc;\n"
                                 "Café;2;31/02/24\n"
                                 "Chá;2;01/02/24\n");
    const std::vector<std::string> reasons = {
        "Linha 3: o nome \"" + longName + "\" tem 61 caracteres; o máximo é 60.",
        "Linha 4: o nome \"Pão_de_queijo\" tem o caracter (_), que não é permitido.",
        "Linha 5: o nome \"ARROZ\" repete o da linha 2 (maiúsculas e minúsculas não distinguem "
        "nomes).",
        "Linha 6: o valor \"10000\" de Calorias (KCal) não cabe no campo (máximo 9999,99).",
        "Linha 7: o valor \"abc\" de Calorias (KCal) não é um número nem um código conhecido.",
        "Linha 8: a data \"31/02/24\" de Data cotação não é uma data válida (dd/mm/aa, entre 1950 "
        "e 2049).",
    };

    CliRun run = Cli({"tabela", "importar", "Minha", csv.string()});
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> expected = reasons;
    expected.push_back(
        "velmaro-cli: 6 linhas com erro; nada foi importado (--forcar importa só as linhas "
        "válidas).");
    EXPECT_EQ(ErrorLines(run), expected);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(fs::exists(DataFolder(Home())));

    run = Cli({"tabela", "importar", "Minha", csv.string(), "--forcar"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ErrorLines(run), reasons);
    EXPECT_EQ(run.out,
              "Tabela \"Minha\" criada (editável).\n2 ingredientes importados: 2 novos, 0 "
              "substituídos; 0 grupos novos.\n6 linhas com erro ficaram de fora.\n");
    EXPECT_EQ(Lines("Minha"), (std::vector<std::string>{
                                  Record("Arroz", {{2, " 128,00"}}),
                                  Record("Chá", {{2, "   2,00"}, {17, "01/02/24"}}),
                              }));

    // Errors of the whole file stop even a forced import.
    run = Cli({"tabela", "importar", "Outra", Csv("x.csv", "energia\n1\n").string(), "--forcar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ErrorLines(run), (std::vector<std::string>{"Linha 1: falta a coluna \"nome\".",
                                                         "velmaro-cli: nada foi importado."}));
    run = Cli({"tabela", "importar", "Outra",
               Csv("y.csv", "Nome;Energia (kcal);Calorias\nSal;0;0\n").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ErrorLines(run)[0],
              "Linha 1: as colunas \"Energia (kcal)\" e \"Calorias\" são do mesmo campo.");
    run = Cli({"tabela", "importar", "Outra", (Scratch() / "nada.csv").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velmaro-cli: não foi possível ler o arquivo \"" +
                           (Scratch() / "nada.csv").string() + "\".\n");
}

// Foods of an existing table are replaced (their stored name and the fields the file has
// no column for kept), new ones added, new groups added to the group file, and the
// preparations that use a replaced food are pointed out.
TEST_F(TableCommandsTest, ExistingTableGetsFoodsAddedAndReplaced) {
    MakeKitchen();
    const std::vector<std::string> before = Lines("Minha");
    const CliRun run = Cli({"tabela", "importar", "minha",
                            Csv("more.csv",
                                "nome;energia;grupo\n"
                                "ARROZ, TIPO 1, COZIDO;130;cereais\n"
                                "Mandioca, cozida;125;Tubérculos\n")
                                .string(),
                            "--descricao", "ignorada"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "A tabela \"minha\" já existia: a descrição não foi mudada.\n"
              "2 ingredientes importados: 1 novo, 1 substituído; 1 grupo novo.\n"
              "Aviso: 1 preparação usa ingredientes substituídos; para recalculá-las: "
              "velmaro-cli recalcular \"minha\"\n");
    const std::vector<std::string> after = Lines("Minha");
    ASSERT_EQ(after.size(), 4u);
    std::string arroz = before[1];
    ASSERT_EQ(RecordKey(arroz), Pad("Arroz, tipo 1, cozido", 60));
    SetField(2, arroz, " 130,00");
    EXPECT_EQ(after[1], arroz);  // cost, date, factors, other values kept
    EXPECT_EQ(after[3], Record("Mandioca, cozida", {{2, " 125,00"}, {13, "Tubérculos"}}));
    EXPECT_EQ(ReadBytes(IngredientGroupsPath(Home(), Key("Minha", 20))),
              Pad("Cereais", 20) + "|\r\n" + Pad("Leguminosas", 20) + "|\r\n" +
                  Pad(W("Tubérculos"), 20) + "|\r\n" + Pad("Verduras", 20) + "|\r\n");
    EXPECT_EQ(ReadBytes(TableListPath(Home())), Pad("Minha", 20) + "|" + Pad("", 65) + "|1|\r\n");
}

TEST_F(TableCommandsTest, ConsultationTableIsWrittenOnlyWithFornecida) {
    const fs::path csv = Csv("t.csv", "nome;energia\nArroz;128\n");
    CliRun run = Cli({"tabela", "importar", "Ref", csv.string(), "--fornecida", "--descricao",
                      "Tabela de referência"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Tabela \"Ref\" criada (só para consulta).");
    const std::string files = ReadBytes(IngredientFilePath(Home(), Key("Ref", 20)));

    run = Cli({"tabela", "importar", "Ref", csv.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "velmaro-cli: a tabela \"Ref\" é somente para consulta; para importar nela, use "
              "--fornecida. Nada foi importado.\n");
    run = Cli({"tabela", "importar", "Ref", csv.string(), "--fornecida"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Key("Ref", 20))), files);

    ImportCsv("Minha", "nome\nSal\n");
    run = Cli({"tabela", "listar"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out,
              "Tabela  Descrição             Uso       Ingredientes\n"
              "Minha                         editável  1\n"
              "Ref     Tabela de referência  consulta  1\n");
}

// Everything the export writes comes back unchanged: a second table imported from the file
// has the same ingredient file byte for byte and exports the same file again.
TEST_F(TableCommandsTest, ExportIsImportedBackUnchanged) {
    ImportCsv("Minha",
              "nome;grupo;energia;carboidrato;proteína;lipídeos;saturada;colesterol;fibra;"
              "cálcio;ferro;sódio;fc;fcc;custo;data cotação;fonte energia;fonte sódio;fonte fc;"
              "fonte custo\n"
              "\"Pão; integral\";Pães;253;49,9;9,4;3,7;Tr;NA;6,9;132;3;506;1;1,15;12,9;"
              "01/04/24;\"Lab \"\"A\"\"\";;Balança;Mercado\n"
              "Água  de coco;;22;5,3;0;0;;;0,1;19;0;2;;;;;;Rótulo;;\n");
    const fs::path first = Scratch() / "minha.csv";
    CliRun run = Cli({"tabela", "exportar", "Minha", first.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2 ingredientes exportados para \"" + first.string() + "\".\n");
    const std::string csv = ReadBytes(first);
    EXPECT_EQ(csv,
              "\xEF\xBB\xBFnome;grupo;energia (kcal);carboidrato (g);proteína (g);lipídeos (g);"
              "saturada (g);colesterol (mg);fibra (g);cálcio (mg);ferro (mg);sódio (mg);fc;fcc;"
              "custo (R$/kg);data cotação;fonte energia;fonte carboidrato;fonte proteína;fonte "
              "lipídeos;fonte saturada;fonte colesterol;fonte fibra;fonte cálcio;fonte ferro;"
              "fonte sódio;fonte fc;fonte fcc;fonte custo;açúcares totais (g);açúcares "
              "adicionados (g);gordura trans (g);fonte açúcares totais;fonte açúcares "
              "adicionados;fonte gordura trans;carboidrato inclui fibra\r\n"
              "Água  de coco;;22,00;5,30;0,00;0,00;;;0,10;19,00;0,00;2,00;;;;;;;;;;;;;;Rótulo;;;"
              ";;;;;;;não\r\n"
              "\"Pão; integral\";Pães;253,00;49,90;9,40;3,70;0,00;;6,90;132,00;3,00;506,00;1,00;"
              "1,15;12,90;01/04/24;\"Lab \"\"A\"\"\";;;;;;;;;;Balança;;Mercado;;;;;;;não\r\n");

    run = Cli({"tabela", "importar", "Copia", first.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Key("Copia", 20))),
              ReadBytes(IngredientFilePath(Home(), Key("Minha", 20))));
    run = Cli({"tabela", "exportar", "copia", "-"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, csv);
    EXPECT_EQ(run.err, "");

    // Imported over the table it came from, it changes nothing.
    const std::string stored = ReadBytes(IngredientFilePath(Home(), Key("Minha", 20)));
    run = Cli({"tabela", "importar", "Minha", first.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Key("Minha", 20))), stored);

    run = Cli({"tabela", "exportar", "Nenhuma", first.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "velmaro-cli: a tabela \"Nenhuma\" não existe.\n");
}

TEST_F(TableCommandsTest, CellsThatSpreadsheetsRunAsFormulasAreWrittenAsTextAndReadBack) {
    ImportCsv("Minha",
              "nome;grupo;energia;fonte energia;fonte custo\n"
              "\"=SOMA(1;2)\";+Grupo;10;-Lab;@fornecedor\n"
              "'=já;;-0;;\n"  // read as "=já"
              "Sal;;0;;\n");
    const fs::path csv = Scratch() / "minha.csv";
    CliRun run = Cli({"tabela", "exportar", "Minha", csv.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = ReadBytes(csv);
    for (const char* cell :
         {"\"'=SOMA(1;2)\";'+Grupo;", ";'-Lab;", ";'@fornecedor;", "\r\n'=já;;"}) {
        EXPECT_NE(text.find(cell), std::string::npos) << cell << "\n" << text;
    }
    run = Cli({"tabela", "importar", "Copia", csv.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(IngredientFilePath(Home(), Key("Copia", 20))),
              ReadBytes(IngredientFilePath(Home(), Key("Minha", 20))));
    EXPECT_EQ(ReadBytes(IngredientGroupsPath(Home(), Key("Copia", 20))),
              ReadBytes(IngredientGroupsPath(Home(), Key("Minha", 20))));
}

TEST_F(TableCommandsTest, TableNamesAreTrimmedAndReservedNamesRefused) {
    const fs::path csv = Csv("x.csv", "nome;energia\nSal;0\n");
    CliRun run = Cli({"tabela", "importar", " Minha\t", csv.string(), "--descricao", " Minha "});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.rfind("Tabela \"Minha\" criada", 0), 0u) << run.out;
    EXPECT_EQ(ReadBytes(TableListPath(Home())),
              Pad("Minha", 20) + "|" + Pad("Minha", 65) + "|1|\r\n");
    // Again over the table, replacing its food: still found, and nothing else created.
    run = Cli({"tabela", "importar", "  Minha", csv.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    run = Cli({"tabela", "exportar", " Minha ", "-"});
    EXPECT_EQ(run.status, 0) << run.err;
    run = Cli({"tabela", "exportar", " Outra ", "-"});
    EXPECT_EQ(run.err, "velmaro-cli: a tabela \"Outra\" não existe.\n");

    const std::string list = ReadBytes(TableListPath(Home()));
    for (const char* name :
         {"ValRef.dad", "TabValRef.dad", "ArqTab.dad", "arqtab.DAD ", ".instalado-taco"}) {
        run = Cli({"tabela", "importar", name, csv.string()});
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find("é o nome de um arquivo da pasta Dados e não pode ser o nome de "
                               "uma tabela"),
                  std::string::npos)
            << run.err;
    }
    EXPECT_EQ(ReadBytes(TableListPath(Home())), list);
    EXPECT_FALSE(fs::is_directory(Home() / "Dados" / "ValRef.dad"));
}

TEST_F(TableCommandsTest, AnEmptyHomeIsABadUsage) {
    std::ostringstream out;
    std::ostringstream err;
    cli::CliIo io{fs::path(), images, out, err, false, 60};
    EXPECT_EQ(cli::RunCli({"tabela", "listar"}, io), 2);
    EXPECT_EQ(err.str().rfind("velmaro-cli: --home sem pasta", 0), 0u) << err.str();
    EXPECT_EQ(out.str(), "");
}

// Sugars and trans fat travel with their sources through import and export, beside the
// 30-field record, and a file without their columns leaves the values a food had alone.
TEST_F(TableCommandsTest, SugarsAndTransFatGoInAndOutWithTheirSources) {
    ImportCsv("Minha",
              "Nome;Energia;Açúcares totais (g);Açúcar adicionado;Gorduras trans;"
              "Fonte açúcares totais;fonte gordura trans\n"
              "Bolo;350;30,5;Tr;0,2;TBCA;Fabricante\n"
              "Pão;250;;;NA;;\n");
    const std::string extras = ReadBytes(ExtraValuesFileLocation(Home(), Key("Minha", 20)));
    EXPECT_EQ(extras, Pad("Bolo", 60) + "|  30,50|   0,00|   0,20|TBCA||Fabricante|\r\n");
    // The 30-field record is as it always was.
    EXPECT_EQ(Lines("Minha")[0], Record("Bolo", {{2, " 350,00"}}));

    const fs::path file = Scratch() / "minha.csv";
    CliRun run = Cli({"tabela", "exportar", "Minha", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string csv = ReadBytes(file);
    EXPECT_NE(csv.find("Bolo;;350,00" + std::string(27, ';') +
                       "30,50;0,00;0,20;TBCA;;Fabricante;não\r\n"),
              std::string::npos)
        << csv;
    run = Cli({"tabela", "importar", "Copia", file.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), Key("Copia", 20))), extras);

    // A later file without those columns changes the energy and keeps the sugars.
    ImportCsv("Minha", "Nome;Energia\nBolo;360\n");
    EXPECT_EQ(ReadBytes(ExtraValuesFileLocation(Home(), Key("Minha", 20))), extras);
}

// An import interrupted at any write (a full disk there, or one that stays full, as a
// kill between the writes would leave it): the ingredient file and the sugars beside it are
// both the new ones or both the old ones, never the energy of one import with the sugars
// of the other.
TEST_F(TableCommandsTest, AnInterruptedImportLeavesTheIngredientsAndTheirSugarsInStep) {
    ImportCsv("Minha", "Nome;Energia;Açúcares totais (g)\nBolo;350;30,5\nPão;250;4\n");
    const fs::path ingredients = IngredientFilePath(Home(), Key("Minha", 20));
    const fs::path extras = ExtraValuesFileLocation(Home(), Key("Minha", 20));
    const std::string oldIngredients = ReadBytes(ingredients);
    const std::string oldExtras = ReadBytes(extras);
    const fs::path csv = Csv("novo.csv", "Nome;Energia;Açúcares totais (g)\nBolo;360;31\n");
    for (const bool stays : {false, true}) {
        const int writes =
            test::FailEachWriteInTurn(ENOSPC, stays, [&](const test::FailingDisk& disk) {
                test::WriteBytes(ingredients, oldIngredients);
                test::WriteBytes(extras, oldExtras);
                const CliRun run = Cli({"tabela", "importar", "Minha", csv.string()});
                const bool newIngredients = ReadBytes(ingredients) != oldIngredients;
                const bool newExtras = ReadBytes(extras) != oldExtras;
                SCOPED_TRACE("write " + std::to_string(disk.Writes()));
                EXPECT_EQ(newIngredients, newExtras);
                EXPECT_EQ(newIngredients, !disk.Failed());
                EXPECT_EQ(run.status, disk.Failed() ? 1 : 0) << run.err;
                if (disk.Failed()) {
                    EXPECT_NE(run.err.find("disco cheio"), std::string::npos) << run.err;
                }
            });
        EXPECT_GE(writes, 2);
    }
    // No temporary file of the writes that failed.
    EXPECT_EQ(Cli({"verificar"}).status, 0);
}

}  // namespace
}  // namespace velmaro

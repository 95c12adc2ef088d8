// valores-referencia importar / exportar / listar.

#include <gtest/gtest.h>

#include <cstdlib>

#include "cli/CliFixtures.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"

namespace velmaro {
namespace {

using test::CliRun;
using test::Pad;
using test::ReadBytes;

constexpr const char* kHeader =
    "alimento;valor de referência;unidade;medida caseira;peso médio;apresentação no rótulo;"
    "tabela\n";

class ReferenceCommandsTest : public test::CliTest {
  protected:
    static std::string Crlf(const std::string& text) {
        std::string out;
        for (char c : text) {
            out += c == '\n' ? std::string("\r\n") : std::string(1, c);
        }
        return out;
    }

    // A food record as ValRef.dad holds it (Windows-1252, every field padded).
    static std::string Food(const std::string& food, const std::string& value,
                            const std::string& unit, const std::string& measure,
                            const std::string& weight, const std::string& presentation,
                            const std::string& table) {
        return Pad(W(food), 140) + "|" + Pad(W(value), 70) + "|" + Pad(unit, 2) + "|" +
               Pad(W(measure), 60) + "|" + Pad(W(weight), 70) + "|" + Pad(W(presentation), 70) +
               "|" + Pad(W(table), 76) + "|\r\n";
    }

    CliRun Import(const std::string& csv, bool force = false) {
        std::vector<std::string> args = {"valores-referencia", "importar",
                                         Csv("valref.csv", csv).string()};
        if (force) {
            args.push_back("--forcar");
        }
        return Cli(args);
    }

    std::string Values() { return ReadBytes(DataFolder(Home()) / "ValRef.dad"); }
    std::string Tables() { return ReadBytes(DataFolder(Home()) / "TabValRef.dad"); }
};

// Headers in any case and accents, either separator, either encoding: the same records,
// padded to their widths, sorted, and the tables the rows name.
TEST_F(ReferenceCommandsTest, SpreadsheetsInEitherEncodingAndSeparatorGiveTheSameFiles) {
    const std::string expectedValues =
        Food("Bebida láctea", "200", "ml", "copo", "200 ml", "1 copo", "Leites") +
        Food("Pão de forma", "50", "g", "fatia", "25 g", "2 fatias", "Pães");
    const std::string expectedTables = Pad("Leites", 76) + "|\r\n" + Pad(W("Pães"), 76) + "|\r\n";

    const std::vector<std::pair<const char*, std::string>> files = {
        {"UTF-8, \";\"", std::string(kHeader) + "Pão de forma;50;g;fatia;25 g;2 fatias;Pães\n"
                                                "Bebida láctea;200;ml;copo;200 ml;1 copo;Leites\n"},
        {"Windows-1252, \",\", other names and order, unit in capitals",
         W("TABELA,Alimento,Valor de Referencia,UNIDADE,Medida Caseira,Peso medio (g),"
           "Apresentacao no rotulo\r\n"
           "\"Leites\",\"Bebida láctea\",200,ML,copo,200 ml,1 copo\r\n"
           "  Pães , Pão de forma ,50,G,fatia,25 g,2 fatias\r\n")},
    };
    for (const auto& [what, csv] : files) {
        SCOPED_TRACE(what);
        const CliRun run = Import(csv);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Values(), expectedValues);
        EXPECT_EQ(Tables(), expectedTables);
    }

    // Only the required columns, an unknown one aside; the list is replaced, not added to.
    const CliRun run =
        Import("Alimento;Valor;Unidade;Tabela;Observação\nIogurte;100 a 120;g;Leites;qualquer\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Colunas ignoradas (nomes não reconhecidos): \"Observação\"\n");
    EXPECT_EQ(run.out,
              "1 alimento importado em 1 tabela de referência; a lista anterior (2 alimentos) "
              "foi substituída.\n");
    EXPECT_EQ(Values(), Food("Iogurte", "100 a 120", "g", "", "", "", "Leites"));
    EXPECT_EQ(Tables(), Pad("Leites", 76) + "|\r\n");

    // A header of thousands of unknown columns, one of them huge: ten names shown, each cut.
    std::string header = "Alimento;Valor;Unidade;Tabela;" + std::string(100000, 'x');
    for (int i = 0; i < 5000; ++i) {
        header += ";c" + std::to_string(i);
    }
    const CliRun wide =
        Import(header + "\nIogurte;100 a 120;g;Leites" + std::string(5001, ';') + "\n");
    EXPECT_LT(wide.err.size(), 1000u) << wide.err.substr(0, 200);
    EXPECT_NE(wide.err.find("\"" + std::string(40, 'x') + "…\", \"c0\""), std::string::npos);
    EXPECT_NE(wide.err.find(" e mais 4991"), std::string::npos) << wide.err;
}

// Each kind of error once: the file or the row is refused with its line, and the list
// the home held stays as it was.
TEST_F(ReferenceCommandsTest, BadFilesAndRowsAreListedAndNothingIsWritten) {
    ASSERT_EQ(Import(std::string(kHeader) + "Arroz;50;g;;;;Cereais\n").status, 0);
    const std::string values = Values();
    const std::string tables = Tables();
    const std::string good = "Arroz;50;g;;;;Cereais\n";

    struct Case {
        const char* what;
        std::string csv;
        std::string message;  // one line of the error output
    };
    const std::vector<Case> cases = {
        {"empty file", "", "O arquivo está vazio: falta a linha de cabeçalho."},
        {"header alone", kHeader, "O arquivo não tem nenhum alimento."},
        {"required column missing", "alimento;valor de referência;tabela\nArroz;50;Cereais\n",
         "Linha 1: falta a coluna \"unidade\"."},
        {"two columns of one field", "alimento;unidade;valor;porção;tabela\nA;g;1;2;B\n",
         "Linha 1: as colunas \"valor\" e \"porção\" são do mesmo campo."},
        {"quote never closed", std::string(kHeader) + good + "\"Feijão;80;g;;;;Cereais\n",
         "Linha 3: aspas sem fechamento."},
        {"wrong number of cells", std::string(kHeader) + good + "Feijão;80;g\n",
         "Linha 3: a linha tem 3 campos, mas o cabeçalho tem 7."},
        {"food blank", std::string(kHeader) + good + "  ;80;g;;;;Cereais\n",
         "Linha 3: o alimento está em branco."},
        {"food too long",
         std::string(kHeader) + good + std::string(141, 'a') + ";80;g;;;;Cereais\n",
         "Linha 3: o alimento \"" + std::string(100, 'a') +
             "...\" tem 141 caracteres; o máximo é 140."},
        {"forbidden character in a name", std::string(kHeader) + good + "Feijão_preto;80;g;;;;C\n",
         "Linha 3: o alimento \"Feijão_preto\" tem o caracter (_), que não é permitido."},
        {"food repeated", std::string(kHeader) + good + "ARROZ;80;g;;;;Cereais\n",
         "Linha 3: o alimento \"ARROZ\" repete o da linha 2 (maiúsculas e minúsculas não "
         "distinguem nomes)."},
        {"value blank", std::string(kHeader) + good + "Feijão;;g;;;;Cereais\n",
         "Linha 3: o valor de referência está em branco."},
        {"unit neither g nor ml", std::string(kHeader) + good + "Feijão;80;kg;;;;Cereais\n",
         "Linha 3: a unidade \"kg\" não é g nem ml."},
        {"measure too wide",
         std::string(kHeader) + good + "Feijão;80;g;" + std::string(61, 'x') + ";;;Cereais\n",
         "Linha 3: a medida caseira \"" + std::string(61, 'x') +
             "\" tem 61 caracteres; o máximo é 60."},
        {"bar in a free text", std::string(kHeader) + good + "Feijão;80;g;;;1 | 2 conchas;C\n",
         "Linha 3: a apresentação no rótulo \"1 | 2 conchas\" tem o caracter (|), que não é "
         "permitido."},
        {"table blank", std::string(kHeader) + good + "Feijão;80;g;;;;\n",
         "Linha 3: a tabela está em branco."},
        {"character Windows-1252 has not",
         std::string(kHeader) + good + "Feijão;80;g;≈1 concha;;;C\n",
         "Linha 3: a medida caseira \"?1 concha\" tem caracteres que o programa não consegue "
         "gravar."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CliRun run = Import(c.csv);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.message + "\n"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(Values(), values);
        EXPECT_EQ(Tables(), tables);
    }
}

TEST_F(ReferenceCommandsTest, ForcarWritesTheValidRowsAndTellsTheOthers) {
    const std::string csv = std::string(kHeader) +
                            "Arroz;50;g;;;;Cereais\n"
                            "Feijão;80;kg;;;;Cereais\n"
                            "Leite;200;ml;;;;leites\n"
                            "Iogurte;100;g;;;;LEITES\n";
    CliRun run = Import(csv);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "Linha 3: a unidade \"kg\" não é g nem ml.\n"
              "velmaro-cli: 1 linha com erro; nada foi importado (--forcar importa só as linhas "
              "válidas).\n");
    EXPECT_EQ(Values(), "");

    run = Import(csv, true);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "Linha 3: a unidade \"kg\" não é g nem ml.\n");
    EXPECT_EQ(run.out,
              "3 alimentos importados em 2 tabelas de referência.\n"
              "1 linha com erro ficou de fora.\n");
    // Tables that differ only in case are one, spelt as first seen.
    EXPECT_EQ(Values(), Food("Arroz", "50", "g", "", "", "", "Cereais") +
                            Food("Iogurte", "100", "g", "", "", "", "leites") +
                            Food("Leite", "200", "ml", "", "", "", "leites"));
    EXPECT_EQ(Tables(), Pad("Cereais", 76) + "|\r\n" + Pad("leites", 76) + "|\r\n");

    // With no valid row there is nothing to write, even with --forcar.
    run = Import(std::string(kHeader) + "Feijão;80;kg;;;;Cereais\n", true);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Nenhuma linha do arquivo pôde ser importada."), std::string::npos);
    EXPECT_NE(Values(), "");
}

// The example delivered with the program, exported, imported again: the same bytes.
TEST_F(ReferenceCommandsTest, ExportIsImportedBackByteForByte) {
    const fs::path example = fs::path(std::getenv("VELMARO_SOURCE_DIR")) /
                             "data/exemplos/valores-referencia-exemplo.csv";
    CliRun run = Cli({"valores-referencia", "importar", example.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "5 alimentos importados em 3 tabelas de referência.\n");
    // A row whose texts need quoting, and one in another case of the same table.
    run = Import(ReadBytes(example) +
                 "Exemplo - bolo;60;g;\"fatia; \"\"média\"\"\";60 g;1 fatia;"
                 "EXEMPLO A - PÃES (VALORES INVENTADOS)\n");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string values = Values();
    const std::string tables = Tables();

    const fs::path exported = Scratch() / "lista.csv";
    run = Cli({"valores-referencia", "exportar", exported.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "6 alimentos exportados para \"" + exported.string() + "\".\n");
    const std::string csv = ReadBytes(exported);
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF" + Crlf(kHeader))) << csv;
    EXPECT_NE(csv.find("Exemplo - bolo;60;g;\"fatia; \"\"média\"\"\";60 g;1 fatia;Exemplo A - "
                       "pães (valores inventados)\r\n"),
              std::string::npos)
        << csv;

    fs::remove(DataFolder(Home()) / "ValRef.dad");
    fs::remove(DataFolder(Home()) / "TabValRef.dad");
    run = Cli({"valores-referencia", "importar", exported.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Values(), values);
    EXPECT_EQ(Tables(), tables);
    run = Cli({"valores-referencia", "exportar", "-"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, csv);
}

TEST_F(ReferenceCommandsTest, ListAndExportReadWithoutCreatingFiles) {
    CliRun run = Cli({"valores-referencia", "listar"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "A lista de valores de referência de \"" + Home().string() +
                           "\" está vazia. Para carregar uma: velmaro-cli valores-referencia "
                           "importar ARQUIVO.csv\n");
    run = Cli({"valores-referencia", "exportar", "-"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "\xEF\xBB\xBF" + Crlf(kHeader));
    EXPECT_FALSE(fs::exists(DataFolder(Home()) / "ValRef.dad"));
    EXPECT_FALSE(fs::exists(DataFolder(Home()) / "TabValRef.dad"));

    ASSERT_EQ(Import(std::string(kHeader) + "Pão de forma;50;g;fatia;25 g;2 fatias;Pães\n"
                                            "Bebida láctea;200;ml;;;1 copo;Leites\n"
                                            "Biscoito;30;g;unidade;;6 unidades;Pães\n")
                  .status,
              0);
    // A table no food names, and a line that is not a record.
    test::WriteBytes(DataFolder(Home()) / "TabValRef.dad", Tables() + Pad("Vazia", 76) + "|\r\n");
    test::WriteBytes(DataFolder(Home()) / "ValRef.dad", Values() + "linha solta\r\n");
    run = Cli({"valores-referencia", "listar"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "Leites\n"
              "  Bebida láctea: 200 ml; no rótulo: 1 copo\n"
              "Pães\n"
              "  Biscoito: 30 g; no rótulo: 6 unidades (medida caseira: unidade)\n"
              "  Pão de forma: 50 g; no rótulo: 2 fatias (medida caseira: fatia, 25 g)\n"
              "3 alimentos em 2 tabelas de referência.\n");
    EXPECT_EQ(run.err,
              "A linha 4 do arquivo de valores de referência não tem os 7 campos de um "
              "alimento.\n");
    run = Cli({"valores-referencia", "exportar", "-"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "A tabela de referência \"Vazia\" não tem alimentos e não aparece no arquivo.\n"
              "A linha 4 do arquivo de valores de referência não tem os 7 campos de um alimento "
              "e não foi exportada.\n"
              "velmaro-cli: 1 linha ilegível ficou de fora da exportação.\n");

    // A NUL byte hides none of the lines after it: its line is named, the rest exported.
    const std::vector<std::string> lines = SplitLines(Values());
    ASSERT_GE(lines.size(), 3u);
    test::WriteBytes(DataFolder(Home()) / "ValRef.dad", lines[0] + "\r\n" + std::string(1, '\0') +
                                                            lines[1] + "\r\n" + lines[2] + "\r\n");
    run = Cli({"valores-referencia", "exportar", "-"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("A linha 2 do arquivo de valores de referência"), std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find(Cp1252ToUtf8(RecordKey(lines[2]).substr(0, 8))), std::string::npos)
        << run.out;

    // A name twice: the repeat is left out (the import takes a name once) and named.
    test::WriteBytes(DataFolder(Home()) / "ValRef.dad",
                     lines[0] + "\r\n" + lines[1] + "\r\n" + lines[0] + "\r\n");
    const std::string values = Values();
    const fs::path csv = Scratch() / "valores.csv";
    run = Cli({"valores-referencia", "exportar", csv.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("A linha 3 do arquivo de valores de referência repete o nome do "
                           "alimento da linha 1 e não foi exportada."),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("1 linha repetida ficou de fora da exportação."), std::string::npos);
    EXPECT_EQ(Values(), values);
    fs::remove(DataFolder(Home()) / "ValRef.dad");
    fs::remove(DataFolder(Home()) / "TabValRef.dad");
    EXPECT_EQ(Cli({"valores-referencia", "importar", csv.string()}).status, 0);
}

// A fresh home gets the list of IN 75 delivered with the program on the first listing; the
// list the user imported afterwards is never replaced by it.
TEST_F(ReferenceCommandsTest, AFreshHomeListsTheDeliveredAnnexAndKeepsTheUsersListAfterwards) {
    const char* src = std::getenv("VELMARO_SOURCE_DIR");
    delivered = std::filesystem::path(src != nullptr ? src : ".") / "data";
    CliRun run = Cli({"valores-referencia", "listar"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("  Bolos, todos os tipos sem recheio: 60 g (medida caseira: Fatia ou "
                           "fração)\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\nVIII – Molhos, temperos, caldos, sopas, pratos prontos e bebidas "
                           "alcoólicas\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("138 alimentos em 8 tabelas de referência."), std::string::npos);

    ASSERT_EQ(Import(std::string(kHeader) + "Bolo da casa;70;g;;;1 fatia;Minha\n").status, 0);
    const std::string own = Values();
    run = Cli({"valores-referencia", "listar"});
    EXPECT_NE(run.out.find("1 alimento em 1 tabela de referência."), std::string::npos) << run.out;
    EXPECT_EQ(Values(), own);
}

}  // namespace
}  // namespace velmaro

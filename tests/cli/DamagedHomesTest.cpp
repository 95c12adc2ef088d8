// Every command on data homes damaged by hand (tests/data/damaged-homes, one folder per
// fault): what reads a damaged file never writes it, a command that needs it stops with a
// message naming the file and the line, and verificar finds and repairs what is safe.

#include <sys/stat.h>

#include <map>

#include "CliFixtures.h"
#include "storage/FileIo.h"
#include "support/FailingDisk.h"

namespace velmaro::test {
namespace {

using Snapshot = std::map<std::string, std::string>;

class DamagedHomesTest : public CliTest {
  protected:
    void UseHome(const std::string& name) {
        fs::remove_all(Home());
        fs::copy(FixturePath("damaged-homes/" + name), Home(),
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }

    Snapshot Files() const {
        Snapshot files;
        for (const auto& entry : fs::recursive_directory_iterator(Home())) {
            // The lock a writing command takes is no data.
            if (entry.is_regular_file() && entry.path().filename() != ".velmaro.lock") {
                files[fs::relative(entry.path(), Home()).string()] = ReadBytes(entry.path());
            }
        }
        return files;
    }

    std::vector<std::string> Command(const std::string& name) {
        const std::string csv = Csv("novo.csv", "nome;energia (kcal)\nNovo;10\n").string();
        const std::map<std::string, std::vector<std::string>> commands = {
            {"listar", {"tabela", "listar"}},
            {"exportar", {"tabela", "exportar", "Minha", (Scratch() / "out.csv").string()}},
            {"relatorio",
             {"relatorio", "Minha", "Salada", "--tipo", "1", "--saida",
              (Scratch() / "r.pdf").string()}},
            {"simular", {"recalcular", "Minha", "--simular"}},
            {"importar", {"tabela", "importar", "Minha", csv}},
            {"rotulo", {"rotulo", "Minha", "Salada", "--dados"}},
            {"recalcular", {"recalcular", "Minha"}},
            {"lote", {"lote", "Minha", "--saida", (Scratch() / "lote").string(), "--modelo", "1"}},
        };
        return commands.at(name);
    }
};

struct Refusal {
    const char* command;
    const char* message;  // in the error or the output
};

struct DamagedHome {
    const char* name;
    std::vector<Refusal> refused;  // exit 1, nothing changed; every other command exits 0
    const char* finding;           // a line verificar prints
    const char* repair;            // what verificar --reparar says it did; null: nothing
    const char* repairedFile;      // the file it copied first (relative to the home)
};

const std::vector<DamagedHome>& Homes() {
    static const char* kNulTableList = "ArqTab.dad está danificado (linha 2): contém um byte nulo.";
    static const char* kNulList = "ArqFicTec.dad está danificado (linha 2): contém um byte nulo.";
    static const char* kNulIngredients =
        "ArqIng.dad está danificado (linha 2): contém um byte nulo.";
    static const char* kTwiceList =
        "ArqFicTec.dad está danificado (linha 2): o código \"Arroz com feijão\" repete o da "
        "linha 1.";
    static const char* kTwiceIngredient =
        "ArqIng.dad está danificado (linha 2): o código \"Alface, crespa, crua\" repete o da "
        "linha 1.";
    static const char* kShort =
        "ArqIng.dad está danificado (linha 2): tem 2 campos; deveria ter 30.";
    static const char* kNulListFirst =
        "ArqFicTec.dad está danificado (linha 1): contém um byte nulo.";
    static const char* kSwapped =
        "ArqIng.dad está danificado (linha 1): não se decifra na sua posição";
    static const std::vector<DamagedHome> homes = {
        {"nul-in-table-list",
         {{"listar", kNulTableList},
          {"exportar", kNulTableList},
          {"relatorio", kNulTableList},
          {"simular", kNulTableList},
          {"importar", kNulTableList},
          {"rotulo", kNulTableList},
          {"recalcular", kNulTableList},
          {"lote", kNulTableList}},
         "lista de tabelas, linha 2: contém um byte nulo.",
         "1 byte nulo removido",
         "Dados/ArqTab.dad"},
        {"nul-in-preparation-list",
         {{"relatorio", kNulList},
          {"simular", kNulList},
          {"rotulo", kNulList},
          {"recalcular", kNulList},
          {"lote", kNulList}},
         "Minha: lista de preparações, linha 2: contém um byte nulo.",
         "1 byte nulo removido",
         "Dados/Minha/Ficha Tecnica/ArqFicTec.dad"},
        {"nul-in-ingredient-file",
         {{"exportar", kNulIngredients},
          {"simular", kNulIngredients},
          {"importar", kNulIngredients},
          {"recalcular", kNulIngredients}},
         "Minha: ingredientes, linha 2: contém um byte nulo.",
         "1 byte nulo removido",
         "Dados/Minha/Ingrediente/ArqIng.dad"},
        {"nul-in-label-file",
         {{"rotulo", "Salada.rot está danificado (linha"}, {"lote", "Salada.rot está danificado"}},
         "Minha: rótulo \"Salada.rot\", linha",
         "1 byte nulo removido",
         "Dados/Minha/Rotulo/Salada.rot"},
        {"duplicate-preparation-line",
         {{"relatorio", kTwiceList},
          {"simular", kTwiceList},
          {"rotulo", kTwiceList},
          {"recalcular", kTwiceList},
          {"lote", kTwiceList}},
         "Minha: lista de preparações, linha 2: o código \"Arroz com feijão\" repete o da "
         "linha 1.",
         "1 linha repetida removida",
         "Dados/Minha/Ficha Tecnica/ArqFicTec.dad"},
        {"duplicate-ingredient-record",
         {{"exportar", kTwiceIngredient},
          {"simular", kTwiceIngredient},
          {"importar", kTwiceIngredient},
          {"recalcular", kTwiceIngredient}},
         "Minha: ingredientes, linha 2: o código \"Alface, crespa, crua\" repete o da linha 1.",
         "1 linha repetida removida",
         "Dados/Minha/Ingrediente/ArqIng.dad"},
        {"short-ingredient-record",
         {{"exportar", "A linha 2 do arquivo de ingredientes não tem os 30 campos"},
          {"simular", kShort},
          {"importar", kShort},
          {"recalcular", kShort}},
         "Minha: ingredientes, linha 2: não se decifra nos 30 campos de um ingrediente (tem 2 "
         "campos).",
         nullptr,
         nullptr},
        {"swapped-ingredient-lines",
         {{"exportar", "linhas ilegíveis ficaram de fora"},
          {"simular", kSwapped},
          {"importar", kSwapped},
          {"recalcular", kSwapped}},
         "Minha: ingredientes, linha 1: não se decifra na sua posição (foi trocada de lugar).",
         "2 linhas cifradas de novo nas suas posições",
         "Dados/Minha/Ingrediente/ArqIng.dad"},
        {"missing-preparation-file",
         {{"simular", "Salada.dad não existe; a preparação não foi recalculada."},
          {"recalcular", "Salada.dad não existe; a preparação não foi recalculada."}},
         "Minha: preparação \"Salada\": o arquivo de ingredientes \"Salada.dad\" não existe, mas "
         "o registro tem totais.",
         nullptr,
         nullptr},
        {"preparation-named-dotdot",
         {{"simular", "Preparação \"..\":\n  erro:"},
          {"recalcular", "Preparação \"..\":\n  erro:"},
          {"lote", "..: "}},
         "Minha: preparação \"..\": o nome não serve como nome de arquivo.",
         nullptr,
         nullptr},
        {"nul-in-extra-values-file",
         {{"exportar",
           "A linha 2 do arquivo de açúcares e gordura trans (ArqIngCpl.dad) não "
           "pôde ser lida"},
          {"importar", "ArqIngCpl.dad está danificado (linha 2): caractere nulo"}},
         "Minha: açúcares e gordura trans, linha 2: caractere nulo (o resto do arquivo não foi "
         "lido).",
         "1 byte nulo removido",
         "Dados/Minha/Ingrediente/ArqIngCpl.dad"},
        // NUL bytes the repair must not guess at: one over a character of a name or a
        // number is left, with its line named; one over a padding blank or a line end is
        // taken out.
        {"nul-over-table-name",
         {{"listar", kNulTableList},
          {"exportar", kNulTableList},
          {"relatorio", kNulTableList},
          {"simular", kNulTableList},
          {"importar", kNulTableList},
          {"rotulo", kNulTableList},
          {"recalcular", kNulTableList},
          {"lote", kNulTableList}},
         "lista de tabelas, linha 2: contém um byte nulo.",
         "Não reparado: \"Dados/ArqTab.dad\", linha 2: o byte nulo pode ter tomado o lugar de "
         "um caractere",
         nullptr},
        {"nul-over-yield-digit",
         {{"relatorio", kNulListFirst},
          {"simular", kNulListFirst},
          {"rotulo", kNulListFirst},
          {"recalcular", kNulListFirst},
          {"lote", kNulListFirst}},
         "Minha: lista de preparações, linha 1: contém um byte nulo.",
         "Não reparado: \"Dados/Minha/Ficha Tecnica/ArqFicTec.dad\", linha 1:",
         nullptr},
        {"nul-over-sugar-digit",
         {{"exportar",
           "A linha 1 do arquivo de açúcares e gordura trans (ArqIngCpl.dad) não "
           "pôde ser lida"},
          {"importar", "ArqIngCpl.dad está danificado (linha 1): registro incompleto"}},
         "Minha: açúcares e gordura trans, linha 1: registro incompleto.",
         "Não reparado: \"Dados/Minha/Ingrediente/ArqIngCpl.dad\", linha 1:",
         nullptr},
        {"nul-in-name-padding",
         {{"listar", kNulTableList},
          {"exportar", kNulTableList},
          {"relatorio", kNulTableList},
          {"simular", kNulTableList},
          {"importar", kNulTableList},
          {"rotulo", kNulTableList},
          {"recalcular", kNulTableList},
          {"lote", kNulTableList}},
         "lista de tabelas, linha 2: contém um byte nulo.",
         "1 byte nulo removido",
         "Dados/ArqTab.dad"},
        {"nul-between-line-ends",
         {{"listar", kNulTableList},
          {"exportar", kNulTableList},
          {"relatorio", kNulTableList},
          {"simular", kNulTableList},
          {"importar", kNulTableList},
          {"rotulo", kNulTableList},
          {"recalcular", kNulTableList},
          {"lote", kNulTableList}},
         "lista de tabelas, linha 2: contém um byte nulo.",
         "1 byte nulo removido, 1 linha só de bytes nulos removida",
         "Dados/ArqTab.dad"},
        // The method text: no report of part of it; verificar names the line and leaves
        // the text, in which no byte can be told from a letter, to the user.
        {"nul-in-method-text",
         {{"relatorio", "Salada.rec está danificado (linha 2): contém um byte nulo."}},
         "Minha: modo de preparo \"Salada.rec\", linha 2: contém um byte nulo.",
         "Não reparado: \"Dados/Minha/Receita/Salada.rec\", linha 2:",
         nullptr},
        {"stray-temporary-files",
         {},
         "arquivo temporário de uma gravação interrompida: "
         "\"Dados/Minha/Ficha Tecnica/.ArqFicTec.dad.Ab12Cd\".",
         "removido o arquivo temporário \"Dados/Minha/Ficha Tecnica/.ArqFicTec.dad.Ab12Cd\".",
         nullptr},
    };
    return homes;
}

TEST_F(DamagedHomesTest, CommandsNeverWriteWhatDidNotReadWhole) {
    const std::vector<std::string> names = {"listar",   "exportar", "relatorio",  "simular",
                                            "importar", "rotulo",   "recalcular", "lote"};
    for (const DamagedHome& home : Homes()) {
        for (const std::string& name : names) {
            SCOPED_TRACE(std::string(home.name) + ": " + name);
            UseHome(home.name);
            const Snapshot before = Files();
            const CliRun run = Cli(Command(name));
            const auto refusal = std::find_if(home.refused.begin(), home.refused.end(),
                                              [&](const Refusal& r) { return r.command == name; });
            if (refusal == home.refused.end()) {
                EXPECT_EQ(run.status, 0) << run.err;
                continue;
            }
            EXPECT_EQ(run.status, 1);
            EXPECT_NE((run.err + run.out).find(refusal->message), std::string::npos)
                << run.err << run.out;
            // Every file as it was (a command may add files of preparations it could do).
            const Snapshot after = Files();
            for (const auto& [path, bytes] : before) {
                EXPECT_TRUE(after.contains(path) && after.at(path) == bytes) << path;
            }
        }
    }
}

TEST_F(DamagedHomesTest, VerificarFindsEveryDamageAndRepairsWhatIsSafe) {
    for (const DamagedHome& home : Homes()) {
        SCOPED_TRACE(home.name);
        UseHome(home.name);
        const Snapshot original = Files();
        CliRun run = Cli({"verificar"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find(home.finding), std::string::npos) << run.out;
        EXPECT_EQ(Files(), original);

        run = Cli({"verificar", "--reparar"});
        // Left as it was (with the line named when the repair says why).
        if (home.repair == nullptr || std::string_view(home.repair).starts_with("Não reparado")) {
            EXPECT_EQ(run.status, 1);
            EXPECT_NE(run.out.find(home.finding), std::string::npos) << run.out;
            EXPECT_NE(run.out.find(home.repair != nullptr ? home.repair : ""), std::string::npos)
                << run.out;
            EXPECT_EQ(run.out.find("Nenhum problema encontrado"), std::string::npos) << run.out;
            EXPECT_EQ(Files(), original);
            continue;
        }
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find(home.repair), std::string::npos) << run.out;
        EXPECT_EQ(Cli({"verificar"}).status, 0);
        if (home.repairedFile != nullptr) {
            // The original, byte for byte, beside the repaired file.
            const fs::path file = Home() / home.repairedFile;
            bool backedUp = false;
            for (const auto& entry : fs::directory_iterator(file.parent_path())) {
                const std::string fileName = entry.path().filename().string();
                if (fileName.rfind(file.filename().string() + ".bak-", 0) == 0) {
                    backedUp = ReadBytes(entry.path()) == original.at(home.repairedFile);
                }
            }
            EXPECT_TRUE(backedUp);
        }
    }
}

// A FIFO in place of a preparation file: the label is refused, with the file named, and
// nothing waits on the FIFO for good.
TEST_F(DamagedHomesTest, AFifoInPlaceOfAPreparationFileIsRefusedNotOpened) {
    UseHome("missing-preparation-file");
    const fs::path file = Home() / "Dados/Minha/Ficha Tecnica/Salada.dad";
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    const CliRun run = Cli(
        {"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", (Scratch() / "r.png").string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Salada.dad: não é um arquivo comum"), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_fifo(file));
}

// The repair on a disk that fills up at the copy of its second file: the first repair was
// told as it was done, the disk is said to be full, no half copy or temporary file is
// left, and the second file is as it was.
TEST_F(DamagedHomesTest, RepairOnAFullDiskTellsWhatItDidAndLeavesNoHalfCopy) {
    UseHome("nul-in-table-list");
    const std::string list = "Dados/Minha/Ficha Tecnica/ArqFicTec.dad";
    fs::copy_file(FixturePath("damaged-homes/nul-in-preparation-list/" + list), Home() / list,
                  fs::copy_options::overwrite_existing);
    const Snapshot before = Files();
    CliRun run;
    {
        test::FailingDisk disk(3, ENOSPC);  // the copy of the table list, the list, then this
        run = Cli({"verificar", "--reparar"});
    }
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Reparo: reparado \"Dados/ArqTab.dad\""), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("disco cheio"), std::string::npos) << run.err;
    const Snapshot after = Files();
    EXPECT_EQ(after.at(list), before.at(list));
    for (const auto& [path, bytes] : after) {
        EXPECT_EQ(path.find("ArqFicTec.dad.bak"), std::string::npos) << path;
        EXPECT_FALSE(IsTemporaryName(fs::path(path).filename().string())) << path;
    }
    // The rest is repaired once the disk has room.
    run = Cli({"verificar", "--reparar"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Reparo: reparado \"" + list + "\""), std::string::npos) << run.out;
}

// The nutrition table's sources, the values beside the ingredients and the mark's file:
// a command that could not read what it needs, or would write over a file of the program,
// stops naming it, with every file of the home as it was.
TEST_F(DamagedHomesTest, NutritionTableSourcesAndMarkFile) {
    const std::string out = (Scratch() / "r.png").string();
    const std::string batch = (Scratch() / "lote").string();
    const std::string missing =
        "Salada.dad da preparação não existe, mas o registro tem totais; a tabela nutricional "
        "não foi composta.";
    const std::string repeated = "ArqIngCpl.dad está danificado (linha 2): ingrediente repetido.";
    const std::string nul = "ArqIngCpl.dad está danificado (linha 2): caractere nulo";
    const std::string impossible =
        "açúcares e gordura trans, ingrediente \"Alface, crespa, crua\": o valor de açúcares "
        "totais (\"-5,00\") é negativo.";
    struct Case {
        const char* home;
        std::vector<std::string> args;
        int status;
        std::string message;            // in the error or the output
        const char* written = nullptr;  // the one file a refusal adds (a batch's other label)
    };
    const std::vector<Case> cases = {
        // A missing preparation file (or a link to nothing) is no recipe of zero sugars.
        {"missing-preparation-file",
         {"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", out},
         1,
         missing},
        {"dangling-preparation-link",
         {"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", out},
         1,
         missing},
        {"dangling-preparation-link",
         {"lote", "Minha", "--saida", batch, "--modelo", "5"},
         1,
         "Salada: o arquivo de ingredientes",
         "Dados/Minha/Rotulo/Arroz com feijão.rot"},
        {"dangling-preparation-link",
         {"verificar"},
         1,
         "o arquivo de ingredientes \"Salada.dad\" não existe, mas o registro tem totais."},
        // A damaged sugars and trans fat file is no table of unknown values.
        {"nul-in-extra-values-file",
         {"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", out},
         1,
         nul},
        {"repeated-extra-values-name",
         {"rotulo", "Minha", "Salada", "--modelo", "5", "--dados"},
         1,
         repeated},
        {"repeated-extra-values-name",
         {"lote", "Minha", "--saida", batch, "--modelo", "5"},
         1,
         "Arroz com feijão: O arquivo"},
        {"repeated-extra-values-name", {"verificar"}, 1, "linha 3: registro incompleto."},
        // Values that cannot be right: verificar names them; the table leaves them out.
        {"impossible-extra-values", {"verificar"}, 1, impossible},
        {"impossible-extra-values",
         {"verificar"},
         1,
         "ingrediente \"Arroz, tipo 1, cozido\": o valor de açúcares adicionados (\"9999,99\") "
         "passa de 100 g por 100 g."},
        {"impossible-extra-values",
         {"verificar"},
         1,
         "ingrediente \"Feijão, carioca, cozido\": o valor de gorduras trans (\"1e5\") passa de "
         "100 g por 100 g."},
        {"impossible-extra-values",
         {"rotulo", "Minha", "Salada", "--modelo", "5", "--dados"},
         0,
         "Açúcares totais"},
        // A label portion whose row was never computed for its weight is not printed.
        {"stale-label-portion",
         {"rotulo", "Minha", "Arroz com feijão", "--dados"},
         1,
         "os valores da porção do rótulo de \"Arroz com feijão\" (999999 g) não foram "
         "calculados para esse peso"},
        {"stale-label-portion",
         {"lote", "Minha", "--saida", batch, "--modelo", "1"},
         1,
         "Arroz com feijão: os valores da porção do rótulo"},
        {"stale-label-portion",
         {"recalcular", "Minha"},
         1,
         "a porção do rótulo teria valores maiores que 999999,99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.home) + ": " + c.args[0]);
        UseHome(c.home);
        fs::remove_all(batch);
        const Snapshot before = Files();
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.status, c.status) << run.err << run.out;
        EXPECT_NE((run.err + run.out).find(c.message), std::string::npos) << run.err << run.out;
        if (c.status != 0) {
            // No label written from what could not be read, none rewritten (a batch writes
            // the label of a preparation it could do).
            Snapshot after = Files();
            if (c.written != nullptr) {
                EXPECT_EQ(after.erase(c.written), 1U) << c.written;
            }
            EXPECT_EQ(after, before);
        }
    }
    // The impossible sugars of the lettuce are not on its label: the row is incomplete.
    UseHome("impossible-extra-values");
    const CliRun label = Cli({"rotulo", "Minha", "Salada", "--modelo", "5", "--saida", out});
    EXPECT_EQ(label.status, 1) << label.err;  // written, and incomplete
    EXPECT_NE(label.err.find("valores ausentes"), std::string::npos) << label.err;
    EXPECT_NE(label.err.find("Alface, crespa, crua"), std::string::npos) << label.err;

    // The mark beside --saida goes through the rules of every output file: never over the
    // configuration (a link to it), never over a folder.
    UseHome("missing-preparation-file");
    WriteBytes(Config(), "[Impressora]\r\nResolucao=300\r\n");
    fs::create_symlink(Config(), Scratch() / "marca-alto-em.png");
    fs::create_directories(Scratch() / "pasta-alto-em.pdf");
    const Snapshot before = Files();
    for (const auto& [target, message] : std::vector<std::pair<std::string, std::string>>{
             {"marca.png", "é um arquivo do programa"}, {"pasta.pdf", "não é um arquivo comum"}}) {
        const CliRun run = Cli({"rotulo", "Minha", "Arroz com feijão", "--modelo", "5", "--saida",
                                (Scratch() / target).string()});
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(ReadBytes(Config()), "[Impressora]\r\nResolucao=300\r\n");
    EXPECT_TRUE(fs::is_directory(Scratch() / "pasta-alto-em.pdf"));
    EXPECT_FALSE(fs::exists(Scratch() / "marca.png"));
    EXPECT_EQ(Files(), before);
}

}  // namespace
}  // namespace velmaro::test

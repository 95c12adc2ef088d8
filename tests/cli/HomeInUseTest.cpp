// The commands beside a running desktop program: those that write wait their turn, those
// that only read run.

#include <gtest/gtest.h>

#include "cli/CliFixtures.h"
#include "storage/DataHomeLock.h"

namespace velmaro {
namespace {

using test::CliRun;

class HomeInUseTest : public test::CliTest {
  protected:
    void SetUp() override { MakeKitchen(); }
};

TEST_F(HomeInUseTest, WritingCommandsAreRefusedWhileTheProgramHoldsTheHome) {
    const fs::path out = Scratch() / "saida";
    const fs::path csv = Csv("nova.csv", "nome;energia (kcal)\nSal;0\n");
    const fs::path valref = Csv("valref.csv", "alimento;valor;unidade;tabela\nPão;50;g;Pães\n");
    DataHomeLock program;  // the desktop program, open on this home
    ASSERT_EQ(program.Acquire(Home()), DataHomeLock::State::Held);
    const std::string list = test::ReadBytes(PreparationListPath(Home(), Key("Minha", 20)));
    const std::string label = (out / "r.bmp").string();

    const std::vector<std::vector<std::string>> writing = {
        {"tabela", "importar", "Nova", csv.string()},
        {"rotulo", "Minha", "Salada", "--modelo", "1", "--saida", label},
        {"rotulo", "Minha", "Salada", "--dados"},
        {"lote", "Minha", "--saida", out.string(), "--modelo", "2"},
        {"recalcular", "Minha"},
        {"valores-referencia", "importar", valref.string()},
    };
    for (const auto& args : writing) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("está em uso pelo programa Velmaro Nutricional"), std::string::npos)
            << run.err;
        EXPECT_EQ(run.out, "") << args[0];
    }
    EXPECT_FALSE(fs::exists(TableFolder(Home(), Key("Nova", 20))));
    EXPECT_FALSE(fs::exists(LabelFolder(Home(), Key("Minha", 20)) / "Salada.rot"));
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(DataFolder(Home()) / "ValRef.dad"));

    const std::vector<std::vector<std::string>> reading = {
        {"verificar"},
        {"tabela", "listar"},
        {"tabela", "exportar", "Minha", (Scratch() / "minha.csv").string()},
        {"relatorio", "Minha", "Salada", "--tipo", "2", "--saida", (Scratch() / "r.png").string()},
        {"lote", "Minha", "--saida", out.string(), "--tipo", "1"},
        {"recalcular", "Minha", "--simular"},
        {"valores-referencia", "listar"},
        {"valores-referencia", "exportar", (Scratch() / "valref-saida.csv").string()},
    };
    for (const auto& args : reading) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 0) << args[0] << ": " << run.err;
    }
    EXPECT_EQ(test::ReadBytes(PreparationListPath(Home(), Key("Minha", 20))), list);

    program.Release();  // the program ended
    const CliRun run = Cli({"tabela", "importar", "Nova", csv.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    DataHomeLock again;
    EXPECT_TRUE(again.Acquire(Home()) == DataHomeLock::State::Held)
        << "a command lets go of the home when it ends";
}

TEST_F(HomeInUseTest, ALockThatCannotBeTakenStopsTheWritersAndSaysWhy) {
    // A folder in the lock file's place: whether the program is open cannot be told.
    fs::remove(Home() / DataHomeLock::kFileName);
    fs::create_directories(Home() / DataHomeLock::kFileName);
    const fs::path csv = Csv("nova.csv", "nome;energia (kcal)\nSal;0\n");
    const std::string list = test::ReadBytes(TableListPath(Home()));
    for (const auto& args :
         std::vector<std::vector<std::string>>{{"tabela", "importar", "Nova", csv.string()},
                                               {"rotulo", "Minha", "Salada", "--dados"},
                                               {"recalcular", "Minha"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_NE(run.err.find("não foi possível reservar a pasta de dados"), std::string::npos)
            << run.err;
        EXPECT_NE(run.err.find("há uma pasta no lugar do arquivo de trava"), std::string::npos)
            << run.err;
    }
    EXPECT_EQ(test::ReadBytes(TableListPath(Home())), list);
    EXPECT_FALSE(fs::exists(LabelFolder(Home(), Key("Minha", 20)) / "Salada.rot"));
    EXPECT_EQ(Cli({"tabela", "listar"}).status, 0) << "a command that only reads still runs";
}

}  // namespace
}  // namespace velmaro

#include <gtest/gtest.h>

#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

class Paths : public test::DataHomeTest {};

TEST_F(Paths, NamesBecomeFolderAndFileNames) {
    EXPECT_EQ(TableFolderName("A/B   "), "A_B");
    EXPECT_EQ(SafeFileName("  Bolo de milho/fub\xE1  "), "  Bolo de milho_fub\xE1");
    const auto ing = IngredientFilePath(Home(), "Minha Tabela        ");
    EXPECT_EQ(ing, Home() / "Dados" / "Minha Tabela" / "Ingrediente" / "ArqIng.dad");
    EXPECT_TRUE(fs::exists(ing));
    EXPECT_EQ(fs::file_size(ing), 0u);
    // Two spellings that share one folder.
    EXPECT_EQ(PreparationListPath(Home(), "A/B"), PreparationListPath(Home(), "A_B   "));
    // Accented names are UTF-8 on disk.
    const auto prep = PreparationFilePath(Home(), "T", W("Feijão   "));
    EXPECT_EQ(prep.filename().string(), "Feijão.dad");
    EXPECT_EQ(LabelImagePath(Home(), "T", "P").parent_path(),
              Home() / "Dados" / "T" / "Rotulo" / "Imagens");
}

TEST_F(Paths, NamesThatWouldLeaveTheirFolderAreRefused) {
    for (const char* bad : {"..", ".", "..   ", "", "    "}) {
        EXPECT_THROW(TableFolderName(bad), StorageError) << '"' << bad << '"';
        EXPECT_THROW(IngredientFilePath(Home(), bad), StorageError) << '"' << bad << '"';
        EXPECT_THROW(PreparationFilePath(Home(), "T", bad), StorageError) << '"' << bad << '"';
    }
    EXPECT_FALSE(fs::exists(Home() / "Ingrediente"));
    EXPECT_EQ(TableFolderName("../x"), ".._x");
    EXPECT_EQ(TableFolderName(" .."), " ..");
}

TEST_F(Paths, MeasureFileOnlyWhenAsked) {
    const auto path = MeasureFilePath(Home(), "T", "Arroz     ", false);
    EXPECT_TRUE(fs::is_directory(path.parent_path()));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(MeasureFilePath(Home(), "T", "Arroz", true), path);
    EXPECT_TRUE(fs::exists(path));
}

TEST_F(Paths, EnsureFileLeavesExistingContent) {
    const auto path = Home() / "Dados" / "ArqTab.dad";
    test::WriteBytes(path, "X|y|1|\r\n");
    EXPECT_EQ(TableListPath(Home()), path);
    EXPECT_EQ(test::ReadBytes(path), "X|y|1|\r\n");
}

TEST_F(Paths, LocationsFromArgumentsAndEnvironment) {
    const char* args[] = {"velmaro", "--home", "/d/h", "-x", "--config=/c/f.ini", nullptr};
    char* argv[6];
    for (int i = 0; i < 6; ++i) {
        argv[i] = const_cast<char*>(args[i]);
    }
    int argc = 5;
    const Locations loc = ResolveLocations(argc, argv);
    EXPECT_EQ(loc.home, "/d/h");
    EXPECT_EQ(loc.config, "/c/f.ini");
    EXPECT_EQ(argc, 2);
    EXPECT_STREQ(argv[1], "-x");
    EXPECT_TRUE(fs::exists(ConfigFilePath()));
    EXPECT_EQ(ConfigFilePath(), Config());
}

// An installed program finds share/velmaro beside its bin/ folder; one run from the build
// folder finds the data/ folder of the source tree.
TEST_F(Paths, DeliveredFilesBesideTheInstalledProgramElseInTheSourceTree) {
    const fs::path prefix = Scratch() / "usr";
    fs::create_directories(prefix / "bin");
    fs::create_directories(prefix / "share" / "velmaro");
    EXPECT_EQ(DeliveredDataFolderFor(prefix / "bin" / "velmaro"), prefix / "share" / "velmaro");

    const fs::path source = fs::path(std::getenv("VELMARO_SOURCE_DIR")) / "data";
    EXPECT_EQ(DeliveredDataFolderFor(Scratch() / "build" / "src" / "app" / "velmaro"), source);
    EXPECT_EQ(DeliveredDataFolder(), source);  // this test program, in the build folder
    EXPECT_TRUE(fs::exists(DeliveredDataFolder() / "Ajuda.hlp"));
}

}  // namespace
}  // namespace velmaro

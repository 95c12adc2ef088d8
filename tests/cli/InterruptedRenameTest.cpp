// Renames that move or rewrite several files, killed at random moments: no file is lost
// (a new file is written before the old one goes), and `velmaro-cli verificar` finds
// something exactly when the data folder is left between the old and the new state.

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <optional>
#include <random>
#include <set>

#include "cli/CliFixtures.h"
#include "cli/DataCheck.h"
#include "ingredients/CadIngForm.h"
#include "platform/Interaction.h"
#include "preparations/CadFicTecRotForm.h"
#include "preparations/IngredientPropagation.h"
#include "shell/ActiveTable.h"
#include "storage/FileIo.h"
#include "support/ChildProcess.h"
#include "support/FailingDisk.h"
#include "support/ScriptedUi.h"

namespace velmaro {
namespace {

using test::Pad;
using test::ReadBytes;
using test::WriteBytes;
using Files = std::map<fs::path, std::string>;

const std::string kTable = Pad("Minha", 20);

// The files of a folder that hold something, by their paths inside it. Hidden files (the
// temporary file of a save cut short, a file set aside during a rename, the lock) and
// empty files (which the path builders make) hold nothing of the user's.
Files Contents(const fs::path& folder) {
    Files files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().filename().string().front() != '.' &&
            entry.file_size() > 0) {
            files[fs::relative(entry.path(), folder)] = ReadBytes(entry.path());
        }
    }
    return files;
}

std::optional<std::string> At(const Files& files, const fs::path& path) {
    const auto it = files.find(path);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
}

// The real carrying of ingredient changes, telling the test when a rename starts.
class SignallingPropagation final : public IngredientChangeHandler {
  public:
    explicit SignallingPropagation(std::function<void()> renameStarts)
        : m_renameStarts(std::move(renameStarts)) {}
    bool CheckIngredientInUse(Ui& ui, const fs::path& home, std::string_view table,
                              std::string_view name, IngredientUse purpose) override {
        return m_real.CheckIngredientInUse(ui, home, table, name, purpose);
    }
    void CarryIngredientChange(Ui& ui, const fs::path& home, std::string_view table,
                               const IngredientEdit& edit,
                               const std::vector<FileContent>& withFiles) override {
        m_real.CarryIngredientChange(ui, home, table, edit, withFiles);
    }
    void RemoveIngredientFromPreparations(Ui& ui, const fs::path& home, std::string_view table,
                                          std::string_view name,
                                          const std::vector<FileContent>& withFiles) override {
        m_real.RemoveIngredientFromPreparations(ui, home, table, name, withFiles);
    }
    void RenameIngredient(Ui& ui, const fs::path& home, std::string_view table,
                          std::string_view oldName, std::string_view newName,
                          const std::vector<FileContent>& withFiles) override {
        m_renameStarts();
        m_real.RenameIngredient(ui, home, table, oldName, newName, withFiles);
    }

  private:
    IngredientPropagation m_real;
    std::function<void()> m_renameStarts;
};

class InterruptedRenameTest : public test::CliTest {
  protected:
    void SetUp() override {
        MakeKitchen();
        AddPreparation("Minha", "Arroz com alface",
                       {{"Arroz, tipo 1, cozido", "300", ""}, {"Alface, crespa, crua", "100", ""}});
        // Salada's other files, and the household measures of the lettuce.
        const std::string salada = Pad("Salada", 40);
        WriteBytes(RecipeTextPath(Home(), kTable, salada), "Lavar as folhas e rasgar.\r\n");
        WriteBytes(LabelSheetPath(Home(), kTable, salada), "[CfgEti]\r\nLarEti=50\r\n");
        ASSERT_EQ(Cli({"rotulo", "Minha", "Salada", "--dados"}).status, 0);
        WriteBytes(LabelImagePath(Home(), kTable, salada), "BM imagem");
        WriteBytes(MeasureFilePath(Home(), kTable, Pad("Alface, crespa, crua", 60), true),
                   Pad("Folha", 20) + "|    10,0|\r\n");
        ASSERT_EQ(Cli({"verificar"}).status, 0) << Cli({"verificar"}).out;
        original = Contents(Home());
        SetLocations({home, Config()});
    }

    // The data home in memory, made as it was before the rename.
    void Restore() {
        fs::remove_all(home);
        for (const auto& [path, bytes] : original) {
            WriteBytes(home / path, bytes);
        }
    }

    std::vector<std::string> Check() {
        std::ostringstream out;
        std::ostringstream err;
        cli::CliIo io{home, images, out, err, false, 80};
        const int status = cli::RunCli({"verificar"}, io);
        EXPECT_TRUE(status == 0 || status == 1) << err.str();
        std::vector<std::string> findings = SplitLines(out.str());
        if (!findings.empty()) {
            findings.pop_back();  // the count
        }
        return findings;
    }

    // Runs `rename` (in a child, from the data home as it was) once to the end, to learn
    // the state it leaves and how long it takes; then `rounds` times killed at a random
    // moment of it. Each time every file holds its old or its new content, no content is
    // lost, and the check finds something exactly when the state is neither.
    void KillWhileRenaming(int rounds,
                           const std::function<void(const std::function<void()>&)>& rename) {
        Restore();
        test::ChildProcess whole([&](const std::function<void()>& ready) { rename(ready); });
        ASSERT_TRUE(whole.WaitReady());
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(whole.Wait(), 0);
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        const Files renamed = Contents(home);
        ASSERT_NE(renamed, original);
        ASSERT_TRUE(Check().empty()) << Check()[0];
        Restore();

        int between = 0;
        const auto check = [&](int round) {
            const Files now = Contents(home);
            std::set<fs::path> paths;
            for (const Files* files :
                 std::initializer_list<const Files*>{&original, &renamed, &now}) {
                for (const auto& entry : *files) {
                    paths.insert(entry.first);
                }
            }
            for (const fs::path& path : paths) {
                const auto is = At(now, path);
                EXPECT_TRUE(is == At(original, path) || is == At(renamed, path))
                    << "round " << round << ": " << path << " is neither old nor new";
            }
            for (const auto& [path, bytes] : original) {
                bool kept = At(now, path).has_value();  // old or new, as checked above
                for (const auto& [newPath, newBytes] : renamed) {
                    kept = kept || (newBytes == bytes && At(now, newPath) == bytes);
                }
                EXPECT_TRUE(kept) << "round " << round << ": the content of " << path << " is lost";
            }
            const bool consistent = now == original || now == renamed;
            between += consistent ? 0 : 1;
            // A kill in the middle of a save leaves its temporary file: reported, and
            // apart from the state of the data.
            std::vector<std::string> findings = Check();
            long temporaries = 0;
            for (const auto& entry : fs::recursive_directory_iterator(home)) {
                temporaries += IsTemporaryName(entry.path().filename().string()) ? 1 : 0;
            }
            const auto reported =
                std::remove_if(findings.begin(), findings.end(), [](const std::string& finding) {
                    return finding.rfind("arquivo temporário de uma gravação interrompida", 0) == 0;
                });
            EXPECT_EQ(findings.end() - reported, temporaries) << "round " << round;
            findings.erase(reported, findings.end());
            EXPECT_EQ(findings.empty(), consistent)
                << "round " << round << ": "
                << (findings.empty() ? "a half-done rename is not reported" : findings[0]);
            Restore();
        };
        // Half-done states come only from kills that land between two of the files: when
        // the machine is busy no round of a batch may fall there, and another batch runs.
        test::KillCount count;
        int batches = 0;
        while (batches < 5 && (batches == 0 || between == 0)) {
            const test::KillCount batch = test::KillAtRandomMoments(
                rounds, 2 * took, random,
                [&](int, const std::function<void()>& ready) { rename(ready); }, check);
            count.rounds += batch.rounds;
            count.interrupted += batch.interrupted;
            ++batches;
        }
        EXPECT_EQ(count.rounds, batches * rounds);
        EXPECT_GT(count.interrupted, count.rounds / 3)
            << "most kills should come during the rename";
        EXPECT_GT(between, 0) << "no kill left the rename half done";
        RecordProperty("kills", count.interrupted);
        RecordProperty("half_done", between);
    }

    test::TempDir memory{test::MemoryTempRoot()};
    const fs::path home = memory.Path() / "home";
    Files original;
    std::mt19937 random{7};
};

TEST_F(InterruptedRenameTest, APreparationRenamedWithItsFiles) {
    KillWhileRenaming(150, [this](const std::function<void()>& ready) {
        test::ScriptedUi ui;
        TCadFicTecRotForm form(ui, home);
        form.tableName = kTable;
        form.startPending = true;
        ui.Activate(form);
        ui.Type(form, form.NomPreMaskEdit, "Salada");
        ui.MoveFocus(form, form.DatPreMaskEdit);
        ui.Rename(true, Pad("Salada verde", 40));
        ready();
        ui.Press(form, form.AltNomBitBtn);
        if (!ui.Messages().empty()) {
            throw std::runtime_error("the rename failed");
        }
    });
}

TEST_F(InterruptedRenameTest, AnIngredientRenamedInItsMeasuresAndThePreparations) {
    KillWhileRenaming(150, [this](const std::function<void()>& ready) {
        test::ScriptedUi ui;
        ActiveTable active;
        active.name = kTable;
        active.editable = true;
        SignallingPropagation propagation(ready);  // the files change from there on
        TCadIngForm form(ui, home, active, propagation);
        form.tableName = kTable;
        form.mode = ScreenMode::Empty;
        form.startPending = true;
        ui.Activate(form);
        ui.Type(form, form.IngMaskEdit, "Alface, crespa, crua");
        ui.MoveFocus(form, form.kalMaskEdit);
        ui.Rename(true, "Alface crespa");
        ui.Press(form, form.AltNomBitBtn);
        if (!ui.Messages().empty()) {
            throw std::runtime_error("the rename failed");
        }
    });
}

// The same renames on a disk that fails (no space left at one write; permission denied
// from one write on): whichever write fails, the register says "Erro durante a
// alteração!" and every file is as it was.
TEST_F(InterruptedRenameTest, RenamesOnAFailingDisk) {
    const std::vector<std::pair<const char*, std::function<void(test::ScriptedUi&)>>> renames = {
        {"preparation",
         [this](test::ScriptedUi& ui) {
             TCadFicTecRotForm form(ui, home);
             form.tableName = kTable;
             form.startPending = true;
             ui.Activate(form);
             ui.Type(form, form.NomPreMaskEdit, "Salada");
             ui.MoveFocus(form, form.DatPreMaskEdit);
             ui.Rename(true, Pad("Salada verde", 40));
             ui.Press(form, form.AltNomBitBtn);
         }},
        {"ingredient",
         [this](test::ScriptedUi& ui) {
             ActiveTable active;
             active.name = kTable;
             active.editable = true;
             IngredientPropagation propagation;
             TCadIngForm form(ui, home, active, propagation);
             form.tableName = kTable;
             form.mode = ScreenMode::Empty;
             form.startPending = true;
             ui.Activate(form);
             ui.Type(form, form.IngMaskEdit, "Alface, crespa, crua");
             ui.MoveFocus(form, form.kalMaskEdit);
             ui.Rename(true, "Alface crespa");
             ui.Press(form, form.AltNomBitBtn);
         }},
    };
    for (const auto& [what, rename] : renames) {
        for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
            SCOPED_TRACE(std::string(what) + (stays ? ", read-only" : ", no space"));
            const int writes =
                test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                    Restore();
                    test::ScriptedUi ui;
                    rename(ui);
                    if (disk.Failed()) {
                        EXPECT_EQ(ui.MessageTexts(),
                                  std::vector<std::string>{W("Erro durante a alteração!")});
                        EXPECT_EQ(Contents(home), original);
                        EXPECT_TRUE(Check().empty()) << Check()[0];
                    } else {
                        EXPECT_TRUE(ui.Messages().empty());
                        EXPECT_NE(Contents(home), original);
                    }
                });
            EXPECT_GE(writes, 1);
            RecordProperty(std::string(what) + "_writes", writes);
        }
    }
}

// An ingredient's energy altered in its register and carried into the preparations that
// use it, on a disk that fails at any write: "Erro durante a alteração!", and the
// ingredient file, the preparations' files and their list as they were (the ingredient
// file goes in the same batch, first, so that the preparations are never ahead of it).
TEST_F(InterruptedRenameTest, AnAlterationCarriedOnAFailingDisk) {
    for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
        const int writes =
            test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                Restore();
                test::ScriptedUi ui;
                ActiveTable active;
                active.name = kTable;
                active.editable = true;
                IngredientPropagation propagation;
                TCadIngForm form(ui, home, active, propagation);
                form.tableName = kTable;
                form.mode = ScreenMode::Empty;
                form.startPending = true;
                ui.Activate(form);
                ui.Type(form, form.IngMaskEdit, "Alface, crespa, crua");
                ui.MoveFocus(form, form.kalMaskEdit);
                form.kalMaskEdit.SelectAll();
                ui.Type(form, form.kalMaskEdit, "15");
                ui.MoveFocus(form, form.KALFonMaskEdit);
                ui.AnswerYes();
                ui.Press(form, form.GraBitBtn);
                if (disk.Failed()) {
                    EXPECT_EQ(ui.LastMessage(), W("Erro durante a alteração!"));
                    EXPECT_EQ(Contents(home), original);
                } else {
                    EXPECT_NE(Contents(home), original);
                    EXPECT_TRUE(Check().empty()) << Check()[0];
                }
            });
        EXPECT_EQ(writes, 4) << "the ingredient file, two preparations and their list";
    }
}

// What a rename or a deletion cut short leaves: files of a preparation the list does not
// have. Empty ones hold nothing and are not reported.
TEST_F(InterruptedRenameTest, LeftFilesOfAPreparationAreReported) {
    Restore();
    const std::string torta = Pad("Torta", 40);
    WriteBytes(PreparationFilePath(home, kTable, torta), "linha|\r\n");
    WriteBytes(RecipeTextPath(home, kTable, torta), "Assar.\r\n");
    WriteBytes(LabelSheetPath(home, kTable, torta), "[CfgEti]\r\n");
    PreparationFilePath(home, kTable, Pad("Vazia", 40));
    RecipeTextPath(home, kTable, Pad("Vazia", 40));
    EXPECT_EQ(Check(), (std::vector<std::string>{
                           "Minha: ingredientes \"Torta.dad\": a preparação não existe mais.",
                           "Minha: modo de preparo \"Torta.rec\": a preparação não existe mais.",
                           "Minha: folha de etiquetas \"Torta.eti\": a preparação não existe "
                           "mais."}));
}

}  // namespace
}  // namespace velmaro

// The group and household-measure registers on a disk that fails: every write of each
// operation fails in turn (no space left at that write; permission denied from it on).
// The register shows its own message, every file is as before, and the screen goes on.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GroupMeasureFixtures.h"
#include "ingredients/CadGruForm.h"
#include "ingredients/CadIngForm.h"
#include "ingredients/CadMedCas2Form.h"
#include "platform/Interaction.h"
#include "shell/ActiveTable.h"
#include "storage/Cp1252.h"
#include "storage/Paths.h"
#include "support/FailingDisk.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::IngredientRecord;
using test::Lines;
using test::Pad;
using test::PreparationLine;
using test::PreparationRecord;

const std::string kTable = Pad("Minha", 20);

class FullDiskTest : public test::DataHomeTest {
  protected:
    // Three ingredient groups, Frutas in no ingredient; Arroz measured in cups, the
    // measure named in two preparations.
    FullDiskTest() {
        test::WriteBytes(
            IngredientGroupsPath(Home(), kTable),
            Lines({Pad("Cereais", 20) + "|", Pad("Frutas", 20) + "|", Pad("Legumes", 20) + "|"}));
        test::WriteIngredients(Home(), kTable,
                               {IngredientRecord("Arroz", Pad("Cereais", 20)),
                                IngredientRecord("Chuchu", Pad("Legumes", 20))});
        test::WriteBytes(MeasureFilePath(Home(), kTable, Pad("Arroz", 60), true),
                         Lines({Pad("Copo", 20) + "|   120,0|", Pad("Colher", 20) + "|    20,0|"}));
        test::WriteBytes(
            PreparationListPath(Home(), kTable),
            Lines({PreparationRecord("Arroz doce", ""), PreparationRecord("Sopa", "")}));
        for (const char* preparation : {"Arroz doce", "Sopa"}) {
            test::WriteBytes(PreparationFilePath(Home(), kTable, Pad(preparation, 40)),
                             Lines({PreparationLine("Arroz", Pad("Copo", 20))}));
        }
        before = test::DataFiles(Home());
    }

    // Each write of the operation failing in turn; at the end, none.
    template <class Screen>
    void Run(const char* what, const std::function<void(test::ScriptedUi&, Screen&)>& act,
             const char* failed) {
        for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
            SCOPED_TRACE(std::string(what) + (stays ? ", read-only" : ", no space"));
            const int writes =
                test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                    test::ScriptedUi ui;
                    Screen form(ui, Home());
                    form.tableName = kTable;
                    form.mode = ScreenMode::Empty;
                    form.startPending = true;
                    ui.Activate(form);
                    act(ui, form);
                    if (disk.Failed()) {
                        EXPECT_EQ(ui.LastMessage(), W(failed));
                        EXPECT_EQ(test::DataFiles(Home()), before);
                        if (form.dirty) {
                            ui.AnswerNo();
                        }
                        ui.Press(form, form.RetBitBtn);
                        EXPECT_TRUE(form.CloseRequested());
                        return;
                    }
                    EXPECT_NE(test::DataFiles(Home()), before);
                    fs::remove_all(Home() / "Dados");
                    for (const auto& [path, bytes] : before) {
                        test::WriteBytes(Home() / path, bytes);
                    }
                });
            EXPECT_GE(writes, 1);
        }
    }

    std::map<fs::path, std::string> before;
};

TEST_F(FullDiskTest, IngredientGroups) {
    auto show = [](test::ScriptedUi& ui, TCadGruIngForm& form, const std::string& name) {
        ui.MoveFocus(form, form.GruMaskEdit);
        ui.Type(form, form.GruMaskEdit, name);
        ui.MoveFocus(form, form.AltNomBitBtn);
    };
    Run<TCadGruIngForm>(
        "insertion",
        [&](test::ScriptedUi& ui, TCadGruIngForm& form) {
            show(ui, form, "Doces");
            ui.AnswerYes();
            ui.Press(form, form.GraBitBtn);
        },
        "Erro durante inclusão!");
    Run<TCadGruIngForm>(
        "rename",  // the group file and the ingredient file
        [&](test::ScriptedUi& ui, TCadGruIngForm& form) {
            show(ui, form, "Cereais");
            ui.Rename(true, W("Grãos"));
            ui.Press(form, form.AltNomBitBtn);
        },
        "Erro durante a alteração!");
    Run<TCadGruIngForm>(
        "deletion",
        [&](test::ScriptedUi& ui, TCadGruIngForm& form) {
            show(ui, form, "Frutas");
            ui.AnswerYes();
            ui.Press(form, form.ExcBitBtn);
        },
        "Erro durante exclusão!");
}

TEST_F(FullDiskTest, HouseholdMeasures) {
    auto show = [](test::ScriptedUi& ui, TCadMedCas2Form& form, const std::string& name) {
        ui.MoveFocus(form, form.NomIngComboBox);
        UserSelect(form.NomIngComboBox, 0);  // Arroz
        ui.MoveFocus(form, form.MedCasMaskEdit);
        ui.Type(form, form.MedCasMaskEdit, name);
        ui.MoveFocus(form, form.QuaMaskEdit);
    };
    Run<TCadMedCas2Form>(
        "insertion",
        [&](test::ScriptedUi& ui, TCadMedCas2Form& form) {
            show(ui, form, "Concha");
            ui.Type(form, form.QuaMaskEdit, "80");
            ui.AnswerYes();
            ui.Press(form, form.GraBitBtn);
        },
        "Erro durante inclusão!");
    Run<TCadMedCas2Form>(
        "rename in use",  // the measures file and two preparations
        [&](test::ScriptedUi& ui, TCadMedCas2Form& form) {
            show(ui, form, "Copo");
            ui.Rename(true, "Caneca");
            ui.Press(form, form.AltNomBitBtn);
        },
        "Erro durante a alteração!");
}

// The ingredient register writes its file at Retorna: on a failing disk it says so and
// stays open with what was confirmed, the file as before; the next Retorna writes it.
TEST_F(FullDiskTest, IngredientRegisterRetorna) {
    for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
        const int writes =
            test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                test::ScriptedUi ui;
                ActiveTable active;
                active.name = kTable;
                active.editable = true;
                NoIngredientChanges changes;
                TCadIngForm form(ui, Home(), active, changes);
                form.tableName = kTable;
                form.mode = ScreenMode::Empty;
                form.startPending = true;
                ui.Activate(form);
                ui.Type(form, form.IngMaskEdit, "Feijao");
                ui.MoveFocus(form, form.kalMaskEdit);
                ui.AnswerYes();
                ui.Press(form, form.GraBitBtn);
                ui.Press(form, form.RetBitBtn);
                if (disk.Failed()) {
                    EXPECT_FALSE(form.CloseRequested());
                    EXPECT_EQ(ui.LastMessage(),
                              W("Erro durante a gravação do arquivo de ingredientes! As alterações "
                                "foram mantidas na tela; tente novamente."));
                    EXPECT_EQ(test::DataFiles(Home()), before);
                    EXPECT_EQ(form.table.lines.Count(), 3);
                } else {
                    EXPECT_TRUE(form.CloseRequested());
                    EXPECT_EQ(test::ReadIngredients(Home(), kTable).size(), 3u);
                }
            });
        EXPECT_EQ(writes, 1);
        test::WriteIngredients(Home(), kTable,
                               {IngredientRecord("Arroz", Pad("Cereais", 20)),
                                IngredientRecord("Chuchu", Pad("Legumes", 20))});
    }
}

}  // namespace
}  // namespace velmaro

// The preparation register on a disk that fails: every write of each operation fails in
// turn (no space left, permission denied); the register shows its own message, the files
// are as before, and the screen goes on working.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "preparations/CadFicTecRotForm.h"
#include "preparations/PreparationRecordFixture.h"
#include "storage/Cp1252.h"
#include "support/FailingDisk.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

namespace F = PreparationRecordField;
namespace fs = std::filesystem;
using test::Pad;
using test::PreparationLine;

class FullDiskTest : public test::DataHomeTest {
  protected:
    FullDiskTest() {
        const fs::path dir = Home() / "Dados" / "Minha";
        test::WriteBytes(dir / "Ficha Tecnica" / "ArqFicTec.dad",
                         PreparationLine("Bolo", {{F::kYield, "  1000"}}) + "\r\n" +
                             PreparationLine("Feijao") + "\r\n");
        for (const fs::path& file :
             {dir / "Ficha Tecnica" / "Bolo.dad", dir / "Receita" / "Bolo.rec",
              dir / "Etiqueta" / "Bolo.eti", dir / "Rotulo" / "Bolo.rot",
              dir / "Rotulo" / "Imagens" / "Bolo.bmp"}) {
            test::WriteBytes(file, "de Bolo " + file.extension().string());
        }
    }

    struct Operation {
        const char* what;
        std::function<void(test::ScriptedUi&, TCadFicTecRotForm&)> act;
        const char* failed;     // the register's message when a write fails
        const char* succeeded;  // its message when none does (none: no message)
    };

    // Each operation with each of its writes failing in turn, from the same files.
    void Run(int error, bool stays) {
        const std::vector<Operation> operations = {
            {"insertion",
             [](test::ScriptedUi& ui, TCadFicTecRotForm& form) {
                 ui.Type(form, form.NomPreMaskEdit, "Torta");
                 ui.MoveFocus(form, form.DatPreMaskEdit);
                 ui.AnswerYes();
                 ui.Press(form, form.GraBitBtn);
             },
             "Erro durante inclusão!", "Inclusão efetuada com sucesso!"},
            {"alteration",
             [](test::ScriptedUi& ui, TCadFicTecRotForm& form) {
                 ui.Type(form, form.NomPreMaskEdit, "Bolo");
                 ui.MoveFocus(form, form.DatPreMaskEdit);
                 ui.MoveFocus(form, form.NumPorMaskEdit);
                 ui.Type(form, form.NumPorMaskEdit, "8");
                 ui.MoveFocus(form, form.RenColSopMaskEdit);
                 ui.AnswerYes();
                 ui.Press(form, form.GraBitBtn);
             },
             "Erro durante a alteração!", "Alteração efetuada com sucesso!"},
            {"rename",
             [](test::ScriptedUi& ui, TCadFicTecRotForm& form) {
                 ui.Type(form, form.NomPreMaskEdit, "Bolo");
                 ui.MoveFocus(form, form.DatPreMaskEdit);
                 ui.Rename(true, Pad("Torta", 40));
                 ui.Press(form, form.AltNomBitBtn);
             },
             "Erro durante a alteração!", nullptr},
            {"deletion",
             [](test::ScriptedUi& ui, TCadFicTecRotForm& form) {
                 ui.Type(form, form.NomPreMaskEdit, "Bolo");
                 ui.MoveFocus(form, form.DatPreMaskEdit);
                 ui.AnswerYes();
                 ui.Press(form, form.ExcBitBtn);
             },
             "Erro durante exclusão!", "Exclusão efetuada com sucesso!"},
        };
        const auto before = test::DataFiles(Home());
        for (const Operation& op : operations) {
            SCOPED_TRACE(op.what);
            const int writes =
                test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                    test::ScriptedUi ui;
                    TCadFicTecRotForm form(ui, Home());
                    form.tableName = Pad("Minha", 20);
                    form.startPending = true;
                    ui.Activate(form);
                    op.act(ui, form);
                    const std::vector<std::string> messages = ui.MessageTexts();
                    if (disk.Failed()) {
                        ASSERT_FALSE(messages.empty());
                        EXPECT_EQ(messages.back(), W(op.failed));
                        EXPECT_EQ(test::DataFiles(Home()), before);
                        // The screen goes on: it can be left without storing what it
                        // shows.
                        if (form.dirty) {
                            ui.AnswerNo();
                        }
                        ui.Press(form, form.RetBitBtn);
                        EXPECT_TRUE(form.CloseRequested());
                        return;
                    }
                    if (op.succeeded != nullptr) {
                        ASSERT_FALSE(messages.empty());
                        EXPECT_EQ(messages.back(), W(op.succeeded));
                    } else {
                        EXPECT_TRUE(messages.empty()) << messages[0];
                    }
                    EXPECT_NE(test::DataFiles(Home()), before);
                    // The files as they were, for the next operation.
                    fs::remove_all(Home() / "Dados");
                    for (const auto& [path, bytes] : before) {
                        test::WriteBytes(Home() / path, bytes);
                    }
                });
            EXPECT_GE(writes, 1);
        }
    }
};

TEST_F(FullDiskTest, NoSpaceLeftAtAnyWrite) {
    Run(ENOSPC, false);
}

TEST_F(FullDiskTest, ReadOnlyFromAnyWriteOn) {
    Run(EACCES, true);
}

}  // namespace
}  // namespace velmaro

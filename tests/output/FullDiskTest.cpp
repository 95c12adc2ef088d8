// The label sheet setup on a disk that fails (no space left, permission denied): the
// screen says "Erro durante a gravação dos dados!", keeps the edits and stays open, the
// label data file is as before; with the disk whole again "&Grava" stores them.

#include <gtest/gtest.h>

#include "output/labels/CfgRotForm.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "support/FailingDisk.h"
#include "support/RecordingImageOutput.h"
#include "support/ScriptedUi.h"
#include "support/TestEnv.h"

namespace velmaro {
namespace {

using test::Pad;

const std::string kTable = Pad("Minha", 20);
const std::string kPreparation = Pad("Bolo", 40);

class FullDiskTest : public test::DataHomeTest {};

TEST_F(FullDiskTest, LabelSheetSetup) {
    const fs::path file = LabelFilePath(Home(), kTable, kPreparation);
    const std::string stored = "[DadRot]\r\nModRot=2\r\n[CfgEti]\r\nAltEti=30\r\n";
    test::WriteBytes(file, stored);
    const auto before = test::DataFiles(Home());
    for (const auto& [error, stays] : {std::pair{ENOSPC, false}, std::pair{EACCES, true}}) {
        const int writes =
            test::FailEachWriteInTurn(error, stays, [&](const test::FailingDisk& disk) {
                test::ScriptedUi ui;
                test::RecordingImageOutput images;
                TCfgRotForm form(ui, Home(), images);
                form.Prepare(kTable, kPreparation);
                ui.Activate(form);
                UserSetText(form.AltEtiMaskEdit, "   40");
                ui.AnswerYes();
                ui.Press(form, form.GraBitBtn);
                if (disk.Failed()) {
                    EXPECT_EQ(ui.LastMessage(), W("Erro durante a gravação dos dados!"));
                    EXPECT_FALSE(form.CloseRequested());
                    EXPECT_EQ(form.AltEtiMaskEdit.text, "   40");
                    EXPECT_EQ(test::DataFiles(Home()), before);
                } else {
                    EXPECT_EQ(IniFile(file).ReadString("CfgEti", "AltEti", ""), "40");
                    EXPECT_EQ(IniFile(file).ReadString("DadRot", "ModRot", ""), "2");
                    test::WriteBytes(file, stored);
                }
            });
        EXPECT_EQ(writes, 1);
    }
}

}  // namespace
}  // namespace velmaro

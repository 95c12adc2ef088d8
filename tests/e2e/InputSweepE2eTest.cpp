// Every field of every screen, typed into as a user types: no field whose text goes into
// a record of the data files takes the field separator "|", which would split the record.

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

#include "e2e/AppFixture.h"
#include "platform/Interaction.h"

namespace velmaro::test {
namespace {

class InputSweepE2e : public AppE2e {};

TEST_F(InputSweepE2e, NoFieldTakesTheFieldSeparator) {
    std::vector<std::string> taken;
    driver
        .On("TNutForm",
            [&] {
                // The refusals are told in a message: answered as they come.
                QTimer answer;
                answer.setInterval(1);
                QObject::connect(&answer, &QTimer::timeout, [] {
                    if (QWidget* ok = AppDriver::Widget("TMesDlgForm", "OkBitBtn")) {
                        QTest::mouseClick(ok, Qt::LeftButton);
                    }
                });
                answer.start();
                for (Form* form : driver.App().Screens()) {
                    for (Control* c : form->Controls()) {
                        if (c->Kind() != ControlKind::MaskEdit) {
                            continue;
                        }
                        auto& edit = static_cast<MaskEdit&>(*c);
                        const std::string before = edit.text;
                        edit.caret = 0;
                        edit.selLength = 0;
                        TypeChar(*form, edit, '|');
                        if (edit.text.find('|') != std::string::npos) {
                            taken.push_back(form->ClassName() + "." + c->Name());
                        }
                        edit.text = before;
                    }
                }
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    // Fields whose text never goes into a record: the technician's name and contact (the
    // configuration file, printed on the reports), the keywords of the ingredient list,
    // and the millimetres of the label sheet, checked as numbers when they are left.
    EXPECT_EQ(taken, (std::vector<std::string>{
                         "TCfgNutForm.NomTecMaskEdit", "TCfgNutForm.ConTecMaskEdit",
                         "TVisLisIngForm.PalChaMaskEdit", "TCfgRotForm.LarEtiMaskEdit",
                         "TCfgRotForm.AltEtiMaskEdit", "TCfgRotForm.MarEsqMaskEdit",
                         "TCfgRotForm.MarSupMaskEdit", "TCfgRotForm.DisHorEtiMaskEdit",
                         "TCfgRotForm.DisVerEtiMaskEdit"}));
}

}  // namespace
}  // namespace velmaro::test

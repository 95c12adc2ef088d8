// The form renderer with a screen of every kind of control, driven through its real
// widgets: keys reach the form's key preview and the field's handler before the field,
// leaving a field runs its exit handler with the control that gets the focus, a
// message shown while leaving swallows the click, and the widgets show the new state.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "e2e/AppDriver.h"
#include "output/reports/VisRelForm.h"
#include "platform/Interaction.h"
#include "storage/Cp1252.h"
#include "storage/Text.h"
#include "support/TestEnv.h"

namespace velmaro::test {
namespace {

struct TTesteForm : Form {
    explicit TTesteForm(Ui& ui)
        : Form("TTesteForm"),
          Num(*this, "NumMaskEdit", "9999,99;1;_"),
          Obs(*this, "ObsMemo"),
          Gru(*this, "GruComboBox"),
          Fix(*this, "FixCheckBox", "Fixa"),
          Lis(*this, "LisListBox"),
          Ret(*this, "RetBitBtn", "&Retorna") {
        caption = "TELA DE TESTE";
        Num.label = "Peso";
        Gru.items = {"Cereais", W("Feijões"), "Frutas"};
        Lis.items = {"um", "dois", W("três")};
        Ret.modalResult = 1;
        onKeyPress = [this](char& key) {
            seen += key;
            if (key == '\r' && ActiveControl() != &Obs) {
                key = 0;
                MoveFocus(*this, NextControl(ActiveControl()));
            }
        };
        // The numeric field rule: "." counts as ",", and "," first aligns the integer part.
        Num.onKeyPress = [this](char& key) {
            if (key == '.') {
                key = ',';
            }
            if (key == ',') {
                Num.text = AlignDecimalText(Num.text);
            }
        };
        Num.onExit = [this, &ui](Control* next) {
            exits.push_back(next != nullptr ? next->Name() : "");
            if (TextToNumber(Num.text) > 1000) {
                ui.ShowMessageBox(W("Peso inválido!"), MessageKind::Ok);
                SetFocus(&Num);
            }
        };
        Lis.onDblClick = [this] { chosen = Lis.itemIndex; };
    }
    MaskEdit Num;
    Memo Obs;
    ComboBox Gru;
    CheckBox Fix;
    ListBox Lis;
    Button Ret;
    std::string seen;
    std::vector<std::string> exits;
    int chosen = -1;
};

class RendererE2e : public DataHomeTest {
  protected:
    RendererE2e() {
        EXPECT_EQ(driver.App().PrepareHome(), "");
        driver.App().CreateScreens();
    }
    AppDriver driver;
};

TEST_F(RendererE2e, KeysClicksAndFocusReachTheFormAndTheWidgetsShowItsState) {
    TTesteForm form(driver.App().Ui());
    QString shownNumber;
    bool boxAfterRefusedLeave = true;
    driver.On("TNutForm", [&] { driver.App().Ui().ShowModal(form); })
        .Type("TTesteForm", "NumMaskEdit", "12.5")
        .On("TTesteForm",
            [&] {
                shownNumber =
                    qobject_cast<QLineEdit*>(AppDriver::Widget("TTesteForm", "NumMaskEdit"))
                        ->text();
            })
        .Key("TTesteForm", "NumMaskEdit", Qt::Key_Tab)
        .Type("TTesteForm", "ObsMemo", "ab")
        .Key("TTesteForm", "ObsMemo", Qt::Key_Return)
        .Type("TTesteForm", "ObsMemo", "c")
        // Back into the number, a value too large, then a click on the check box: the
        // message of the exit handler swallows the click.
        .Key("TTesteForm", "ObsMemo", Qt::Key_Backtab)
        .Type("TTesteForm", "NumMaskEdit", "5000")
        .Click("TTesteForm", "FixCheckBox")
        .Answer("OkBitBtn")
        .On("TTesteForm",
            [&] {
                boxAfterRefusedLeave =
                    qobject_cast<QCheckBox*>(AppDriver::Widget("TTesteForm", "FixCheckBox"))
                        ->isChecked();
            })
        .Type("TTesteForm", "NumMaskEdit", "7")
        .Click("TTesteForm", "FixCheckBox")
        .On("TTesteForm",
            [] {
                auto* combo =
                    qobject_cast<QComboBox*>(AppDriver::Widget("TTesteForm", "GruComboBox"));
                QTest::mouseClick(combo, Qt::LeftButton);  // the focus
                combo->hidePopup();
                QTest::keyClick(combo, Qt::Key_Down);  // the first entry, then the second
                QTest::keyClick(combo, Qt::Key_Down);
            })
        .On("TTesteForm",
            [] {
                auto* list =
                    qobject_cast<QListView*>(AppDriver::Widget("TTesteForm", "LisListBox"));
                const QRect row = list->visualRect(list->model()->index(2, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            })
        .Click("TTesteForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();

    EXPECT_EQ(shownNumber, QStringLiteral("__12,5_"));
    EXPECT_EQ(form.Obs.lines, (std::vector<std::string>{"ab", "c"}));
    EXPECT_EQ(driver.Messages(), std::vector<std::string>{"Peso inválido!"});
    EXPECT_FALSE(boxAfterRefusedLeave);
    // Typing into the field after the refusal replaced its whole (selected) content.
    EXPECT_EQ(form.Num.text, "7   ,  ");
    EXPECT_TRUE(form.Fix.checked);
    EXPECT_EQ(form.Gru.itemIndex, 1);
    EXPECT_EQ(form.Gru.SelectedText(), W("Feijões"));
    EXPECT_EQ(form.chosen, 2);
    EXPECT_EQ(form.exits, (std::vector<std::string>{"ObsMemo", "FixCheckBox", "FixCheckBox"}));
    // The key preview saw every character typed, Enter in the memo included.
    EXPECT_EQ(form.seen, "12.5ab\rc50007");
}

TEST_F(RendererE2e, TheListPickerClosesByDoubleClickOrByItsCloseBoxKeepingThePreselection) {
    QtUi& ui = driver.App().Ui();
    int doubleClicked = -1;
    int closed = -1;
    const std::vector<std::string> items{"Arroz", W("Feijão"), "Milho"};
    driver.On("TNutForm", [&] { doubleClicked = ui.PickFromList("LISTA DE TESTE", items, 0); })
        .On("TLisForm",
            [] {
                auto* list = qobject_cast<QListView*>(AppDriver::Widget("TLisForm", "ListBox"));
                const QRect row = list->visualRect(list->model()->index(1, 0));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
            })
        .On("TNutForm", [&] { closed = ui.PickFromList("LISTA DE TESTE", items, 2); })
        .On("TLisForm",
            [] {
                QWidget* window = AppDriver::Window("TLisForm");
                EXPECT_EQ(window->windowTitle(), QStringLiteral("LISTA DE TESTE"));
                window->close();
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_EQ(doubleClicked, 1);
    EXPECT_EQ(closed, 2);
}

TEST_F(RendererE2e, ALongListShowsItsSelectionAndTakesKeysEnterAndDoubleClicks) {
    QtUi& ui = driver.App().Ui();
    std::vector<std::string> items;
    for (int i = 0; i < 20000; ++i) {
        items.push_back(W("Feijão ") + std::to_string(i));
    }
    int byEnter = -1;
    int byDoubleClick = -1;
    bool preselectedInSight = false;
    QString preselectedText;
    QString clickedText;
    driver.On("TNutForm", [&] { byEnter = ui.PickFromList("LISTA LONGA", items, 12345); })
        .On("TLisForm",
            [&] {
                auto* list = qobject_cast<QListView*>(AppDriver::Widget("TLisForm", "ListBox"));
                ASSERT_NE(list, nullptr);
                EXPECT_EQ(list->model()->rowCount(), 20000);
                const QModelIndex current = list->currentIndex();
                preselectedText = current.data().toString();
                preselectedInSight = list->selectionModel()->isSelected(current) &&
                                     list->viewport()->rect().intersects(list->visualRect(current));
                // Two rows down with the keyboard, then Enter picks the row reached.
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Return);
            })
        .On("TNutForm", [&] { byDoubleClick = ui.PickFromList("LISTA LONGA", items, 0); })
        .On("TLisForm",
            [&] {
                auto* list = qobject_cast<QListView*>(AppDriver::Widget("TLisForm", "ListBox"));
                // The last row, scrolled into sight with End, double clicked.
                QTest::keyClick(list, Qt::Key_End);
                const QModelIndex last = list->model()->index(19999, 0);
                clickedText = last.data().toString();
                const QPoint at = list->visualRect(last).center();
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_TRUE(preselectedInSight);
    EXPECT_EQ(preselectedText, QStringLiteral("Feijão 12345"));
    EXPECT_EQ(byEnter, 12347);
    EXPECT_EQ(clickedText, QStringLiteral("Feijão 19999"));
    EXPECT_EQ(byDoubleClick, 19999);
}

TEST_F(RendererE2e, TheInUseReportSavesItsLinesThroughTheSaveDialog) {
    QtUi& ui = driver.App().Ui();
    QString filter;
    driver
        .On("TNutForm",
            [&] { ui.ShowItemsInUse(W("Grupo em uso!//Preparações:"), {W("Feijão tropeiro")}); })
        .Click("TIteVerForm", "BitBtn2")
        .Then(
            "the save dialog",
            [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()) != nullptr; },
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                filter = dialog->nameFilters().join(QStringLiteral(";;"));
                // The user goes to the folder, types a name without extension and
                // presses Enter.
                dialog->setDirectory(QString::fromStdString(Scratch().string()));
                auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                name->setText(QStringLiteral("itens"));
                QTest::keyClick(name, Qt::Key_Return);
            })
        .Click("TIteVerForm", "BitBtn3")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_EQ(filter, QStringLiteral("txt (*.txt)"));
    // A name without extension takes the filter's.
    EXPECT_EQ(ReadBytes(Scratch() / "itens.txt"), W("Grupo em uso!\r\nPreparações:\r\n") +
                                                      std::string(73, '=') + "\r\n" +
                                                      W("Feijão tropeiro\r\n"));
}

TEST_F(RendererE2e, TheProgressWindowShowsWithoutTakingTheActivation) {
    QtUi& ui = driver.App().Ui();
    int shownValue = -1;
    bool wasVisible = false;
    bool hiddenAfter = false;
    const Form* topWhileShown = nullptr;
    driver
        .On("TNutForm",
            [&] {
                // Each reading of the clock 40 ms later: every new percentage is drawn.
                ui.PaceProgressWith([t = ProgressPacer::TimePoint{}]() mutable {
                    return t += std::chrono::milliseconds(40);
                });
                ProgressSink& progress = ui.Progress();
                progress.Begin(10);
                progress.SetPosition(4);
                QWidget* window = AppDriver::Window("TConForm");
                wasVisible = window != nullptr;
                if (auto* bar = qobject_cast<QProgressBar*>(
                        window != nullptr ? window->findChild<QWidget*>("ProgressBar") : nullptr)) {
                    shownValue = bar->value() * 100 / bar->maximum();
                }
                topWhileShown = ui.Renderer().TopForm();
                progress.End();
                hiddenAfter = AppDriver::Window("TConForm") == nullptr;
            })
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_TRUE(wasVisible);
    EXPECT_EQ(shownValue, 40);
    ASSERT_NE(topWhileShown, nullptr);
    EXPECT_EQ(topWhileShown->ClassName(), "TNutForm");
    EXPECT_TRUE(hiddenAfter);
}

TEST_F(RendererE2e, AReportPreviewLargerThanItsWindowScrollsAndADoubleClickClosesIt) {
    QtUi& ui = driver.App().Ui();
    auto* preview = dynamic_cast<TVisRelForm*>(driver.App().Screen("TVisRelForm"));
    ASSERT_NE(preview, nullptr);
    struct Shown {
        QSize window;
        int bar = 0;
        int horizontalRange = -1;
        int verticalRange = -1;
    };
    // A landscape report page (report 2) and a portrait one (reports 1 and 3).
    const QSize pictures[] = {QSize(1000, 743), QSize(743, 1039)};
    std::vector<Shown> shown;
    for (const QSize picture : pictures) {
        driver
            .On("TNutForm",
                [&, picture] {
                    preview->RelImage.pixelWidth = picture.width();
                    preview->RelImage.pixelHeight = picture.height();
                    preview->RelImage.pixels.assign(
                        static_cast<size_t>(picture.width() * picture.height()), 255);
                    ++preview->RelImage.revision;
                    preview->FitToImage();
                    ui.ShowModal(*preview);
                })
            .On("TVisRelForm", [&] {
                QWidget* window = AppDriver::Window("TVisRelForm");
                auto* area = window->findChild<QScrollArea*>();
                ASSERT_NE(area, nullptr);
                shown.push_back({window->size(), area->verticalScrollBar()->sizeHint().width(),
                                 area->horizontalScrollBar()->maximum(),
                                 area->verticalScrollBar()->maximum()});
                QWidget* image = AppDriver::Widget("TVisRelForm", "RelImage");
                ASSERT_NE(image, nullptr);
                QTest::mouseDClick(image, Qt::LeftButton, {}, QPoint(10, 10));
            });
    }
    driver.Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    ASSERT_EQ(shown.size(), 2u);
    // 780 wide beside the vertical bar, 540 high; the bars reach what does not fit.
    // (the offscreen desktop, 800 wide, may take the bar's room back)
    EXPECT_GT(shown[0].window.width(), 780);
    EXPECT_LE(shown[0].window.width(), 780 + shown[0].bar);
    EXPECT_EQ(shown[0].window.height(), 540);
    EXPECT_GE(shown[0].horizontalRange, 1000 - 780);
    EXPECT_GE(shown[0].verticalRange, 743 - 540);
    // A page 743 wide is seen whole across: no horizontal bar once the vertical one shows.
    EXPECT_EQ(shown[1].window, QSize(743 + shown[1].bar, 540));
    EXPECT_EQ(shown[1].horizontalRange, 0);
    EXPECT_GE(shown[1].verticalRange, 1039 - 540);
}

// A screen larger than the offscreen desktop (800 x 600), with a field to type in, a
// computed value, a memo of 70 columns and a button showing an icon.
struct TGrandeForm : Form {
    TGrandeForm()
        : Form("TGrandeForm"),
          Pes(*this, "PesMaskEdit", "9999,99;1;_"),
          Tot(*this, "TotMaskEdit", "9999,99;1;_"),
          Rec(*this, "RecMemo"),
          Lim(*this, "LimBitBtn", ""),
          Ret(*this, "RetBitBtn", "&Retorna") {
        caption = "TELA GRANDE";
        width = 1010;
        height = 900;
        Tot.enabled = false;
        Tot.readOnly = true;
        Tot.text = "  12,50";
        Rec.fontFamily = "Courier New";
        Rec.fontSize = 10;
        Rec.columns = 70;
        Lim.icon = ButtonIcon::Clear;
        Lim.hint = "Limpa o campo";
        Lim.width = 24;
        Lim.height = 24;
        Ret.modalResult = 1;
        onActivate = [this] { Pes.SelectAll(); };
    }
    LayoutItem Layout() override {
        using L = LayoutItem;
        return L::Column({L::Row({L::Of(Pes), L::Of(Tot), L::Of(Lim)}), L::Of(Rec), L::Of(Ret)});
    }
    MaskEdit Pes;
    MaskEdit Tot;
    Memo Rec;
    Button Lim;
    Button Ret;
};

TEST_F(RendererE2e, AWindowLargerThanTheScreenScrollsAndItsControlsShowWhatTheyDo) {
    TGrandeForm form;
    QSize window;
    QSize room;
    bool scrolled = false;
    bool totalReadable = false;
    bool totalTakesFocus = true;
    bool iconShown = false;
    int memoRoom = 0;
    int seventyColumns = 0;
    bool selectedWhileFocused = false;
    bool selectedAfterLeaving = true;
    bool focusMarkAfterTab = false;
    driver.On("TNutForm", [&] { driver.App().Ui().ShowModal(form); })
        .On("TGrandeForm",
            [&] {
                QWidget* shown = AppDriver::Window("TGrandeForm");
                window = shown->frameGeometry().size();
                room = shown->screen()->availableGeometry().size();
                scrolled =
                    shown->findChild<QScrollArea*>(QStringLiteral("ScreenScrollArea")) != nullptr;
                auto* total =
                    qobject_cast<QLineEdit*>(AppDriver::Widget("TGrandeForm", "TotMaskEdit"));
                totalReadable = total->isEnabled() && total->isReadOnly();
                totalTakesFocus = total->focusPolicy() != Qt::NoFocus;
                iconShown =
                    !qobject_cast<QPushButton*>(AppDriver::Widget("TGrandeForm", "LimBitBtn"))
                         ->icon()
                         .isNull();
                auto* memo =
                    qobject_cast<QPlainTextEdit*>(AppDriver::Widget("TGrandeForm", "RecMemo"));
                memoRoom = memo->viewport()->width();
                seventyColumns =
                    QFontMetrics(memo->font()).horizontalAdvance(QString(70, QLatin1Char('0')));
            })
        .On("TGrandeForm",
            [&] {
                selectedWhileFocused =
                    qobject_cast<QLineEdit*>(AppDriver::Widget("TGrandeForm", "PesMaskEdit"))
                        ->hasSelectedText();
            })
        .Key("TGrandeForm", "PesMaskEdit", Qt::Key_Tab)
        .On("TGrandeForm",
            [&] {
                selectedAfterLeaving =
                    qobject_cast<QLineEdit*>(AppDriver::Widget("TGrandeForm", "PesMaskEdit"))
                        ->hasSelectedText();
                focusMarkAfterTab =
                    AppDriver::Window("TGrandeForm")->testAttribute(Qt::WA_KeyboardFocusChange);
            })
        .Click("TGrandeForm", "RetBitBtn")
        .Click("TNutForm", "BitBtn1");
    ASSERT_TRUE(driver.Run()) << driver.Failure();
    EXPECT_TRUE(scrolled);
    EXPECT_LE(window.width(), room.width());
    EXPECT_LE(window.height(), room.height());
    EXPECT_TRUE(totalReadable);
    EXPECT_FALSE(totalTakesFocus);
    EXPECT_TRUE(iconShown);
    EXPECT_GE(memoRoom, seventyColumns);
    EXPECT_TRUE(selectedWhileFocused);
    EXPECT_FALSE(selectedAfterLeaving);
    EXPECT_TRUE(focusMarkAfterTab);
}

}  // namespace
}  // namespace velmaro::test

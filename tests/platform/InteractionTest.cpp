#include <gtest/gtest.h>

#include <vector>

#include "platform/Interaction.h"
#include "support/ScriptedUi.h"

namespace velmaro {
namespace {

// A small screen: a numeric field, a name field, a memo, a check box and two buttons.
struct Screen : Form {
    Screen()
        : Form("TTestForm"),
          Num(*this, "NumMaskEdit", "9999,99;1;_"),
          Nom(*this, "NomMaskEdit", ">cccccccccc;1;_"),
          Obs(*this, "ObsMemo"),
          Fix(*this, "FixCheckBox", "Fixa"),
          Gra(*this, "GraBitBtn", "&Grava"),
          Ret(*this, "RetBitBtn", "&Retorna") {
        Gra.onClick = [this] { ++graClicks; };
        Ret.modalResult = 2;
        onKeyPress = [this](char& key) { keysSeen += key; };
    }
    MaskEdit Num;
    MaskEdit Nom;
    Memo Obs;
    CheckBox Fix;
    Button Gra;
    Button Ret;
    int graClicks = 0;
    std::string keysSeen;
};

TEST(Interaction, EnteringAFilledFieldSelectsItSoTypingReplacesTheContent) {
    Screen s;
    s.Num.text = "  12,50";
    s.Num.caret = 3;
    MoveFocus(s, &s.Num);
    EXPECT_EQ(s.Num.caret, 0);
    EXPECT_EQ(s.Num.selLength, 7);
    TypeText(s, s.Num, "15,3");
    EXPECT_EQ(s.Num.text, "15  ,3 ");
    EXPECT_EQ(s.Num.selLength, 0);

    // Backspace on a selection clears it and nothing before it.
    s.SetFocus(&s.Nom);
    s.Nom.text = "FEIJAO    ";
    MoveFocus(s, &s.Num);
    TypeChar(s, s.Num, '\b');
    EXPECT_EQ(s.Num.text, "    ,  ");
    EXPECT_EQ(s.Num.caret, 0);

    // Delete clears the selection, or the position at the caret.
    MoveFocus(s, &s.Nom);
    s.Nom.selLength = 3;
    s.Nom.caret = 2;
    PressDelete(s.Nom);
    EXPECT_EQ(s.Nom.text, "FE   O    ");
    PressDelete(s.Nom);
    EXPECT_EQ(s.Nom.text, "FE   O    ");
    s.Nom.caret = 5;
    PressDelete(s.Nom);
    EXPECT_EQ(s.Nom.text, "FE        ");
}

TEST(Interaction, AHandlerRewritingTheTextDropsTheSelection) {
    Screen s;
    s.Num.onKeyPress = [&s](char& key) {
        if (key == ',') {
            s.Num.text = "  12,  ";
        }
    };
    s.Num.text = "12  ,  ";
    MoveFocus(s, &s.Num);
    TypeChar(s, s.Num, ',');
    TypeChar(s, s.Num, '5');
    EXPECT_EQ(s.Num.text, "  12,5 ");
}

TEST(Interaction, EnterClicksAFocusedOrDefaultButtonElseReachesTheKeyPreview) {
    Screen s;
    s.SetFocus(&s.Num);
    EXPECT_FALSE(PressEnterKey(s));
    EXPECT_EQ(s.keysSeen, "\r");
    EXPECT_EQ(s.graClicks, 0);

    s.Gra.isDefault = true;
    int exits = 0;
    s.Num.onExit = [&exits](Control*) { ++exits; };
    EXPECT_FALSE(PressEnterKey(s));
    EXPECT_EQ(s.graClicks, 1);
    EXPECT_EQ(s.ActiveControl(), &s.Num);  // the default button clicks without the focus
    EXPECT_EQ(exits, 0);

    // A memo takes Enter as a line break; the key preview still sees it first.
    s.SetFocus(&s.Obs);
    EXPECT_TRUE(PressEnterKey(s));
    EXPECT_EQ(s.graClicks, 1);
    EXPECT_EQ(s.keysSeen, "\r\r");
    s.Obs.readOnly = true;
    EXPECT_FALSE(PressEnterKey(s));

    s.SetFocus(&s.Ret);
    EXPECT_FALSE(PressEnterKey(s));
    EXPECT_TRUE(s.CloseRequested());
    EXPECT_EQ(s.modalResult, 2);
    EXPECT_EQ(s.graClicks, 1);
}

TEST(Interaction, WhereEnterWalksLikeTabItPressesNoButton) {
    Screen s;
    s.onKeyPress = [&s](char& key) { EnterMovesToNextControl(s, key); };
    std::vector<bool> leftByKey;
    s.Num.onExit = [&](Control*) { leftByKey.push_back(s.FocusMovingByKey()); };
    s.SetFocus(&s.Gra);
    EXPECT_FALSE(PressEnterKey(s));
    EXPECT_EQ(s.graClicks, 0);
    EXPECT_EQ(s.ActiveControl(), &s.Ret);
    EXPECT_FALSE(PressEnterKey(s));
    EXPECT_FALSE(s.CloseRequested()) << "Retorna is not pressed either";
    EXPECT_EQ(s.ActiveControl(), &s.Num);

    // Leaving by Enter or Tab is a walk; going to a control the user clicked is not.
    PressEnterKey(s);
    EXPECT_EQ(s.ActiveControl(), &s.Nom);
    s.SetFocus(&s.Num);
    MoveToNextControl(s);
    s.SetFocus(&s.Num);
    test::ScriptedUi ui;
    PressButton(ui, s, s.Gra);
    EXPECT_EQ(s.graClicks, 1);
    EXPECT_EQ(leftByKey, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(s.FocusMovingByKey());
}

TEST(Interaction, AMessageWhileLeavingSwallowsTheClick) {
    test::ScriptedUi ui;
    Screen s;
    s.SetFocus(&s.Num);
    s.Num.onExit = [&](Control*) { ui.ShowMessageBox("Valor inválido!", MessageKind::Ok); };
    PressCheckBox(ui, s, s.Fix);
    EXPECT_FALSE(s.Fix.checked);
    EXPECT_EQ(s.ActiveControl(), &s.Fix);

    // A field that keeps the focus when left has its text selected again.
    s.Num.text = "5000,  ";
    s.Num.onExit = [&](Control*) {
        ui.ShowMessageBox("Peso inválido!", MessageKind::Ok);
        s.SetFocus(&s.Num);
    };
    MoveFocus(s, &s.Num);
    s.Num.caret = 4;
    s.Num.selLength = 0;
    PressCheckBox(ui, s, s.Fix);
    EXPECT_EQ(s.ActiveControl(), &s.Num);
    EXPECT_EQ(s.Num.selLength, 7);
    TypeChar(s, s.Num, '7');
    EXPECT_EQ(s.Num.text, "7   ,  ");
    s.Num.onExit = nullptr;
    MoveFocus(s, &s.Fix);
    PressCheckBox(ui, s, s.Fix);
    EXPECT_TRUE(s.Fix.checked);
    EXPECT_EQ(ui.Messages().size(), 2U);
}

TEST(Interaction, TheCloseBoxAsksTheFormAndClosesWithCancel) {
    Screen s;
    bool allow = false;
    s.onCloseQuery = [&allow] { return allow; };
    EXPECT_FALSE(RequestClose(s));
    EXPECT_FALSE(s.CloseRequested());
    allow = true;
    s.borderIcons = false;
    EXPECT_FALSE(RequestClose(s));
    s.borderIcons = true;
    EXPECT_TRUE(RequestClose(s));
    EXPECT_EQ(s.modalResult, kModalCancel);

    Screen fresh;
    FocusFirstIfNone(fresh);
    EXPECT_EQ(fresh.ActiveControl(), &fresh.Num);
    fresh.SetFocus(&fresh.Gra);
    FocusFirstIfNone(fresh);
    EXPECT_EQ(fresh.ActiveControl(), &fresh.Gra);
}

}  // namespace
}  // namespace velmaro

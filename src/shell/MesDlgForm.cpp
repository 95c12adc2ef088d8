#include "shell/MesDlgForm.h"

#include <algorithm>
#include <cmath>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

// The text left margin, the width below which a message is centred in the fixed
// width, and the margin added to a wider text.
constexpr int kTextLeft = 15;
constexpr int kWideText = 300;
constexpr int kNarrowWidth = 330;
constexpr int kWideMargin = 30;
constexpr int kTextTop = 20;
constexpr int kButtonBottomMargin = 15;
constexpr int kTextToButtons = 10;

int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

TMesDlgForm::TMesDlgForm()
    : Form("TMesDlgForm"),
      MenLabel(*this, "MenLabel"),
      DesImage(*this, "DesImage"),
      SimBitBtn(*this, "SimBitBtn", "&SIM"),
      NaoBitBtn(*this, "NaoBitBtn", W("&NÃO")),
      OkBitBtn(*this, "OkBitBtn", "&OK") {
    borderIcons = false;
    MenLabel.centred = true;
    SimBitBtn.modalResult = kAnswerYes;
    NaoBitBtn.modalResult = kAnswerNo;
    OkBitBtn.modalResult = kAnswerOk;
    SimBitBtn.onClick = [this] { SimBitBtnClick(); };
    NaoBitBtn.onClick = [this] { NaoBitBtnClick(); };
    OkBitBtn.onClick = [this] { OkBitBtnClick(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
}

void TMesDlgForm::Prepare(const std::string& text, MessageKind kind, int textWidth, int buttonWidth,
                          int pictureWidth, int pictureHeight, int textHeight) {
    ResetClose();
    MenLabel.caption = text;
    MenLabel.width = textWidth;
    MenLabel.left = kTextLeft;
    int w = textWidth;
    if (w >= kWideText) {
        w += kWideMargin;
    } else {
        // Round((330 - w) / 2) as the system rounds: halves to the even neighbour.
        MenLabel.left = RoundHalfEven((kNarrowWidth - w) / 2.0);
        w = kNarrowWidth;
    }

    height =
        std::max({pictureHeight, kMinHeight,
                  kTextTop + textHeight + kTextToButtons + kButtonHeight + kButtonBottomMargin});
    const int buttonTop = height - kButtonHeight - kButtonBottomMargin;
    MenLabel.top = kTextTop;
    for (Button* b : {&SimBitBtn, &NaoBitBtn, &OkBitBtn}) {
        b->width = buttonWidth;
        b->height = kButtonHeight;
        b->top = buttonTop;
        b->isDefault = false;
    }
    if (kind == MessageKind::YesNo) {
        OkBitBtn.visible = false;
        SimBitBtn.visible = true;
        SimBitBtn.isDefault = true;
        SimBitBtn.left = RoundHalfEven(w / 2.0 - 3.0 * buttonWidth / 2.0);
        NaoBitBtn.visible = true;
        NaoBitBtn.left = RoundHalfEven(w / 2.0 + buttonWidth / 2.0);
        SetFocus(&SimBitBtn);
    } else {
        SimBitBtn.visible = false;
        NaoBitBtn.visible = false;
        OkBitBtn.visible = true;
        OkBitBtn.isDefault = true;
        OkBitBtn.left = RoundHalfEven(w / 2.0 - buttonWidth / 2.0);
        SetFocus(&OkBitBtn);
    }

    DesImage.visible = pictureWidth > 0 && pictureHeight > 0;
    DesImage.left = w;
    DesImage.top = 0;
    DesImage.width = pictureWidth;
    DesImage.height = pictureHeight;
    width = w + pictureWidth;
}

MessageLines BreakMessageLines(const std::string& text, int maxWidth,
                               const std::function<int(const std::string&)>& widthOf) {
    MessageLines out;
    auto add = [&](const std::string& line) {
        out.text += (out.count == 0 ? "" : "\n") + line;
        out.width = std::max(out.width, widthOf(line));
        ++out.count;
    };
    for (const std::string& line : SplitLines(text)) {
        if (widthOf(line) <= maxWidth) {
            add(line);
        } else {
            for (const std::string& piece : WrapWords(line, maxWidth, widthOf)) {
                add(piece);
            }
        }
    }
    return out;
}

void TMesDlgForm::SimBitBtnClick() {
    Close(kAnswerYes);
}
void TMesDlgForm::NaoBitBtnClick() {
    Close(kAnswerNo);
}
void TMesDlgForm::OkBitBtnClick() {
    Close(kAnswerOk);
}

// Only the buttons close the dialog: its close box, Escape and Alt+F4 do nothing.
bool TMesDlgForm::FormCloseQuery() {
    return CloseRequested();
}

LayoutItem TMesDlgForm::Layout() {
    return LayoutItem::Absolute({LayoutItem::Of(MenLabel), LayoutItem::Of(DesImage),
                                 LayoutItem::Of(SimBitBtn), LayoutItem::Of(NaoBitBtn),
                                 LayoutItem::Of(OkBitBtn)});
}

}  // namespace velmaro

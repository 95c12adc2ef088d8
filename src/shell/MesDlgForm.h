#pragma once

// The message dialog: every message and yes/no question of the program passes through
// it. Its size follows the width of the text; it closes only through its buttons.

#include <string>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

class TMesDlgForm : public Form {
  public:
    TMesDlgForm();

    Label MenLabel;
    Image DesImage;
    Button SimBitBtn;
    Button NaoBitBtn;
    Button OkBitBtn;

    // Fills the dialog for one message: the text, its kind, and the measures the
    // platform gives (the text width in the label's font, the width of a button, the
    // picture's size, 0 × 0 when there is no picture).
    void Prepare(const std::string& text, MessageKind kind, int textWidth, int buttonWidth,
                 int pictureWidth, int pictureHeight);

    void SimBitBtnClick();
    void NaoBitBtnClick();
    void OkBitBtnClick();
    bool FormCloseQuery();

    LayoutItem Layout() override;

    static constexpr int kButtonHeight = 25;
    // Without a picture (or with a very low one) the dialog still has room for the text
    // and the buttons.
    static constexpr int kMinHeight = 100;
};

}  // namespace velmaro

#pragma once

// The message dialog: every message and yes/no question of the program passes through
// it. Its size follows the width of the text; it closes only through its buttons.

#include <functional>
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
    // platform gives (the width of the text's widest line in the label's font, the width
    // of a button, the picture's size, 0 × 0 when there is no picture, and the height of
    // the text's lines, which makes the dialog taller than the picture when it needs to).
    void Prepare(const std::string& text, MessageKind kind, int textWidth, int buttonWidth,
                 int pictureWidth, int pictureHeight, int textHeight = 0);

    void SimBitBtnClick();
    void NaoBitBtnClick();
    void OkBitBtnClick();
    bool FormCloseQuery();

    LayoutItem Layout() override;

    static constexpr int kButtonHeight = 25;
    // Without a picture (or with a very low one) the dialog still has room for the text
    // and the buttons.
    static constexpr int kMinHeight = 100;
    // The widest a line of a message is shown; a longer line is broken between words.
    static constexpr int kMaxTextWidth = 800;
};

// A message as the dialog shows it: its lines ("\n"), each line wider than `maxWidth`
// broken between words (a single word wider than that stays whole), with the width of
// the widest line and the number of lines.
struct MessageLines {
    std::string text;
    int width = 0;
    int count = 0;
};
MessageLines BreakMessageLines(const std::string& text, int maxWidth,
                               const std::function<int(const std::string&)>& widthOf);

}  // namespace velmaro

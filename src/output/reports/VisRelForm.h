#pragma once

// The preview window of the technical-sheet reports: the report's picture, full size, in a
// window that fits the screen ("TELA VISUALIZA RELATÓRIO - click duas vezes para
// voltar..."). A double click on the picture closes it.
//
// Opening: the report screen draws the picture into RelImage, calls FitToImage and shows
// the window modally.

#include "platform/Form.h"

namespace velmaro {

class TVisRelForm : public Form {
  public:
    TVisRelForm();

    // The report's picture at its full size.
    Image RelImage;

    // The client area takes the picture's size, at most kMaxClientWidth wide and
    // kMaxWindowHeight high; a scroll bar shows the rest of a picture that is wider or
    // higher than that.
    static constexpr int kMaxClientWidth = 780;
    static constexpr int kMaxWindowHeight = 540;
    bool horizontalScrollBar = false;
    bool verticalScrollBar = false;

    // Sizes the window for the picture now in RelImage (its pixelWidth x pixelHeight).
    void FitToImage();

    void RelImageDblClick();

    LayoutItem Layout() override;
};

}  // namespace velmaro

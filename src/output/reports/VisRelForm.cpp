#include "output/reports/VisRelForm.h"

#include <algorithm>

#include "storage/Cp1252.h"

namespace velmaro {

TVisRelForm::TVisRelForm() : Form("TVisRelForm"), RelImage(*this, "RelImage") {
    caption = W("TELA VISUALIZA RELATÓRIO - click duas vezes para voltar...");
    RelImage.onDblClick = [this] { RelImageDblClick(); };
}

void TVisRelForm::FitToImage() {
    RelImage.width = RelImage.pixelWidth;
    RelImage.height = RelImage.pixelHeight;
    horizontalScrollBar = RelImage.pixelWidth > kMaxClientWidth;
    verticalScrollBar = RelImage.pixelHeight > kMaxWindowHeight;
    width = std::min(RelImage.pixelWidth, kMaxClientWidth);
    height = std::min(RelImage.pixelHeight, kMaxWindowHeight);
}

void TVisRelForm::RelImageDblClick() {
    Close();
}

LayoutItem TVisRelForm::Layout() {
    return LayoutItem::Scroll(LayoutItem::Of(RelImage));
}

}  // namespace velmaro

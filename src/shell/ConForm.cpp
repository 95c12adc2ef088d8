#include "shell/ConForm.h"

namespace velmaro {

TConForm::TConForm() : Form("TConForm"), ProgressBar(*this, "ProgressBar") {
    caption = "Aguarde Processamento ...";
    width = 400;
    height = 60;
    ProgressBar.width = 370;
}

void TConForm::Start(int maximum) {
    ProgressBar.minimum = 0;
    ProgressBar.maximum = maximum > 0 ? maximum : 100;
    ProgressBar.position = 0;
}

LayoutItem TConForm::Layout() {
    return LayoutItem::Column({LayoutItem::Of(ProgressBar)});
}

}  // namespace velmaro

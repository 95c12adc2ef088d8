#include "shell/LisForm.h"

namespace velmaro {

TLisForm::TLisForm() : Form("TLisForm"), ListBox(*this, "ListBox") {
    caption = "TELA LISTA ITENS";
    width = 420;
    height = 360;
    ListBox.onDblClick = [this] { ListBoxDblClick(); };
    ListBox.onKeyPress = [this](char& key) { ListBoxKeyPress(key); };
}

void TLisForm::Fill(const std::string& title, const std::vector<std::string>& items,
                    int preselected) {
    ResetClose();
    caption = title.empty() ? std::string("TELA LISTA ITENS") : title;
    ListBox.items = items;
    ListBox.itemIndex = preselected;
    SetFocus(&ListBox);
}

void TLisForm::ListBoxDblClick() {
    Close(kAnswerOk);
}

void TLisForm::ListBoxKeyPress(char& key) {
    if (key == '\r') {
        key = 0;
        Close(kAnswerOk);
    }
}

LayoutItem TLisForm::Layout() {
    return LayoutItem::Column({LayoutItem::Of(ListBox)});
}

}  // namespace velmaro

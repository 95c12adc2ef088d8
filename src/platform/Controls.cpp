#include "platform/Controls.h"

#include "platform/Form.h"
#include "platform/MaskLogic.h"

namespace velmaro {

Control::Control(Form& owner, std::string name, ControlKind kind)
    : m_owner(&owner), m_name(std::move(name)), m_kind(kind) {
    owner.Register(this);
}

bool Control::TabStop() const {
    switch (m_kind) {
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::ProgressBar:
            return false;
        default:
            return true;
    }
}

MaskEdit::MaskEdit(Form& owner, std::string name, std::string editMask)
    : Control(owner, std::move(name), ControlKind::MaskEdit) {
    SetMask(std::move(editMask));
}

void MaskEdit::SetMask(std::string editMask) {
    m_mask = std::move(editMask);
    Clear();
}

void MaskEdit::Clear() {
    text = m_mask.empty() ? std::string() : MaskEmptyText(m_mask);
    maxLength = static_cast<int>(m_mask.empty() ? 0 : ParseMask(m_mask).slots.size());
    caret = 0;
    selLength = 0;
}

int MaskEdit::DisplayWidth() const {
    return m_mask.empty() ? static_cast<int>(text.size())
                          : static_cast<int>(ParseMask(m_mask).slots.size());
}

void MaskEdit::SelectAll() {
    caret = 0;
    selLength = DisplayWidth();
}

Button::Button(Form& owner, std::string name, std::string buttonCaption)
    : Control(owner, std::move(name), ControlKind::Button) {
    caption = std::move(buttonCaption);
}

CheckBox::CheckBox(Form& owner, std::string name, std::string boxCaption)
    : Control(owner, std::move(name), ControlKind::CheckBox) {
    caption = std::move(boxCaption);
}

RadioButton::RadioButton(Form& owner, std::string name, std::string buttonCaption, int radioGroup)
    : Control(owner, std::move(name), ControlKind::RadioButton), group(radioGroup) {
    caption = std::move(buttonCaption);
}

ComboBox::ComboBox(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::ComboBox) {}

const std::string& ComboBox::SelectedText() const {
    static const std::string empty;
    if (itemIndex < 0 || static_cast<size_t>(itemIndex) >= items.size()) {
        return editable ? text : empty;
    }
    return items[static_cast<size_t>(itemIndex)];
}

ListBox::ListBox(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::ListBox) {}

Memo::Memo(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Memo) {}

Label::Label(Form& owner, std::string name, std::string labelCaption)
    : Control(owner, std::move(name), ControlKind::Label) {
    caption = std::move(labelCaption);
}

Image::Image(Form& owner, std::string name) : Control(owner, std::move(name), ControlKind::Image) {}

ProgressBar::ProgressBar(Form& owner, std::string name)
    : Control(owner, std::move(name), ControlKind::ProgressBar) {}

}  // namespace velmaro

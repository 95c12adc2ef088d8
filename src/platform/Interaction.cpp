#include "platform/Interaction.h"

#include <algorithm>

#include "platform/MaskLogic.h"

namespace velmaro {

bool MoveFocus(Form& form, Control* target) {
    Control* from = form.ActiveControl();
    if (from == target) {
        return true;
    }
    form.MarkFocus();
    if (from != nullptr && from->onExit) {
        from->onExit(target);
    }
    if (form.CloseRequested() || form.FocusWasSetSinceMark()) {
        return form.ActiveControl() == target;
    }
    form.SetFocus(target);
    if (target != nullptr && target->onEnter) {
        target->onEnter();
    }
    return true;
}

void PressButton(Ui& ui, Form& form, Button& button) {
    if (!button.enabled || !button.visible) {
        return;
    }
    const int dialogsBefore = ui.DialogsShown();
    if (!MoveFocus(form, &button) || ui.DialogsShown() != dialogsBefore || form.CloseRequested()) {
        return;
    }
    button.Click();
    if (button.modalResult != 0 && !form.CloseRequested()) {
        form.Close(button.modalResult);
    }
}

namespace {

void ApplyToField(Control& control, char key) {
    if (control.Kind() != ControlKind::MaskEdit) {
        return;
    }
    auto& edit = static_cast<MaskEdit&>(control);
    if (edit.readOnly || !edit.enabled) {
        return;
    }
    const std::string before = edit.text;
    if (key == '\b') {
        if (edit.Mask().empty()) {
            if (edit.caret > 0 && static_cast<size_t>(edit.caret) <= edit.text.size()) {
                edit.text.erase(static_cast<size_t>(edit.caret - 1), 1);
                --edit.caret;
            }
        } else {
            MaskBackspace(edit.Mask(), edit.text, edit.caret);
        }
    } else if (static_cast<unsigned char>(key) >= 32) {
        if (edit.Mask().empty()) {
            if (edit.maxLength == 0 || static_cast<int>(edit.text.size()) < edit.maxLength) {
                const auto at = std::min(static_cast<size_t>(std::max(edit.caret, 0)), edit.text.size());
                edit.text.insert(at, 1, key);
                edit.caret = static_cast<int>(at) + 1;
            }
        } else {
            MaskTypeChar(edit.Mask(), edit.text, edit.caret, key);
        }
    }
    if (edit.text != before && edit.onChange) {
        edit.onChange();
    }
}

}  // namespace

void TypeChar(Form& form, Control& control, char key) {
    if (form.onKeyPress) {
        form.onKeyPress(key);
    }
    if (key == 0 || form.CloseRequested()) {
        return;
    }
    if (control.onKeyPress) {
        control.onKeyPress(key);
    }
    if (key == 0 || form.CloseRequested()) {
        return;
    }
    ApplyToField(control, key);
}

void TypeText(Form& form, Control& control, const std::string& text) {
    for (char c : text) {
        TypeChar(form, control, c);
    }
}

void PressEnter(Form& form) {
    if (Control* c = form.ActiveControl()) {
        TypeChar(form, *c, '\r');
    } else if (form.onKeyPress) {
        char key = '\r';
        form.onKeyPress(key);
    }
}

void UserSetText(MaskEdit& edit, const std::string& text) {
    if (edit.text == text) {
        return;
    }
    edit.text = text;
    if (edit.onChange) {
        edit.onChange();
    }
}

void UserSelect(ComboBox& combo, int index) {
    if (combo.itemIndex == index) {
        return;
    }
    combo.itemIndex = index;
    if (index >= 0 && static_cast<size_t>(index) < combo.items.size()) {
        combo.text = combo.items[static_cast<size_t>(index)];
    }
    if (combo.onChange) {
        combo.onChange();
    }
}

void UserSelect(ListBox& list, int index) {
    list.itemIndex = index;
    if (list.onClick) {
        list.onClick();
    }
}

void UserToggle(CheckBox& box) {
    box.checked = !box.checked;
    if (box.onClick) {
        box.onClick();
    }
}

void UserCheck(RadioButton& button) {
    if (button.checked) {
        return;
    }
    for (Control* c : button.Owner().Controls()) {
        if (c != &button && c->Kind() == ControlKind::RadioButton) {
            auto* other = static_cast<RadioButton*>(c);
            if (other->group == button.group) {
                other->checked = false;
            }
        }
    }
    button.checked = true;
    if (button.onClick) {
        button.onClick();
    }
}

}  // namespace velmaro

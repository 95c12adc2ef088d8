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
        // Kept in a field it refused to leave, the user finds its text selected, ready
        // to be typed over.
        if (from != nullptr && form.ActiveControl() == from &&
            from->Kind() == ControlKind::MaskEdit) {
            static_cast<MaskEdit*>(from)->SelectAll();
        }
        return form.ActiveControl() == target;
    }
    form.SetFocus(target);
    if (target != nullptr && target->onEnter) {
        target->onEnter();
    }
    return true;
}

void MoveToNextControl(Form& form, bool forward) {
    Control* next = form.NextControl(form.ActiveControl(), forward);
    if (next == nullptr) {
        return;
    }
    // Cleared however the exit handler ends.
    struct ByKey {
        Form& walked;
        explicit ByKey(Form& f) : walked(f) { walked.SetFocusMovingByKey(true); }
        ~ByKey() { walked.SetFocusMovingByKey(false); }
        ByKey(const ByKey&) = delete;
        ByKey& operator=(const ByKey&) = delete;
    } byKey(form);
    MoveFocus(form, next);
}

void EnterMovesToNextControl(Form& form, char& key) {
    if (key != '\r') {
        return;
    }
    key = 0;
    MoveToNextControl(form);
}

bool FocusForClick(Ui& ui, Form& form, Control& control) {
    if (!control.enabled || !control.visible) {
        return false;
    }
    const int dialogsBefore = ui.DialogsShown();
    return MoveFocus(form, &control) && ui.DialogsShown() == dialogsBefore &&
           !form.CloseRequested();
}

namespace {

void ClickButton(Form& form, Button& button) {
    button.Click();
    if (button.modalResult != 0 && !form.CloseRequested()) {
        form.Close(button.modalResult);
    }
}

}  // namespace

void PressButton(Ui& ui, Form& form, Button& button) {
    if (FocusForClick(ui, form, button)) {
        ClickButton(form, button);
    }
}

void PressCheckBox(Ui& ui, Form& form, CheckBox& box) {
    if (FocusForClick(ui, form, box)) {
        UserToggle(box);
    }
}

void PressRadioButton(Ui& ui, Form& form, RadioButton& button) {
    if (FocusForClick(ui, form, button)) {
        UserCheck(button);
    }
}

namespace {

// Blanks the selected positions of a field (removes them from a field without mask);
// the caret goes to the start of the selection.
void ClearSelection(MaskEdit& edit) {
    const int width = edit.DisplayWidth();
    const int start = std::clamp(edit.caret, 0, width);
    const int end = std::clamp(edit.caret + edit.selLength, start, width);
    edit.selLength = 0;
    edit.caret = start;
    if (edit.Mask().empty()) {
        edit.text.erase(static_cast<size_t>(start), static_cast<size_t>(end - start));
        return;
    }
    const MaskInfo info = ParseMask(edit.Mask());
    for (int pos = start; pos < end; ++pos) {
        if (info.slots[static_cast<size_t>(pos)].kind != MaskSlot::Kind::Literal) {
            MaskDelete(edit.Mask(), edit.text, pos);
        }
    }
}

void ApplyToField(Control& control, char key) {
    if (control.Kind() != ControlKind::MaskEdit) {
        return;
    }
    auto& edit = static_cast<MaskEdit&>(control);
    if (edit.readOnly || !edit.enabled) {
        return;
    }
    const std::string before = edit.text;
    if (edit.selLength > 0 && (key == '\b' || static_cast<unsigned char>(key) >= 32)) {
        ClearSelection(edit);
        if (key == '\b') {
            key = 0;  // Backspace only clears the selection
        }
    }
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
                const auto at =
                    std::min(static_cast<size_t>(std::max(edit.caret, 0)), edit.text.size());
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

char PreviewKey(Form& form, Control& control, char key) {
    if (form.onKeyPress) {
        form.onKeyPress(key);
    }
    if (key == 0 || form.CloseRequested()) {
        return 0;
    }
    if (control.onKeyPress) {
        control.onKeyPress(key);
    }
    return form.CloseRequested() ? 0 : key;
}

void TypeChar(Form& form, Control& control, char key) {
    std::string before;
    if (control.Kind() == ControlKind::MaskEdit) {
        before = static_cast<MaskEdit&>(control).text;
    }
    key = PreviewKey(form, control, key);
    if (control.Kind() == ControlKind::MaskEdit) {
        auto& edit = static_cast<MaskEdit&>(control);
        // A handler that rewrote the text leaves nothing selected.
        if (edit.text != before) {
            edit.selLength = 0;
        }
    }
    if (key != 0) {
        ApplyToField(control, key);
    }
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

bool PressEnterKey(Form& form) {
    Control* active = form.ActiveControl();
    const bool inMemo = active != nullptr && active->Kind() == ControlKind::Memo;
    if (active != nullptr && active->Kind() == ControlKind::Button && active->enabled &&
        active->visible) {
        if (form.onKeyPress) {
            char key = '\r';
            form.onKeyPress(key);
            if (key == 0 || form.CloseRequested()) {
                return false;
            }
        }
        ClickButton(form, static_cast<Button&>(*active));
        return false;
    }
    if (!inMemo) {
        for (Control* c : form.Controls()) {
            if (c->Kind() == ControlKind::Button && static_cast<Button*>(c)->isDefault &&
                c->enabled && c->visible) {
                ClickButton(form, static_cast<Button&>(*c));
                return false;
            }
        }
    }
    if (active == nullptr) {
        PressEnter(form);
        return false;
    }
    if (inMemo) {
        const char key = PreviewKey(form, *active, '\r');
        return key == '\r' && !static_cast<Memo*>(active)->readOnly && active->enabled;
    }
    TypeChar(form, *active, '\r');
    return false;
}

void PressDelete(MaskEdit& edit) {
    if (edit.readOnly || !edit.enabled) {
        return;
    }
    const std::string before = edit.text;
    if (edit.selLength > 0) {
        ClearSelection(edit);
    } else if (edit.Mask().empty()) {
        if (edit.caret >= 0 && static_cast<size_t>(edit.caret) < edit.text.size()) {
            edit.text.erase(static_cast<size_t>(edit.caret), 1);
        }
    } else {
        MaskDelete(edit.Mask(), edit.text, edit.caret);
    }
    if (edit.text != before && edit.onChange) {
        edit.onChange();
    }
}

bool RequestClose(Form& form) {
    if (!form.borderIcons) {
        return false;
    }
    if (form.onCloseQuery && !form.onCloseQuery()) {
        return false;
    }
    form.Close(kModalCancel);
    return true;
}

void FocusFirstIfNone(Form& form) {
    if (form.ActiveControl() == nullptr) {
        if (Control* first = form.NextControl(nullptr)) {
            form.SetFocus(first);
        }
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

void UserClickAt(MaskEdit& edit, int position) {
    edit.caret = MaskClickCaret(edit.Mask(), edit.text, position);
    edit.selLength = 0;
}

void UserChoose(ComboBox& combo, int index) {
    UserSelect(combo, index);
    combo.Click();
}

void UserSetText(ComboBox& combo, const std::string& text) {
    if (combo.text == text) {
        return;
    }
    combo.text = text;
    const auto it = std::find(combo.items.begin(), combo.items.end(), text);
    combo.itemIndex = it == combo.items.end() ? -1 : static_cast<int>(it - combo.items.begin());
    if (combo.onChange) {
        combo.onChange();
    }
}

void UserSetLines(Memo& memo, const std::vector<std::string>& lines) {
    if (memo.lines == lines) {
        return;
    }
    memo.lines = lines;
    if (memo.onChange) {
        memo.onChange();
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

#pragma once

// The user's actions on a form, the same for the Qt skin and for tests: focus moving
// between controls (with the exit handler of the control left), buttons pressed,
// characters typed (form key preview, then the control's handler, then the field),
// texts edited and items chosen.

#include <string>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

// Leaves the active control for `target`: its exit handler runs with the target; the
// focus then goes to the target unless the handler put it elsewhere or closed the form.
// Returns true when the focus reached the target.
bool MoveFocus(Form& form, Control* target);

// Moves the focus to the button and clicks it, unless leaving the previous control
// raised a dialog, moved the focus elsewhere or closed the form (the click is then
// swallowed). A disabled or hidden button does nothing.
void PressButton(Ui& ui, Form& form, Button& button);

// Types one character into the control that has the focus (or `control`).
void TypeChar(Form& form, Control& control, char key);
void TypeText(Form& form, Control& control, const std::string& text);
// Enter: the form's key preview sees character 13 first.
void PressEnter(Form& form);

// The user replaced the whole text of a field (pasting, or the Qt widget's edit).
void UserSetText(MaskEdit& edit, const std::string& text);
void UserSelect(ComboBox& combo, int index);
void UserSelect(ListBox& list, int index);
void UserToggle(CheckBox& box);
void UserCheck(RadioButton& button);

}  // namespace velmaro

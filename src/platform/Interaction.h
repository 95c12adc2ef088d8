#pragma once

// The user's actions on a form, the same for the Qt skin and for tests: focus moving
// between controls (with the exit handler of the control left), buttons pressed,
// characters typed (form key preview, then the control's handler, then the field),
// texts edited and items chosen.

#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro {

// Leaves the active control for `target`: its exit handler runs with the target; the
// focus then goes to the target unless the handler put it elsewhere or closed the form.
// Returns true when the focus reached the target.
bool MoveFocus(Form& form, Control* target);

// Tab (or Shift+Tab): the focus walks to the next control in tab order that can take it.
// The exit handler of the control left sees FocusMovingByKey() set, so that it can tell
// the walk from a click on the control that receives the focus.
void MoveToNextControl(Form& form, bool forward = true);
// A form's key preview for screens where Enter walks through the controls like Tab:
// Enter (character 13) is swallowed and the focus moves on, from a button too.
void EnterMovesToNextControl(Form& form, char& key);

// Moves the focus to the button and clicks it, unless leaving the previous control
// raised a dialog, moved the focus elsewhere or closed the form (the click is then
// swallowed). A disabled or hidden button does nothing.
void PressButton(Ui& ui, Form& form, Button& button);

// A click on a control that takes no focus of its own when pressed (buttons, check
// boxes, radio buttons): the focus moves to it first. False when leaving the previous
// control raised a dialog, moved the focus elsewhere or closed the form: the click is
// then swallowed.
bool FocusForClick(Ui& ui, Form& form, Control& control);
void PressCheckBox(Ui& ui, Form& form, CheckBox& box);
void PressRadioButton(Ui& ui, Form& form, RadioButton& button);

// A typed character through the form's key preview and then the control's handler:
// the key that reaches the control, or 0 when a handler swallowed it or closed the form.
char PreviewKey(Form& form, Control& control, char key);
// Types one character into the control that has the focus (or `control`).
void TypeChar(Form& form, Control& control, char key);
void TypeText(Form& form, Control& control, const std::string& text);
// Enter: the form's key preview sees character 13 first.
void PressEnter(Form& form);
// The Enter key as a dialog window treats it: a focused button is clicked (unless the
// form's key preview, which sees the key first, swallows it: on a screen where Enter
// walks like Tab, Enter never presses a button); otherwise a
// shown, enabled default button is clicked (the focus stays where it is), unless the
// focus is in a memo, which takes Enter itself; otherwise character 13 is typed (key
// preview first). True when a memo is to break the line (13 reached it unswallowed).
bool PressEnterKey(Form& form);
// The Delete key in a masked field: clears the position at the caret.
void PressDelete(MaskEdit& edit);

// The window's close box (or the desktop's close command): refused when the form has
// no close box or its close query says no; otherwise the form closes with kModalCancel.
inline constexpr int kModalCancel = 2;
bool RequestClose(Form& form);
// Focus for a form about to be shown that has none yet: its first control in tab order.
void FocusFirstIfNone(Form& form);

// The user replaced the whole text of a field (pasting, or the Qt widget's edit).
void UserSetText(MaskEdit& edit, const std::string& text);
// A click in a field at display position `position` (no selection made): the caret goes
// where MaskClickCaret puts it.
void UserClickAt(MaskEdit& edit, int position);
void UserSelect(ComboBox& combo, int index);
// The user chose an item from the open list of a combo box (a click on it, or Enter in
// the list): it is selected as above, then the combo box's click handler runs.
void UserChoose(ComboBox& combo, int index);
// The user edited the text of an editable combo box.
void UserSetText(ComboBox& combo, const std::string& text);
// The user edited a memo (its own editing: typing, line breaks, pasting).
void UserSetLines(Memo& memo, const std::vector<std::string>& lines);
void UserSelect(ListBox& list, int index);
void UserToggle(CheckBox& box);
void UserCheck(RadioButton& button);

}  // namespace velmaro

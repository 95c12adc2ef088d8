#pragma once

// A screen as plain state: caption, controls in tab order, the focused control, the
// start-pending flag, and closing. Screens derive from Form, hold their controls as
// members, and wire the controls' events to their handlers in the constructor.

#include <functional>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Layout.h"

namespace velmaro {

// Answers of the message dialog and modal results.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

class Form {
  public:
    explicit Form(std::string className);
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& ClassName() const { return m_className; }

    std::string caption;
    bool startPending = false;
    int width = 0;  // client size in pixels; 0 lets the layout choose
    int height = 0;
    bool borderIcons = true;  // the window's close box; false for the message dialog

    // The controls in the order they were created, which is the tab order.
    const std::vector<Control*>& Controls() const { return m_controls; }
    Control* ActiveControl() const { return m_active; }
    // Puts the focus on a control (also from inside an exit handler, which then keeps it).
    // A masked field that receives the focus has all of its text selected.
    void SetFocus(Control* control);
    bool FocusWasSetSinceMark() const { return m_focusSet; }
    void MarkFocus() { m_focusSet = false; }
    // The next control in tab order that can take the focus, after `from`.
    Control* NextControl(Control* from, bool forward = true) const;
    // True while the focus walks to the next control by Tab or Enter, rather than going
    // to a control the user clicked (MoveToNextControl sets it).
    bool FocusMovingByKey() const { return m_focusByKey; }
    void SetFocusMovingByKey(bool byKey) { m_focusByKey = byKey; }

    // Modal state: a form is open between ShowModal and Close.
    void Close(int result = 0);
    bool CloseRequested() const { return m_closeRequested; }
    void ResetClose() {
        m_closeRequested = false;
        modalResult = 0;
    }
    int modalResult = 0;

    std::function<void()> onActivate;
    std::function<void()> onDeactivate;  // the window lost the focus to another window
    std::function<bool()> onCloseQuery;  // the close box: false keeps the window open
    std::function<void()> onClose;
    // Sees every character typed in the form before its controls (key preview).
    std::function<void(char& key)> onKeyPress;

    // The arrangement the Qt skin builds; by default every control in a column.
    virtual LayoutItem Layout();

  protected:
    friend class Control;
    void Register(Control* c) { m_controls.push_back(c); }

  private:
    std::string m_className;
    std::vector<Control*> m_controls;
    Control* m_active = nullptr;
    bool m_focusSet = false;
    bool m_focusByKey = false;
    bool m_closeRequested = false;
};

}  // namespace velmaro

#pragma once

// The masked entry field on screen: shows the field's display text (blanks as the
// mask's blank character, literals in place) with the caret and selection of the model,
// and turns the user's keys into the model's operations. It never edits its own text:
// each typed character goes to the form (key preview, the field's handler, then the
// mask), and the field is shown again from the model.

#include <QLineEdit>
#include <functional>
#include <string>

#include "platform/Controls.h"

namespace velmaro::qt {

class MaskEditWidget : public QLineEdit {
  public:
    struct Actions {
        std::function<void(char key)> type;             // a character, or '\b' for Backspace
        std::function<void()> erase;                    // Delete
        std::function<void(const std::string&)> paste;  // Windows-1252 text
        std::function<void(int caret, int selLength)> caretMoved;
        std::function<void(int position)> clicked;  // a click that selected nothing
        std::function<void()> refused;              // a character Windows-1252 cannot hold
    };

    explicit MaskEditWidget(QWidget* parent = nullptr);
    void SetActions(Actions actions) { m_actions = std::move(actions); }

    // Shows the model's text, caret and selection; nothing is reported back meanwhile.
    void ShowField(const MaskEdit& edit);
    // The width the field needs in this widget's font: room for a digit in each digit
    // position, for a wide letter in each other one, and for the literals; 0 for a free
    // text field without a length.
    int FieldWidth(const MaskEdit& edit) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void ReportCaret();
    void ShowSelection();
    // Runs the line edit's own handling of a user's key or mouse action: the caret and
    // selection it leaves are the user's and go to the model.
    template <typename Handle>
    void ByUser(Handle handle);

    Actions m_actions;
    bool m_showing = false;
    // The caret and selection of the model, as last shown.
    int m_caret = 0;
    int m_selLength = 0;
    // Only the user moves the model's caret: the line edit also moves its cursor by
    // itself (deferred updates after a text was shown, focus changes), which must not
    // undo the selection the model put on a field it entered.
    bool m_byUser = false;
};

}  // namespace velmaro::qt

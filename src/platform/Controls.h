#pragma once

// The controls of a screen as plain state: what a window shows and what the user did,
// with the events a screen's handlers are wired to. The Qt skin renders these and
// forwards the user's actions; tests drive them directly. All texts are Windows-1252.

#include <functional>
#include <string>
#include <vector>

namespace velmaro {

class Form;

enum class ControlKind {
    MaskEdit,
    Button,
    ComboBox,
    CheckBox,
    RadioButton,
    ListBox,
    Memo,
    Label,
    Image,
    ProgressBar,
};

class Control {
  public:
    Control(Form& owner, std::string name, ControlKind kind);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Owner() const { return *m_owner; }
    const std::string& Name() const { return m_name; }
    ControlKind Kind() const { return m_kind; }
    // Takes part in the Tab/Enter order (labels, images and progress bars do not).
    bool TabStop() const;
    bool CanFocus() const { return TabStop() && enabled && visible; }

    std::string caption;  // buttons, check boxes, radio buttons, labels
    std::string label;    // the text shown beside an edit, combo box or list
    std::string hint;
    bool enabled = true;
    bool visible = true;
    int width = 0;  // pixels; 0 lets the layout choose
    int height = 0;
    // Position in the form's client area, for forms that place their controls themselves
    // (a LayoutItem::Absolute arrangement).
    int left = 0;
    int top = 0;

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    // Focus enters / leaves; onExit receives the control that gets the focus (may be null
    // when it goes to no control of this screen).
    std::function<void()> onEnter;
    std::function<void(Control* next)> onExit;
    // Before the control sees a typed character; setting it to 0 swallows it.
    std::function<void(char& key)> onKeyPress;

    void Click() {
        if (onClick) {
            onClick();
        }
    }

  private:
    Form* m_owner;
    std::string m_name;
    ControlKind m_kind;
};

// A fixed-width masked entry field. `text` always has the full width of the mask
// (empty positions are spaces); `caret` is the 0-based position of the cursor.
class MaskEdit : public Control {
  public:
    MaskEdit(Form& owner, std::string name, std::string editMask = {});
    void SetMask(std::string editMask);  // also blanks the text
    const std::string& Mask() const { return m_mask; }
    void Clear();  // the blank text of the mask
    void SelectAll();
    // The number of positions the field shows (literals included).
    int DisplayWidth() const;

    std::string text;
    int caret = 0;
    // Positions selected from the caret on: what is typed replaces them. Entering the
    // field selects all of it, so typing into a filled field replaces its content.
    int selLength = 0;
    // A field that is also disabled shows a value for reading only (a computed value):
    // in the window's normal text colour, not greyed out, and never taking the focus.
    bool readOnly = false;
    int maxLength = 0;  // width of the mask (0 for a free text field without mask)

  private:
    std::string m_mask;
};

// A small picture on a button, so that one whose caption is short or empty shows what it
// does (its hint says it in words).
enum class ButtonIcon { None, Rename, Clear };

class Button : public Control {
  public:
    Button(Form& owner, std::string name, std::string caption);
    bool isDefault = false;
    ButtonIcon icon = ButtonIcon::None;
    // Closing the form with this result when clicked (0: none).
    int modalResult = 0;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& owner, std::string name, std::string caption);
    bool checked = false;
};

class RadioButton : public Control {
  public:
    RadioButton(Form& owner, std::string name, std::string caption, int group = 0);
    bool checked = false;
    int group = 0;
};

// Drop-down list (no free text when `editable` is false) or a list box.
class ComboBox : public Control {
  public:
    ComboBox(Form& owner, std::string name);
    std::vector<std::string> items;
    int itemIndex = -1;
    std::string text;  // for an editable combo box; else the selected item
    bool editable = false;
    const std::string& SelectedText() const;
};

class ListBox : public Control {
  public:
    ListBox(Form& owner, std::string name);
    std::vector<std::string> items;
    int itemIndex = -1;
    std::string fontFamily;  // empty: the window's font
    int fontSize = 0;
    bool fontBold = false;
};

class Memo : public Control {
  public:
    Memo(Form& owner, std::string name);
    std::vector<std::string> lines;
    bool readOnly = false;
    int caretLine = 0;
    int caretColumn = 0;
    int maxLines = 0;  // 0: no limit
    // Characters of the fixed-pitch font a line shows without scrolling (0: the layout's
    // choice).
    int columns = 0;
    std::string fontFamily;
    int fontSize = 0;
};

class Label : public Control {
  public:
    Label(Form& owner, std::string name, std::string caption = {});
    bool centred = false;
    bool wordWrap = false;   // a long caption goes on in lines of the width it is given
    std::string fontFamily;  // empty: the window's font (a header over a list sets the list's)
    int fontSize = 0;
    bool fontBold = false;
};

class Image : public Control {
  public:
    Image(Form& owner, std::string name);
    std::string filePath;  // a picture file (UTF-8 path); empty: nothing shown
    // An image the logic drew (previews): 1 byte per pixel, 0 black, 255 white.
    int pixelWidth = 0;
    int pixelHeight = 0;
    std::vector<unsigned char> pixels;
    int revision = 0;  // bumped by the logic when the pixels change
};

class ProgressBar : public Control {
  public:
    ProgressBar(Form& owner, std::string name);
    int minimum = 0;
    int maximum = 100;
    int position = 0;
};

}  // namespace velmaro

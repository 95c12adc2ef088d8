#include "platform/Form.h"

#include <algorithm>

namespace velmaro {

Form::Form(std::string className) : m_className(std::move(className)) {}

void Form::SetFocus(Control* control) {
    if (control != m_active && control != nullptr && control->Kind() == ControlKind::MaskEdit) {
        static_cast<MaskEdit*>(control)->SelectAll();
    }
    m_active = control;
    m_focusSet = true;
}

Control* Form::NextControl(Control* from, bool forward) const {
    const auto n = static_cast<int>(m_controls.size());
    if (n == 0) {
        return nullptr;
    }
    int start = -1;
    if (from != nullptr) {
        const auto it = std::find(m_controls.begin(), m_controls.end(), from);
        start = it == m_controls.end() ? -1 : static_cast<int>(it - m_controls.begin());
    }
    for (int step = 1; step <= n; ++step) {
        int i = forward ? start + step : start - step;
        i = ((i % n) + n) % n;
        Control* c = m_controls[static_cast<size_t>(i)];
        if (c->CanFocus()) {
            return c;
        }
    }
    return nullptr;
}

void Form::Close(int result) {
    m_closeRequested = true;
    modalResult = result;
}

LayoutItem Form::Layout() {
    std::vector<LayoutItem> items;
    for (Control* c : m_controls) {
        items.push_back(LayoutItem::Of(*c));
    }
    return LayoutItem::Column(std::move(items));
}

}  // namespace velmaro

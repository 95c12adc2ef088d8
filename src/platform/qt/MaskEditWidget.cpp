#include "platform/qt/MaskEditWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>

#include "platform/MaskLogic.h"
#include "platform/qt/QtText.h"

namespace velmaro::qt {

MaskEditWidget::MaskEditWidget(QWidget* parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setDragEnabled(false);
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { ReportCaret(); });
    connect(this, &QLineEdit::selectionChanged, this, [this] { ReportCaret(); });
}

void MaskEditWidget::ShowField(const MaskEdit& edit) {
    m_showing = true;
    const std::string display =
        edit.Mask().empty() ? edit.text : MaskDisplayText(edit.Mask(), edit.text);
    const QString shown = ToQt(display);
    if (text() != shown) {
        setText(shown);
    }
    const int width = static_cast<int>(shown.size());
    m_caret = std::clamp(edit.caret, 0, width);
    m_selLength = std::clamp(edit.selLength, 0, width - m_caret);
    ShowSelection();
    setReadOnly(edit.readOnly);
    m_showing = false;
}

// The model's selection, on the field that has the focus only: a field left keeps its
// selection in the model (entering it again selects anew) but shows none.
void MaskEditWidget::ShowSelection() {
    const bool was = m_showing;
    m_showing = true;
    if (m_selLength > 0 && hasFocus()) {
        if (selectionStart() != m_caret || selectedText().size() != m_selLength) {
            setSelection(m_caret, m_selLength);
        }
    } else if (hasSelectedText() || cursorPosition() != m_caret) {
        deselect();
        setCursorPosition(m_caret);
    }
    m_showing = was;
}

void MaskEditWidget::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    ShowSelection();
}

void MaskEditWidget::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    ShowSelection();
}

int MaskEditWidget::FieldWidth(const MaskEdit& edit) const {
    QString sample;
    if (!edit.Mask().empty()) {
        for (const MaskSlot& slot : ParseMask(edit.Mask()).slots) {
            switch (slot.kind) {
                case MaskSlot::Kind::Digit:
                    sample += QLatin1Char('0');
                    break;
                case MaskSlot::Kind::Any:
                    sample += QLatin1Char('N');
                    break;
                case MaskSlot::Kind::Literal:
                    sample += ToQt(std::string(1, slot.literal));
                    break;
            }
        }
    } else if (edit.maxLength > 0) {
        sample = QString(edit.maxLength, QLatin1Char('N'));
    } else {
        return 0;
    }
    // At least a few characters wide, plus the frame and the text margins.
    const QFontMetrics fm(font());
    return std::max(fm.horizontalAdvance(sample), fm.horizontalAdvance(QStringLiteral("000"))) + 12;
}

template <typename Handle>
void MaskEditWidget::ByUser(Handle handle) {
    const bool was = m_byUser;
    m_byUser = true;
    handle();
    m_byUser = was;
}

void MaskEditWidget::ReportCaret() {
    if (m_showing || !m_byUser || !m_actions.caretMoved) {
        return;
    }
    if (hasSelectedText()) {
        m_actions.caretMoved(selectionStart(), static_cast<int>(selectedText().size()));
    } else {
        m_actions.caretMoved(cursorPosition(), 0);
    }
}

void MaskEditWidget::keyPressEvent(QKeyEvent* event) {
    if (event == QKeySequence::Copy || event == QKeySequence::SelectAll) {
        ByUser([this, event] { QLineEdit::keyPressEvent(event); });
        return;
    }
    if (event == QKeySequence::Cut) {
        copy();  // the field's text changes only by typing
        return;
    }
    if (event == QKeySequence::Paste) {
        if (m_actions.paste) {
            m_actions.paste(FromQt(QApplication::clipboard()->text(), '?'));
        }
        return;
    }
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End:
            ByUser([this, event] { QLineEdit::keyPressEvent(event); });
            return;
        case Qt::Key_Backspace:
            if (m_actions.type) {
                m_actions.type('\b');
            }
            return;
        case Qt::Key_Delete:
            if (m_actions.erase) {
                m_actions.erase();
            }
            return;
        default:
            break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) {
        return;
    }
    for (const QChar ch : event->text()) {
        if (ch.unicode() < 32 || ch.unicode() == 127) {
            continue;
        }
        const auto byte = TypedChar(ch);
        if (!byte) {
            if (m_actions.refused) {
                m_actions.refused();
            }
            continue;
        }
        if (m_actions.type) {
            m_actions.type(*byte);
        }
    }
}

void MaskEditWidget::inputMethodEvent(QInputMethodEvent* event) {
    // Composed characters arrive as one commit string: typed like keys.
    for (const QChar ch : event->commitString()) {
        const auto byte = TypedChar(ch);
        if (!byte) {
            if (m_actions.refused) {
                m_actions.refused();
            }
        } else if (m_actions.type) {
            m_actions.type(*byte);
        }
    }
    event->accept();
}

void MaskEditWidget::contextMenuEvent(QContextMenuEvent* event) {
    event->ignore();
}

void MaskEditWidget::mousePressEvent(QMouseEvent* event) {
    ByUser([this, event] { QLineEdit::mousePressEvent(event); });
}

void MaskEditWidget::mouseMoveEvent(QMouseEvent* event) {
    ByUser([this, event] { QLineEdit::mouseMoveEvent(event); });
}

void MaskEditWidget::mouseReleaseEvent(QMouseEvent* event) {
    ByUser([this, event] { QLineEdit::mouseReleaseEvent(event); });
    if (!m_showing && !hasSelectedText() && m_actions.clicked) {
        m_actions.clicked(cursorPosition());
    }
}

void MaskEditWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    ByUser([this, event] { QLineEdit::mouseDoubleClickEvent(event); });
}

}  // namespace velmaro::qt

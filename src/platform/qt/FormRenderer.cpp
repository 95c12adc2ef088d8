#include "platform/qt/FormRenderer.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <iostream>

#include "platform/Interaction.h"
#include "platform/qt/JpegImage.h"
#include "platform/qt/MaskEditWidget.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RowsModel.h"
#include "storage/Cp1252.h"

namespace velmaro::qt {

namespace {

// A memo's lines as the desktop counts them: a last, empty line after a final line
// break is no line of its own.
std::vector<std::string> MemoLines(const QString& text) {
    std::vector<std::string> lines;
    if (text.isEmpty()) {
        return lines;
    }
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        lines.push_back(FromQt(line, '?'));
    }
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();
    }
    return lines;
}

QString MemoText(const std::vector<std::string>& lines) {
    QStringList parts;
    for (const auto& line : lines) {
        parts << ToQt(line);
    }
    return parts.join(QLatin1Char('\n'));
}

// A drop-down list measures every item to fit its widest one; a long one (the
// ingredients of a table) keeps the width of 20 characters instead, or the one its form
// gives it, and is never measured row by row.
void FitToRows(QComboBox& box, const RowsModel& rows) {
    constexpr int kMeasuredRows = 1000;
    box.setSizeAdjustPolicy(rows.rowCount() <= kMeasuredRows
                                ? QComboBox::AdjustToContents
                                : QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

QFont ControlFont(const std::string& family, int pointSize, bool bold) {
    QFont font = WindowFont();
    if (!family.empty()) {
        font.setFamily(MapFontFamily(family));
    }
    if (pointSize > 0) {
        font.setPointSize(pointSize);
    }
    font.setBold(bold);
    return font;
}

// A label's own font when the label names one (a header over a list takes the list's).
template <class L>
QFont LabelFontOf(const L& label) {
    if constexpr (requires { label.fontFamily, label.fontSize, label.fontBold; }) {
        return ControlFont(label.fontFamily, label.fontSize, label.fontBold);
    } else {
        return WindowFont();
    }
}

// A button caption broken into lines at spaces so that it fits the button's width.
QString FitCaption(const QString& caption, const QFontMetrics& fm, int width) {
    if (width <= 0 || caption.contains(QLatin1Char('\n'))) {
        return caption;
    }
    const int room = width - 16;
    QString plain = caption;
    plain.remove(QLatin1Char('&'));
    if (fm.horizontalAdvance(plain) <= room) {
        return caption;
    }
    QStringList lines;
    QString line;
    for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString candidate = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        QString candidatePlain = candidate;
        candidatePlain.remove(QLatin1Char('&'));
        if (!line.isEmpty() && fm.horizontalAdvance(candidatePlain) > room) {
            lines << line;
            line = word;
        } else {
            line = candidate;
        }
    }
    if (!line.isEmpty()) {
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

// The picture of a button's icon: the desktop's own where it has one, else a small
// drawn one.
QIcon IconOf(ButtonIcon icon, const QStyle* style) {
    switch (icon) {
        case ButtonIcon::Clear:
            return style->standardIcon(QStyle::SP_LineEditClearButton);
        case ButtonIcon::Rename: {
            // A pencil over a line of text.
            QPixmap picture(16, 16);
            picture.fill(Qt::transparent);
            QPainter p(&picture);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(40, 40, 40), 1));
            p.drawLine(2, 14, 14, 14);
            p.setPen(QPen(QColor(200, 140, 20), 3, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(5, 11, 12, 4);
            p.setPen(QPen(QColor(40, 40, 40), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(3, 13, 4, 12);
            return QIcon(picture);
        }
        case ButtonIcon::None:
            break;
    }
    return {};
}

// A computed value: a field that is never typed into, shown for reading (in the normal
// text colour, not greyed out as a field the mode turned off).
bool ShownForReading(const Control& c) {
    return c.Kind() == ControlKind::MaskEdit && !c.enabled &&
           static_cast<const MaskEdit&>(c).readOnly;
}

bool HasLabelBeside(const Control& c) {
    if (c.label.empty()) {
        return false;
    }
    switch (c.Kind()) {
        case ControlKind::MaskEdit:
        case ControlKind::ComboBox:
        case ControlKind::ListBox:
        case ControlKind::Memo:
            return true;
        default:
            return false;
    }
}

}  // namespace

// One form's window: its widgets, the state shown in them, and the user's actions
// forwarded to the form.
class FormWindow : public QDialog {
  public:
    FormWindow(FormRenderer& renderer, Ui& ui, Form& shown)
        : QDialog(nullptr), form(shown), m_renderer(renderer), m_ui(ui) {
        setObjectName(QString::fromStdString(shown.ClassName()));
        setFont(WindowFont());
        Build();
    }

    ~FormWindow() override {
        // The widgets report nothing while they are taken down.
        for (auto& entry : m_entries) {
            entry.widget->blockSignals(true);
        }
    }

    Form& form;
    QEventLoop* loop = nullptr;
    bool open = false;
    bool modeless = false;
    int busy = 0;
    bool syncing = false;
    bool activating = false;
    bool deactivating = false;

    // Runs a user action on the form, then shows the new state of every window.
    void Forward(const std::function<void()>& action) {
        ++busy;
        try {
            action();
        } catch (const std::exception& e) {
            m_renderer.ReportUnexpected(e.what());
        }
        --busy;
        m_renderer.AfterEvent();
    }

    QWidget* WidgetOf(const Control* c) const {
        const auto it = m_byControl.find(c);
        return it == m_byControl.end() ? nullptr : m_entries[it->second].widget;
    }

    Control* ControlOf(const QObject* object) const {
        for (const QObject* o = object; o != nullptr && o != this; o = o->parent()) {
            const auto it = m_byWidget.find(o);
            if (it != m_byWidget.end()) {
                return it->second;
            }
        }
        return nullptr;
    }

    void Refresh(bool withFocus) {
        const bool wasSyncing = syncing;
        syncing = true;
        setWindowTitle(ToQt(form.caption));
        for (auto& entry : m_entries) {
            RefreshControl(entry);
        }
        if (m_absolute && form.width > 0 && form.height > 0) {
            setFixedSize(form.width, form.height);
        }
        syncing = wasSyncing;
        if (withFocus) {
            SyncFocus();
        }
    }

    // Puts the desktop's focus where the form has it.
    void SyncFocus() {
        if (!isVisible()) {
            return;
        }
        QWidget* target = WidgetOf(form.ActiveControl());
        if (target == nullptr || !target->isVisibleTo(this) || !target->isEnabled()) {
            return;
        }
        QWidget* current = focusWidget();
        if (current == target || (current != nullptr && target->isAncestorOf(current))) {
            return;
        }
        const bool wasSyncing = syncing;
        syncing = true;
        target->setFocus(Qt::OtherFocusReason);
        syncing = wasSyncing;
    }

    void ShowOver(FormWindow* below, bool modal) {
        Qt::WindowFlags flags;
        if (below == nullptr && !modeless) {
            flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
        } else {
            flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
            if (form.borderIcons) {
                flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
            }
        }
        setWindowFlags(flags);
        setWindowModality(modal ? Qt::ApplicationModal : Qt::NonModal);
        setAttribute(Qt::WA_ShowWithoutActivating, modeless);
        Refresh(false);
        QScreen* screen = below != nullptr ? below->screen() : QGuiApplication::primaryScreen();
        if (!m_absolute) {
            const QSize hint =
                m_scrolled != nullptr ? m_scrolled->widget()->sizeHint() : sizeHint();
            QSize wanted(std::max(form.width, hint.width()), std::max(form.height, hint.height()));
            if (m_scrollRoot != nullptr && m_scrollRoot->widget() != nullptr &&
                m_scrollRoot->widget()->sizeHint().height() > form.height) {
                // The picture scrolls down: its vertical bar stands beside the width given,
                // so that a picture as wide as that needs no horizontal bar.
                wanted.rwidth() += m_scrollRoot->verticalScrollBar()->sizeHint().width();
            }
            if (screen != nullptr) {
                wanted = FitScreen(wanted, screen->availableGeometry().size());
            }
            resize(wanted);
        }
        winId();
        if (below != nullptr && windowHandle() != nullptr && below->windowHandle() != nullptr) {
            windowHandle()->setTransientParent(below->windowHandle());
        }
        if (screen != nullptr) {
            // Centred, and never beyond the top left corner of the screen: a window
            // larger than the screen shows its beginning.
            const QRect area = screen->availableGeometry();
            QPoint at = area.center() - QPoint(width() / 2, height() / 2);
            at.setX(std::max(at.x(), area.left()));
            at.setY(std::max(at.y(), area.top()));
            move(at);
        }
        show();
        if (!modeless) {
            raise();
            activateWindow();
            SyncFocus();
        }
    }

  protected:
    // A window larger than the room the screen leaves it (its title bar and frame
    // counted) shows its controls in a scroll area of that room.
    QSize FitScreen(QSize wanted, QSize screenRoom) {
        constexpr int kFrameWidth = 16;
        constexpr int kTitleHeight = 40;
        const QSize room(std::max(screenRoom.width() - kFrameWidth, 200),
                         std::max(screenRoom.height() - kTitleHeight, 150));
        if (wanted.width() <= room.width() && wanted.height() <= room.height()) {
            return wanted;
        }
        if (m_scrolled == nullptr && m_scrollRoot == nullptr && layout() != nullptr) {
            auto* content = new QWidget;
            content->setLayout(layout());  // the controls move with their layout
            m_scrolled = new QScrollArea;
            m_scrolled->setObjectName(QStringLiteral("ScreenScrollArea"));
            m_scrolled->setFrameShape(QFrame::NoFrame);
            m_scrolled->setWidgetResizable(true);
            m_scrolled->setWidget(content);
            auto* outer = new QVBoxLayout(this);
            outer->setContentsMargins(0, 0, 0, 0);
            outer->addWidget(m_scrolled);
        }
        if (m_scrolled != nullptr) {
            // Room for the scroll bars where the other side is cut.
            const int bar = m_scrolled->verticalScrollBar()->sizeHint().width();
            if (wanted.height() > room.height()) {
                wanted.rwidth() += bar;
            }
            if (wanted.width() > room.width()) {
                wanted.rheight() += bar;
            }
        }
        return wanted.boundedTo(room);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
            case QEvent::KeyPress: {
                Control* c = ControlOf(watched);
                return c != nullptr && HandleKey(*c, static_cast<QKeyEvent*>(event));
            }
            case QEvent::Shortcut: {
                // A button's mnemonic (Alt + letter) presses it like a click.
                Control* c = ControlOf(watched);
                if (c != nullptr && c->Kind() == ControlKind::Button) {
                    auto* button = static_cast<Button*>(c);
                    Forward([this, button] { PressButton(m_ui, form, *button); });
                    return true;
                }
                return false;
            }
            case QEvent::MouseButtonDblClick: {
                Control* c = ControlOf(watched);
                if (c != nullptr && c->onDblClick && c->enabled &&
                    c->Kind() != ControlKind::Button) {
                    Forward([c] {
                        if (c->onDblClick) {
                            c->onDblClick();
                        }
                    });
                    return true;
                }
                return false;
            }
            default:
                return false;
        }
    }

    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        if (open && busy == 0) {
            Forward([this] { RequestClose(form); });
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        // Keys reach the window itself only when no control has the focus.
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Forward([this] { PressEnterKey(form); });
        } else if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            MoveByTab(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        }
        event->accept();
    }

    void reject() override {}  // Escape closes nothing

  private:
    struct Entry {
        Control* control = nullptr;
        QWidget* widget = nullptr;  // the control's own widget
        QWidget* box = nullptr;     // the widget placed in the layout (with the label)
        QLabel* label = nullptr;
        RowsModel* rows = nullptr;  // the items of a list box or drop-down list
        std::string picturePath;
        int pictureRevision = -1;
    };

    void MoveByTab(bool forward) {
        // The focus moved with the keyboard: the controls show their focus frame.
        setAttribute(Qt::WA_KeyboardFocusChange, true);
        Forward([this, forward] { MoveToNextControl(form, forward); });
    }

    bool HandleKey(Control& c, QKeyEvent* event) {
        const int key = event->key();
        const auto mods = event->modifiers();
        auto* combo = qobject_cast<QComboBox*>(WidgetOf(&c));
        const bool popupOpen =
            combo != nullptr && combo->view() != nullptr && combo->view()->isVisible();
        if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) &&
            !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
            MoveByTab(key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (popupOpen) {
                return false;
            }
            bool lineBreak = false;
            Forward([this, &lineBreak] { lineBreak = PressEnterKey(form); });
            return !(lineBreak && c.Kind() == ControlKind::Memo);
        }
        if (key == Qt::Key_Escape) {
            return !popupOpen;
        }
        if (c.Kind() == ControlKind::MaskEdit) {
            return false;  // the masked field turns its keys into the form's operations
        }
        if (c.Kind() == ControlKind::Memo && event == QKeySequence::Paste) {
            auto* memo = static_cast<QPlainTextEdit*>(WidgetOf(&c));
            if (!memo->isReadOnly()) {
                memo->insertPlainText(ToQt(FromQt(QApplication::clipboard()->text(), '?')));
            }
            return true;
        }
        const bool editsText =
            c.Kind() == ControlKind::Memo ||
            (c.Kind() == ControlKind::ComboBox && static_cast<ComboBox&>(c).editable);
        if (key == Qt::Key_Backspace && editsText) {
            char passed = 0;
            Forward([this, &c, &passed] { passed = PreviewKey(form, c, '\b'); });
            return passed == 0;
        }
        if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            return false;
        }
        const QString text = event->text();
        if (text.size() != 1 || text[0].unicode() < 32 || text[0].unicode() == 127) {
            return false;  // navigation and other keys: the widget's own
        }
        const auto byte = TypedChar(text[0]);
        if (!byte) {
            QApplication::beep();
            return true;
        }
        char passed = 0;
        Forward([this, &c, &passed, &byte] { passed = PreviewKey(form, c, *byte); });
        if (passed == 0) {
            return true;
        }
        if (passed == *byte) {
            return false;  // the widget takes the character as typed
        }
        if (c.Kind() == ControlKind::Memo) {
            static_cast<QPlainTextEdit*>(WidgetOf(&c))
                ->insertPlainText(ToQt(std::string(1, passed)));
        } else if (editsText && combo != nullptr && combo->lineEdit() != nullptr) {
            combo->lineEdit()->insert(ToQt(std::string(1, passed)));
        }
        return true;
    }

    void Watch(QWidget* widget, Control& c) {
        widget->installEventFilter(this);
        m_byWidget[widget] = &c;
    }

    void Build() {
        LayoutItem root = form.Layout();
        if (root.kind == LayoutItem::Kind::Absolute) {
            m_absolute = true;
            for (const auto& child : root.children) {
                if (child.control != nullptr) {
                    QWidget* box = BuildControl(*child.control, this);
                    box->setParent(this);
                }
            }
        } else {
            auto* layout = new QVBoxLayout(this);
            // A scrolled picture fills the window to its edges.
            const int margin = root.kind == LayoutItem::Kind::Scroll ? 0 : 8;
            layout->setContentsMargins(margin, margin, margin, margin);
            AddItem(layout, root);
            if (root.kind == LayoutItem::Kind::Scroll && layout->count() > 0) {
                m_scrollRoot = qobject_cast<QScrollArea*>(layout->itemAt(0)->widget());
            }
        }
        // A control the layout leaves out still gets its widget (at the end).
        for (Control* c : form.Controls()) {
            if (m_byControl.find(c) == m_byControl.end()) {
                QWidget* box = BuildControl(*c, this);
                if (!m_absolute && layout() != nullptr) {
                    layout()->addWidget(box);
                }
            }
        }
        installEventFilter(this);
    }

    void AddItem(QBoxLayout* parent, const LayoutItem& item) {
        switch (item.kind) {
            case LayoutItem::Kind::Stretch:
                parent->addStretch(1);
                return;
            case LayoutItem::Kind::Spacing:
                parent->addSpacing(item.size);
                return;
            default:
                break;
        }
        if (QWidget* w = BuildItemWidget(item)) {
            parent->addWidget(w);
        } else if (QLayout* l = BuildItemLayout(item)) {
            parent->addLayout(l);
        }
    }

    QWidget* BuildItemWidget(const LayoutItem& item) {
        if (item.kind == LayoutItem::Kind::Control && item.control != nullptr) {
            return BuildControl(*item.control, nullptr);
        }
        if (item.kind == LayoutItem::Kind::Group) {
            auto* group = new QGroupBox(ToQt(item.title));
            auto* inner = new QVBoxLayout(group);
            for (const auto& child : item.children) {
                AddItem(inner, child);
            }
            return group;
        }
        if (item.kind == LayoutItem::Kind::Scroll && !item.children.empty()) {
            auto* area = new QScrollArea;
            area->setFrameShape(QFrame::NoFrame);
            area->setAlignment(Qt::AlignCenter);
            // The content keeps at least its own size: the bars scroll what does not fit.
            area->setWidgetResizable(true);
            QWidget* content = BuildItemWidget(item.children.front());
            if (content == nullptr) {
                content = new QWidget;
                if (QLayout* l = BuildItemLayout(item.children.front())) {
                    content->setLayout(l);
                }
            }
            area->setWidget(content);
            return area;
        }
        if (item.kind == LayoutItem::Kind::Absolute) {
            auto* area = new QWidget;
            int right = 0;
            int bottom = 0;
            for (const auto& child : item.children) {
                if (child.control != nullptr) {
                    QWidget* box = BuildControl(*child.control, area);
                    box->setParent(area);
                    right = std::max(right, child.control->left + child.control->width);
                    bottom = std::max(bottom, child.control->top + child.control->height);
                }
            }
            area->setMinimumSize(right, bottom);
            m_absoluteAreas.push_back(area);
            return area;
        }
        return nullptr;
    }

    QLayout* BuildItemLayout(const LayoutItem& item) {
        switch (item.kind) {
            case LayoutItem::Kind::Row:
            case LayoutItem::Kind::Column: {
                auto* box = item.kind == LayoutItem::Kind::Row
                                ? static_cast<QBoxLayout*>(new QHBoxLayout)
                                : static_cast<QBoxLayout*>(new QVBoxLayout);
                for (const auto& child : item.children) {
                    AddItem(box, child);
                }
                return box;
            }
            case LayoutItem::Kind::Grid: {
                auto* grid = new QGridLayout;
                const int columns = std::max(item.columns, 1);
                int i = 0;
                for (const auto& child : item.children) {
                    const int row = i / columns;
                    const int column = i % columns;
                    ++i;
                    if (QWidget* w = BuildItemWidget(child)) {
                        grid->addWidget(w, row, column);
                    } else if (QLayout* l = BuildItemLayout(child)) {
                        grid->addLayout(l, row, column);
                    }
                }
                return grid;
            }
            default:
                return nullptr;
        }
    }

    QWidget* BuildControl(Control& c, QWidget* parent) {
        Entry entry;
        entry.control = &c;
        QWidget* widget = nullptr;
        switch (c.Kind()) {
            case ControlKind::MaskEdit: {
                auto& edit = static_cast<MaskEdit&>(c);
                auto* w = new MaskEditWidget;
                MaskEditWidget::Actions actions;
                actions.type = [this, &edit](char key) {
                    Forward([this, &edit, key] { TypeChar(form, edit, key); });
                };
                actions.erase = [this, &edit] { Forward([&edit] { PressDelete(edit); }); };
                actions.paste = [this, &edit](const std::string& text) {
                    std::string typed;
                    for (char ch : text) {
                        if (static_cast<unsigned char>(ch) >= 32) {
                            typed += ch;
                        }
                    }
                    Forward([this, &edit, typed] { TypeText(form, edit, typed); });
                };
                actions.caretMoved = [this, &edit](int caret, int selLength) {
                    if (!syncing && busy == 0) {
                        edit.caret = caret;
                        edit.selLength = selLength;
                    }
                };
                actions.clicked = [this, &edit](int position) {
                    if (!syncing && busy == 0) {
                        Forward([&edit, position] { UserClickAt(edit, position); });
                    }
                };
                actions.refused = [] { QApplication::beep(); };
                w->SetActions(std::move(actions));
                widget = w;
                break;
            }
            case ControlKind::Button: {
                auto& button = static_cast<Button&>(c);
                auto* w = new QPushButton;
                w->setAutoDefault(false);
                w->setFocusPolicy(Qt::TabFocus);
                connect(w, &QPushButton::clicked, this, [this, &button] {
                    Forward([this, &button] { PressButton(m_ui, form, button); });
                });
                widget = w;
                break;
            }
            case ControlKind::CheckBox: {
                auto& box = static_cast<CheckBox&>(c);
                auto* w = new QCheckBox;
                w->setFocusPolicy(Qt::TabFocus);
                connect(w, &QCheckBox::clicked, this, [this, &box] {
                    Forward([this, &box] { PressCheckBox(m_ui, form, box); });
                });
                widget = w;
                break;
            }
            case ControlKind::RadioButton: {
                auto& radio = static_cast<RadioButton&>(c);
                auto* w = new QRadioButton;
                w->setAutoExclusive(false);
                w->setFocusPolicy(Qt::TabFocus);
                connect(w, &QRadioButton::clicked, this, [this, &radio] {
                    Forward([this, &radio] { PressRadioButton(m_ui, form, radio); });
                });
                widget = w;
                break;
            }
            case ControlKind::ComboBox: {
                auto& combo = static_cast<ComboBox&>(c);
                auto* w = new QComboBox;
                entry.rows = new RowsModel(w);
                w->setModel(entry.rows);
                if (auto* popup = qobject_cast<QListView*>(w->view())) {
                    popup->setUniformItemSizes(true);
                }
                w->setEditable(combo.editable);
                w->setInsertPolicy(QComboBox::NoInsert);
                w->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                w->setMinimumContentsLength(20);
                connect(w, &QComboBox::currentIndexChanged, this, [this, &combo](int index) {
                    if (!syncing && busy == 0) {
                        Forward([&combo, index] { UserSelect(combo, index); });
                    }
                });
                connect(w, &QComboBox::activated, this, [this, &combo](int index) {
                    if (!syncing && busy == 0) {
                        Forward([&combo, index] { UserChoose(combo, index); });
                    }
                });
                connect(w, &QComboBox::editTextChanged, this, [this, &combo](const QString& t) {
                    if (!syncing && busy == 0 && combo.editable) {
                        Forward([&combo, t] { UserSetText(combo, FromQt(t, '?')); });
                    }
                });
                widget = w;
                break;
            }
            case ControlKind::ListBox: {
                auto& list = static_cast<ListBox&>(c);
                // Only the rows in sight are drawn, all of one height.
                auto* w = new QListView;
                entry.rows = new RowsModel(w);
                w->setModel(entry.rows);
                w->setSelectionMode(QAbstractItemView::SingleSelection);
                w->setEditTriggers(QAbstractItemView::NoEditTriggers);
                w->setUniformItemSizes(true);
                connect(w->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                        [this, &list](const QModelIndex& current) {
                            if (!syncing && busy == 0) {
                                const int row = current.row();
                                Forward([&list, row] { UserSelect(list, row); });
                            }
                        });
                Watch(w->viewport(), c);
                widget = w;
                break;
            }
            case ControlKind::Memo: {
                auto& memo = static_cast<Memo&>(c);
                auto* w = new QPlainTextEdit;
                w->setLineWrapMode(QPlainTextEdit::NoWrap);
                w->setTabChangesFocus(true);
                connect(w, &QPlainTextEdit::textChanged, this, [this, &memo, w] {
                    if (!syncing && busy == 0) {
                        const QTextCursor cursor = w->textCursor();
                        memo.caretLine = cursor.blockNumber();
                        memo.caretColumn = cursor.positionInBlock();
                        const auto lines = MemoLines(w->toPlainText());
                        Forward([&memo, lines] { UserSetLines(memo, lines); });
                    }
                });
                connect(w, &QPlainTextEdit::cursorPositionChanged, this, [this, &memo, w] {
                    if (!syncing) {
                        const QTextCursor cursor = w->textCursor();
                        memo.caretLine = cursor.blockNumber();
                        memo.caretColumn = cursor.positionInBlock();
                    }
                });
                Watch(w->viewport(), c);
                widget = w;
                break;
            }
            case ControlKind::Label: {
                auto* w = new QLabel;
                w->setTextFormat(Qt::PlainText);
                widget = w;
                break;
            }
            case ControlKind::Image: {
                auto* w = new QLabel;
                w->setAlignment(Qt::AlignCenter);
                widget = w;
                break;
            }
            case ControlKind::ProgressBar: {
                auto* w = new QProgressBar;
                w->setTextVisible(true);
                widget = w;
                break;
            }
        }
        widget->setObjectName(QString::fromStdString(c.Name()));
        Watch(widget, c);
        entry.widget = widget;
        entry.box = widget;
        if (HasLabelBeside(c)) {
            auto* box = new QWidget;
            auto* layout = new QVBoxLayout(box);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(2);
            entry.label = new QLabel(ToQt(c.label));
            entry.label->setTextFormat(Qt::PlainText);
            entry.label->setBuddy(widget);
            layout->addWidget(entry.label);
            layout->addWidget(widget);
            entry.box = box;
        }
        if (parent != nullptr) {
            entry.box->setParent(parent);
        }
        m_byControl[&c] = m_entries.size();
        m_entries.push_back(std::move(entry));
        return m_entries.back().box;
    }

    void RefreshControl(Entry& entry) {
        Control& c = *entry.control;
        QWidget* w = entry.widget;
        if (entry.box->isVisibleTo(this) != c.visible || entry.box->isHidden() == c.visible) {
            entry.box->setVisible(c.visible);
        }
        const bool reading = ShownForReading(c);
        w->setEnabled(c.enabled || reading);
        const QString hint = ToQt(c.hint);
        if (w->toolTip() != hint) {
            w->setToolTip(hint);
        }
        if (entry.label != nullptr) {
            entry.label->setText(ToQt(c.label));
            entry.label->setEnabled(c.enabled || reading);
        }
        switch (c.Kind()) {
            case ControlKind::MaskEdit: {
                auto& edit = static_cast<MaskEdit&>(c);
                auto* field = static_cast<MaskEditWidget*>(w);
                field->ShowField(edit);
                field->setFocusPolicy(reading ? Qt::NoFocus : Qt::StrongFocus);
                field->setFrame(!reading);
                if (c.width <= 0) {
                    if (const int fieldWidth = field->FieldWidth(edit); fieldWidth > 0) {
                        field->setFixedWidth(fieldWidth);
                    }
                }
                break;
            }
            case ControlKind::Button: {
                auto& button = static_cast<Button&>(c);
                auto* b = static_cast<QPushButton*>(w);
                const QString text = FitCaption(ToQt(c.caption), b->fontMetrics(), c.width);
                if (b->text() != text) {
                    b->setText(text);
                }
                if (button.icon != ButtonIcon::None && b->icon().isNull()) {
                    b->setIcon(IconOf(button.icon, b->style()));
                }
                b->setDefault(button.isDefault);
                break;
            }
            case ControlKind::CheckBox: {
                auto* b = static_cast<QCheckBox*>(w);
                b->setText(ToQt(c.caption));
                b->setChecked(static_cast<CheckBox&>(c).checked);
                break;
            }
            case ControlKind::RadioButton: {
                auto* b = static_cast<QRadioButton*>(w);
                b->setText(ToQt(c.caption));
                b->setChecked(static_cast<RadioButton&>(c).checked);
                break;
            }
            case ControlKind::ComboBox: {
                auto& combo = static_cast<ComboBox&>(c);
                auto* box = static_cast<QComboBox*>(w);
                if (box->isEditable() != combo.editable) {
                    box->setEditable(combo.editable);
                    if (box->lineEdit() != nullptr) {
                        Watch(box->lineEdit(), c);
                    }
                }
                if (entry.rows->Show(combo.items)) {
                    FitToRows(*box, *entry.rows);
                }
                const int index =
                    combo.itemIndex < static_cast<int>(combo.items.size()) ? combo.itemIndex : -1;
                if (box->currentIndex() != index) {
                    box->setCurrentIndex(index);
                }
                if (combo.editable && box->currentText() != ToQt(combo.text)) {
                    box->setEditText(ToQt(combo.text));
                }
                break;
            }
            case ControlKind::ListBox: {
                auto& list = static_cast<ListBox&>(c);
                auto* view = static_cast<QListView*>(w);
                const QFont font = ControlFont(list.fontFamily, list.fontSize, list.fontBold);
                if (view->font() != font) {
                    view->setFont(font);
                }
                entry.rows->Show(list.items);
                const int row =
                    list.itemIndex < static_cast<int>(list.items.size()) ? list.itemIndex : -1;
                const QModelIndex current = view->currentIndex();
                if (current.row() != row || (row >= 0 && !current.isValid())) {
                    view->setCurrentIndex(row < 0 ? QModelIndex() : entry.rows->index(row));
                }
                if (row < 0) {
                    view->clearSelection();
                } else {
                    const QModelIndex at = entry.rows->index(row);
                    if (!view->selectionModel()->isSelected(at)) {
                        view->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect);
                    }
                    view->scrollTo(at);
                }
                break;
            }
            case ControlKind::Memo: {
                auto& memo = static_cast<Memo&>(c);
                auto* edit = static_cast<QPlainTextEdit*>(w);
                const QFont font = ControlFont(memo.fontFamily, memo.fontSize, false);
                const bool newFont = edit->font() != font;
                if (newFont) {
                    edit->setFont(font);
                }
                edit->setReadOnly(memo.readOnly);
                // Measured again only when the font changes.
                if (memo.columns > 0 && c.width <= 0 && (newFont || edit->minimumWidth() == 0)) {
                    // The columns of the font, the document's margins, the frame and a
                    // vertical scroll bar.
                    const QFontMetrics fm(edit->font());
                    const int text = fm.horizontalAdvance(QString(memo.columns, QLatin1Char('0')));
                    const int margins =
                        2 * static_cast<int>(std::ceil(edit->document()->documentMargin())) +
                        2 * edit->frameWidth() +
                        edit->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        fm.averageCharWidth();
                    edit->setMinimumWidth(text + margins);
                }
                if (MemoLines(edit->toPlainText()) != memo.lines) {
                    edit->setPlainText(MemoText(memo.lines));
                }
                QTextCursor cursor = edit->textCursor();
                if (cursor.blockNumber() != memo.caretLine ||
                    cursor.positionInBlock() != memo.caretColumn) {
                    const QTextBlock block = edit->document()->findBlockByNumber(
                        std::clamp(memo.caretLine, 0, edit->document()->blockCount() - 1));
                    cursor.setPosition(block.position() +
                                       std::clamp(memo.caretColumn, 0, block.length() - 1));
                    edit->setTextCursor(cursor);
                }
                break;
            }
            case ControlKind::Label: {
                auto& label = static_cast<Label&>(c);
                auto* l = static_cast<QLabel*>(w);
                const QString text = ToQt(c.caption);
                if (l->text() != text) {
                    l->setText(text);
                }
                l->setAlignment((label.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
                                Qt::AlignVCenter);
                if (l->wordWrap() != label.wordWrap) {
                    l->setWordWrap(label.wordWrap);
                }
                const QFont font = LabelFontOf(label);
                if (l->font() != font) {
                    l->setFont(font);
                }
                break;
            }
            case ControlKind::Image: {
                auto& image = static_cast<Image&>(c);
                auto* l = static_cast<QLabel*>(w);
                if (!image.pixels.empty() && image.pixelWidth > 0 && image.pixelHeight > 0) {
                    if (entry.pictureRevision != image.revision || !entry.picturePath.empty()) {
                        QImage drawn(image.pixels.data(), image.pixelWidth, image.pixelHeight,
                                     image.pixelWidth, QImage::Format_Grayscale8);
                        l->setPixmap(QPixmap::fromImage(drawn.copy()));
                        entry.pictureRevision = image.revision;
                        entry.picturePath.clear();
                    }
                } else if (image.filePath != entry.picturePath || entry.pictureRevision != -1) {
                    const QImage picture =
                        image.filePath.empty() ? QImage() : m_renderer.LoadPicture(image.filePath);
                    if (picture.isNull()) {
                        l->clear();
                    } else {
                        l->setPixmap(QPixmap::fromImage(picture));
                    }
                    entry.picturePath = image.filePath;
                    entry.pictureRevision = -1;
                }
                l->setScaledContents(c.width > 0 && c.height > 0);
                break;
            }
            case ControlKind::ProgressBar: {
                auto& bar = static_cast<ProgressBar&>(c);
                auto* p = static_cast<QProgressBar*>(w);
                p->setRange(bar.minimum, std::max(bar.maximum, bar.minimum));
                p->setValue(
                    std::clamp(bar.position, bar.minimum, std::max(bar.maximum, bar.minimum)));
                break;
            }
        }
        if (c.width > 0) {
            w->setFixedWidth(c.width);
        }
        if (c.height > 0) {
            w->setFixedHeight(c.height);
        }
        if (m_absolute || entry.box->parentWidget() != nullptr) {
            PlaceAbsolute(entry);
        }
    }

    // Controls of an absolute arrangement stand where the form puts them.
    void PlaceAbsolute(Entry& entry) {
        QWidget* parent = entry.box->parentWidget();
        const bool placed = (m_absolute && parent == this) ||
                            std::find(m_absoluteAreas.begin(), m_absoluteAreas.end(), parent) !=
                                m_absoluteAreas.end();
        if (!placed) {
            return;
        }
        const Control& c = *entry.control;
        const QSize hint = entry.box->sizeHint();
        entry.box->setGeometry(c.left, c.top, c.width > 0 ? c.width : hint.width(),
                               c.height > 0 ? c.height : hint.height());
    }

    FormRenderer& m_renderer;
    Ui& m_ui;
    std::vector<Entry> m_entries;
    std::map<const Control*, size_t> m_byControl;
    std::map<const QObject*, Control*> m_byWidget;
    std::vector<QWidget*> m_absoluteAreas;
    bool m_absolute = false;
    // The scroll area of a form laid out as one (the report preview).
    QScrollArea* m_scrollRoot = nullptr;
    // The scroll area the controls were moved into when the window was larger than the
    // screen.
    QScrollArea* m_scrolled = nullptr;
};

FormRenderer::FormRenderer(Ui& ui) : m_ui(ui) {
    m_pictureLoader = [](const std::string& path) {
        QImage picture = LoadJpegFile(path);
        if (picture.isNull()) {
            picture = QImage(PathToQt(path));
        }
        return picture;
    };
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget* old, QWidget* now) { OnFocusChanged(old, now); });
}

FormRenderer::~FormRenderer() {
    disconnect(qApp, nullptr, this, nullptr);
    m_stack.clear();
    m_windows.clear();
}

FormWindow& FormRenderer::WindowFor(Form& form) {
    auto& slot = m_windows[&form];
    if (!slot) {
        slot = std::make_unique<FormWindow>(*this, m_ui, form);
    }
    return *slot;
}

int FormRenderer::ShowModal(Form& form) {
    FormWindow& window = WindowFor(form);
    if (window.open) {
        // A screen already on the way cannot be shown a second time.
        std::cerr << "velmaro: " << form.ClassName() << " is already open\n";
        return 0;
    }
    form.ResetClose();
    FocusFirstIfNone(form);
    FormWindow* below = Top();
    for (FormWindow* w : m_stack) {
        w->Refresh(false);  // what the screens below show stays current behind the dialog
    }
    if (below != nullptr) {
        Deactivate(*below);
    }
    m_stack.push_back(&window);
    window.open = true;
    window.modeless = false;
    window.ShowOver(below, below != nullptr);
    Activate(window);
    if (!form.CloseRequested()) {
        QEventLoop loop;
        window.loop = &loop;
        loop.exec(QEventLoop::DialogExec);
        window.loop = nullptr;
    }
    if (form.onClose) {
        window.Forward([&form] {
            if (form.onClose) {
                form.onClose();
            }
        });
    }
    Deactivate(window);
    window.hide();
    window.open = false;
    m_stack.erase(std::find(m_stack.begin(), m_stack.end(), &window));
    if (FormWindow* top = Top()) {
        top->activateWindow();
        top->Refresh(top->busy == 0);
        Activate(*top);
    }
    const int result = form.modalResult;
    form.ResetClose();
    return result;
}

void FormRenderer::ShowModeless(Form& form) {
    FormWindow& window = WindowFor(form);
    if (window.open) {
        window.Refresh(false);
        return;
    }
    window.open = true;
    window.modeless = true;
    window.ShowOver(Top(), false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void FormRenderer::UpdateModeless(Form& form) {
    const auto it = m_windows.find(&form);
    if (it == m_windows.end() || !it->second->open) {
        return;
    }
    it->second->Refresh(false);
    it->second->repaint();
}

void FormRenderer::CloseModeless(Form& form) {
    const auto it = m_windows.find(&form);
    if (it == m_windows.end() || !it->second->open) {
        return;
    }
    it->second->hide();
    it->second->open = false;
    it->second->modeless = false;
    if (FormWindow* top = Top()) {
        top->activateWindow();
    }
}

void FormRenderer::Activate(FormWindow& window) {
    // An activation that shows a dialog is not run again when the dialog closes.
    if (window.activating || !window.form.onActivate) {
        if (window.busy == 0) {
            window.Refresh(true);
        }
        return;
    }
    window.activating = true;
    window.Forward([&window] {
        if (window.form.onActivate) {
            window.form.onActivate();
        }
    });
    window.activating = false;
}

void FormRenderer::Deactivate(FormWindow& window) {
    if (window.deactivating || !window.form.onDeactivate) {
        return;
    }
    window.deactivating = true;
    window.Forward([&window] {
        if (window.form.onDeactivate) {
            window.form.onDeactivate();
        }
    });
    window.deactivating = false;
}

void FormRenderer::AfterEvent() {
    for (FormWindow* w : m_stack) {
        if (w->busy == 0 && w->isVisible()) {
            w->Refresh(w == Top());
        }
    }
    for (auto& [form, w] : m_windows) {
        if (w->modeless && w->open && w->busy == 0) {
            w->Refresh(false);
        }
    }
    for (FormWindow* w : m_stack) {
        if (w->form.CloseRequested() && w->loop != nullptr) {
            w->loop->quit();
        }
    }
}

FormWindow* FormRenderer::WindowContaining(QWidget* widget) const {
    if (widget == nullptr) {
        return nullptr;
    }
    QWidget* top = widget->window();
    for (const auto& [form, w] : m_windows) {
        if (w.get() == top) {
            return w.get();
        }
    }
    return nullptr;
}

// A control is left only when the focus goes to another control of the same window;
// focus arriving from another window (a dialog closing, the window activated again)
// is put back where the form has it.
void FormRenderer::OnFocusChanged(QWidget* old, QWidget* now) {
    FormWindow* window = WindowContaining(now);
    if (window == nullptr || !window->open || window->busy > 0 || window->syncing) {
        return;
    }
    Control* target = window->ControlOf(now);
    if (target == nullptr || target == window->form.ActiveControl()) {
        return;
    }
    if (old != nullptr && WindowContaining(old) == window && window == Top()) {
        window->Forward([window, target] { MoveFocus(window->form, target); });
    } else {
        window->SyncFocus();
    }
}

void FormRenderer::ReportUnexpected(const std::string& what) {
    std::cerr << "velmaro: " << what << '\n';
    if (m_reporting) {
        return;
    }
    m_reporting = true;
    m_ui.ShowMessageBox(W("Erro inesperado: ") + Utf8ToCp1252(what, '?').value_or(what),
                        MessageKind::Ok);
    m_reporting = false;
}

QWidget* FormRenderer::WindowOf(const Form& form) const {
    const auto it = m_windows.find(&form);
    return it == m_windows.end() ? nullptr : it->second.get();
}

QWidget* FormRenderer::WidgetOf(const Control& control) const {
    const auto it = m_windows.find(&control.Owner());
    return it == m_windows.end() ? nullptr : it->second->WidgetOf(&control);
}

QWidget* FormRenderer::TopWindow() const {
    return Top();
}

const Form* FormRenderer::TopForm() const {
    return m_stack.empty() ? nullptr : &m_stack.back()->form;
}

void FormRenderer::AbortAll() {
    for (FormWindow* w : m_stack) {
        w->form.Close(kModalCancel);
        if (w->loop != nullptr) {
            w->loop->quit();
        }
    }
}

QFont FormRenderer::LabelFont() const {
    return WindowFont();
}

void FormRenderer::SetPictureLoader(std::function<QImage(const std::string&)> loader) {
    m_pictureLoader = std::move(loader);
}

QImage FormRenderer::LoadPicture(const std::string& utf8Path) const {
    return m_pictureLoader ? m_pictureLoader(utf8Path) : QImage();
}

}  // namespace velmaro::qt

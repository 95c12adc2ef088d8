#include "e2e/AppDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace velmaro::test {

AppDriver::AppDriver() : m_app(std::make_unique<VelmaroApp>(VELMARO_DATA_DIR)) {}

AppDriver::~AppDriver() = default;

AppDriver& AppDriver::Then(std::string what, std::function<bool()> ready,
                           std::function<void()> act) {
    m_steps.push_back({std::move(what), std::move(ready), std::move(act)});
    return *this;
}

AppDriver& AppDriver::On(const std::string& className, std::function<void()> act) {
    return Then(
        "screen " + className, [this, className] { return OnTop(className); }, std::move(act));
}

AppDriver& AppDriver::Click(const std::string& className, const std::string& control) {
    return Then(
        "click " + className + "." + control,
        [this, className, control] { return OnTop(className) && Widget(className, control); },
        [className, control] {
            QWidget* widget = Widget(className, control);
            // Check boxes and radio buttons take clicks on their box and caption only.
            if (qobject_cast<QCheckBox*>(widget) != nullptr ||
                qobject_cast<QRadioButton*>(widget) != nullptr) {
                QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
            } else {
                QTest::mouseClick(widget, Qt::LeftButton);
            }
        });
}

AppDriver& AppDriver::Type(const std::string& className, const std::string& control,
                           const std::string& utf8Text) {
    return Then(
        "type into " + className + "." + control,
        [this, className, control] { return OnTop(className) && Widget(className, control); },
        [className, control, utf8Text] {
            QWidget* widget = Widget(className, control);
            for (const QChar ch : QString::fromStdString(utf8Text)) {
                if (ch.unicode() < 128) {
                    QTest::keyClick(widget, ch.toLatin1());
                } else {
                    // Keys beyond ASCII arrive as text, as a keyboard layout sends them.
                    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(ch),
                                        Qt::NoModifier);
                    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(ch),
                                        Qt::NoModifier);
                }
            }
        });
}

AppDriver& AppDriver::Fill(const std::string& className, const std::string& control,
                           const std::string& utf8Text) {
    return Click(className, control)
        .Key(className, control, Qt::Key_Home)
        .Key(className, control, Qt::Key_End, Qt::ShiftModifier)
        .Type(className, control, utf8Text);
}

AppDriver& AppDriver::Key(const std::string& className, const std::string& control, int qtKey,
                          Qt::KeyboardModifiers modifiers) {
    return Then(
        "key into " + className + "." + control,
        [this, className, control] { return OnTop(className) && Widget(className, control); },
        [className, control, qtKey, modifiers] {
            QTest::keyClick(Widget(className, control), static_cast<Qt::Key>(qtKey), modifiers);
        });
}

AppDriver& AppDriver::Answer(const std::string& button) {
    return Then(
        "answer " + button,
        [this, button] { return OnTop("TMesDlgForm") && Widget("TMesDlgForm", button); },
        [this, button] {
            if (auto* label = qobject_cast<QLabel*>(Widget("TMesDlgForm", "MenLabel"))) {
                m_messages.push_back(label->text().toStdString());
            }
            QTest::mouseClick(Widget("TMesDlgForm", button), Qt::LeftButton);
        });
}

void AppDriver::QuietOffscreen(QtMsgType, const QMessageLogContext&, const QString& message) {
    if (!message.startsWith(QStringLiteral("This plugin does not support"))) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

QWidget* AppDriver::Window(const std::string& className) {
    const QString name = QString::fromStdString(className);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name && w->isVisible()) {
            return w;
        }
    }
    return nullptr;
}

QWidget* AppDriver::Widget(const std::string& className, const std::string& control) {
    QWidget* window = Window(className);
    if (window == nullptr) {
        return nullptr;
    }
    QWidget* widget = window->findChild<QWidget*>(QString::fromStdString(control));
    return widget != nullptr && widget->isVisible() ? widget : nullptr;
}

bool AppDriver::OnTop(const std::string& className) const {
    const Form* top = m_app->Ui().Renderer().TopForm();
    QWidget* window = Window(className);
    // A desktop dialog (files, printer) in front blocks the screen below it.
    QWidget* modal = QApplication::activeModalWidget();
    // A screen is ready for the user once its activation has run (it clears startPending)
    // and its window is the active one: a window activated again after a progress window
    // closed gets the keyboard focus only then.
    return top != nullptr && top->ClassName() == className && !top->startPending &&
           window != nullptr && (modal == nullptr || modal == window) &&
           QApplication::activeWindow() == window;
}

// Offscreen there is no window manager to give the activation back when a window on top
// goes away (a progress window, a desktop dialog, a drop-down list): the driver does it,
// as a desktop would, for the screen on top.
void AppDriver::ActivateTopWindow() {
    QWidget* top = m_app->Ui().Renderer().TopWindow();
    QWidget* modal = QApplication::activeModalWidget();
    if (top != nullptr && top->isVisible() && QApplication::activeWindow() != top &&
        QApplication::activePopupWidget() == nullptr && (modal == nullptr || modal == top)) {
        top->activateWindow();
    }
}

void AppDriver::Tick() {
    if (m_timedOut) {
        // Out of time: the desktop's own dialogs are cancelled, every screen closed.
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            if (m_app->Ui().Renderer().TopWindow() != dialog) {
                dialog->reject();
            }
        }
        m_app->Ui().Renderer().AbortAll();
        return;
    }
    ActivateTopWindow();
    if (m_actPending || m_next >= m_steps.size() || !m_steps[m_next].ready()) {
        return;
    }
    const size_t index = m_next++;
    if (std::getenv("VELMARO_E2E_TRACE") != nullptr) {
        const Form* top = m_app->Ui().Renderer().TopForm();
        const Control* active = top != nullptr ? top->ActiveControl() : nullptr;
        std::fprintf(stderr, "step %zu: %s (focus: %s)\n", index + 1, m_steps[index].what.c_str(),
                     active != nullptr ? active->Name().c_str() : "none");
    }
    // The step acts from a timer of its own: acting may open a modal window, whose loop
    // must go on running the ticker for the steps that follow (a timer does not fire
    // again while its own handler is still running).
    m_actPending = true;
    QTimer::singleShot(0, [this, index] {
        m_actPending = false;
        m_steps[index].act();
    });
}

bool AppDriver::Run(int timeoutMs) {
    return RunStart([this] { m_app->Run(); }, timeoutMs);
}

bool AppDriver::RunStart(const std::function<void()>& start, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer ticker;
    ticker.setInterval(m_tickMs);
    QObject::connect(&ticker, &QTimer::timeout, [this, &clock, timeoutMs] {
        if (!m_timedOut && clock.elapsed() > timeoutMs) {
            m_timedOut = true;
            m_failure = m_next < m_steps.size()
                            ? "timed out waiting for step " + std::to_string(m_next + 1) + ": " +
                                  m_steps[m_next].what
                            : "timed out after the last step";
            const Form* top = m_app->Ui().Renderer().TopForm();
            m_failure += top != nullptr ? " (on top: " + top->ClassName() +
                                              (top->startPending ? ", not yet activated)" : ")")
                                        : " (no screen on top)";
        }
        Tick();
    });
    ticker.start();
    start();
    ticker.stop();
    if (m_failure.empty() && m_next < m_steps.size()) {
        m_failure = "the program ended before step " + std::to_string(m_next + 1) + ": " +
                    m_steps[m_next].what;
    }
    return m_failure.empty();
}

}  // namespace velmaro::test

#pragma once

// Drives the real application in the test process: the application runs its main menu
// as it does for a user, while queued steps, each waiting for its moment (a window
// shown, a message on top), find windows and widgets by the names of the screens and
// controls and act on them with QTest. Modal windows block the step that opened them;
// the next steps run inside the new window's loop.

#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/VelmaroApp.h"

namespace velmaro::test {

class AppDriver {
  public:
    // The application with the delivered files of the project; the data home and the
    // configuration are this run's locations (the test's temporary ones).
    AppDriver();
    ~AppDriver();

    VelmaroApp& App() { return *m_app; }

    // A step: waits until `ready` holds, then runs `act`.
    AppDriver& Then(std::string what, std::function<bool()> ready, std::function<void()> act);
    // Waits until the screen of that class is the modal window on top.
    AppDriver& On(const std::string& className, std::function<void()> act);
    // Clicks a control once its screen is on top.
    AppDriver& Click(const std::string& className, const std::string& control);
    // Types into a control (each character as a key) once its screen is on top.
    AppDriver& Type(const std::string& className, const std::string& control,
                    const std::string& utf8Text);
    // Clicks into a field, selects its whole text with the keyboard and types over it, as
    // a user replaces what a field holds.
    AppDriver& Fill(const std::string& className, const std::string& control,
                    const std::string& utf8Text);
    AppDriver& Key(const std::string& className, const std::string& control, int qtKey,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Answers the message dialog with one of its buttons ("SimBitBtn", "NaoBitBtn",
    // "OkBitBtn"), recording the message's text.
    AppDriver& Answer(const std::string& button);

    // Runs the application until its main menu ends. False (with the reason in
    // Failure()) when a step did not come within the time or steps were left.
    bool Run(int timeoutMs = 20000);
    // The same for a step of the start (`start` may show messages before the main menu),
    // with the steps driving the windows it shows.
    bool RunStart(const std::function<void()>& start, int timeoutMs = 20000);
    const std::string& Failure() const { return m_failure; }
    // How often the steps are looked at (5 ms; 0: whenever the events are processed, as
    // the window benchmark times the steps).
    void TickEvery(int ms) { m_tickMs = ms; }
    // The texts of the messages answered, in order (UTF-8).
    const std::vector<std::string>& Messages() const { return m_messages; }

    // The visible window of a screen, and a control's widget in it.
    // The message handler of a program run offscreen: the platform says for each window
    // that it cannot raise it or pass on its size hints; the rest of Qt's messages are
    // shown.
    static void QuietOffscreen(QtMsgType type, const QMessageLogContext& context,
                               const QString& message);
    static QWidget* Window(const std::string& className);
    static QWidget* Widget(const std::string& className, const std::string& control);
    bool OnTop(const std::string& className) const;

  private:
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void Tick();
    void ActivateTopWindow();

    std::unique_ptr<VelmaroApp> m_app;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    std::vector<std::string> m_messages;
    std::string m_failure;
    bool m_timedOut = false;
    bool m_actPending = false;
    int m_tickMs = 5;
};

}  // namespace velmaro::test

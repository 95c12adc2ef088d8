#pragma once

// The one generic renderer: turns any Form into a window, keeps the window in step with
// the form's state, and forwards what the user does to the form through the functions
// of platform/Interaction.h. No screen behaviour lives here.
//
// Windows are built on first use and kept for the whole run, as the forms are. Modal
// forms stack: showing one deactivates the form below it (onDeactivate) and activates
// the new one (onActivate); closing it deactivates it and activates the form below
// again, as a desktop does when a dialog closes.

#include <QFont>
#include <QObject>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "platform/Ui.h"

namespace velmaro::qt {

class FormWindow;

class FormRenderer : public QObject {
  public:
    explicit FormRenderer(Ui& ui);
    ~FormRenderer() override;
    FormRenderer(const FormRenderer&) = delete;
    FormRenderer& operator=(const FormRenderer&) = delete;

    // Shows the form and runs its modal loop until the form asks to close; gives its
    // modal result. The first form shown is the main window.
    int ShowModal(Form& form);
    // A form shown without waiting and without taking the activation (progress window).
    void ShowModeless(Form& form);
    void UpdateModeless(Form& form);
    void CloseModeless(Form& form);

    // The window of a form, once built; its object name is the form's class name and
    // each control's widget has the control's name.
    QWidget* WindowOf(const Form& form) const;
    QWidget* WidgetOf(const Control& control) const;
    // The modal window on top, or null.
    QWidget* TopWindow() const;
    const Form* TopForm() const;

    // Ends every modal loop with kModalCancel (a test harness running out of time).
    void AbortAll();

    // The font labels are drawn in (messages are measured with it).
    QFont LabelFont() const;
    // Decodes picture files for image controls (JPEG through libjpeg by default).
    void SetPictureLoader(std::function<QImage(const std::string& utf8Path)> loader);
    QImage LoadPicture(const std::string& utf8Path) const;

  private:
    friend class FormWindow;
    FormWindow& WindowFor(Form& form);
    FormWindow* Top() const { return m_stack.empty() ? nullptr : m_stack.back(); }
    void Activate(FormWindow& window);
    void Deactivate(FormWindow& window);
    void AfterEvent();
    void OnFocusChanged(QWidget* old, QWidget* now);
    FormWindow* WindowContaining(QWidget* widget) const;
    void ReportUnexpected(const std::string& what);

    Ui& m_ui;
    std::map<const Form*, std::unique_ptr<FormWindow>> m_windows;
    std::vector<FormWindow*> m_stack;  // modal windows, the main window first
    std::function<QImage(const std::string&)> m_pictureLoader;
    bool m_reporting = false;
};

}  // namespace velmaro::qt

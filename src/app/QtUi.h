#pragma once

// The user-interface services of the running program: the shared dialogs (FormsUi)
// shown as real windows by the form renderer, with the desktop's file, printer and
// page set-up dialogs, printing and the beep.

#include <QImage>
#include <QPrinter>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/qt/FormRenderer.h"
#include "platform/qt/QtImageOutput.h"
#include "platform/qt/QtPrinting.h"
#include "shell/FormsUi.h"

namespace velmaro {

class QtUi : public FormsUi {
  public:
    explicit QtUi(std::filesystem::path programFolder);
    ~QtUi() override;

    qt::FormRenderer& Renderer() { return m_renderer; }
    // Pictures the screens draw: previews, BMP and PDF files.
    ImageOutput& Images() { return m_images; }

    int ShowModal(Form& form) override;
    int MeasureTextWidth(const std::string& text) override;
    int TextLineHeight() override;
    int ButtonWidth() override;
    std::pair<int, int> PictureSize() override;
    void ShowModeless(Form& form) override;
    void UpdateModeless(Form& form) override;
    void CloseModeless(Form& form) override;

    std::string AskSaveFileName(const std::string& filter, const std::string& suggested) override;
    bool ConfirmPrinter() override;
    void PrinterSetup() override;
    void PrintText(const TextPrintJob& job) override;
    PrintJob* BeginPrintJob(bool landscape) override;
    PrintJob* BeginPrintJobAsSetUp() override;
    void Beep() override;

    // Makes the fresh printer of each dialog and job (qt::MakePrinter; tests give
    // printers that refuse or write a file).
    using PrinterFactory = std::function<std::unique_ptr<QPrinter>(const qt::PrinterChoice&)>;
    void SetPrinterFactory(PrinterFactory make) { m_makePrinter = std::move(make); }

  private:
    // The printer of the job about to start: the one the print dialog just set up for it
    // (it may write the file chosen there), else a fresh one of the remembered choice.
    std::unique_ptr<QPrinter> TakePrinter();
    PrintJob* StartJob(QPageLayout::Orientation orientation);
    // The platform's print dialog (`setUp`: the printer set-up, no file, paper shown) over a
    // fresh printer of the remembered choice; that printer when accepted, else none.
    std::unique_ptr<QPrinter> RunPrintDialog(bool setUp);

    qt::FormRenderer m_renderer;
    qt::QtImageOutput m_images;
    qt::PrinterChoice m_choice;
    PrinterFactory m_makePrinter = qt::MakePrinter;
    std::unique_ptr<QPrinter> m_nextPrinter;
    std::unique_ptr<qt::QtPrintJob> m_job;
    std::string m_picturePath;
    QImage m_picture;
};

// A filter of the form "description|pattern|description|pattern" as the desktop's file
// dialog takes it ("description (pattern);;...").
QString FileDialogFilter(const std::string& filter);

}  // namespace velmaro

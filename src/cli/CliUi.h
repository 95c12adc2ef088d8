#pragma once

// The user-interface services for work done without windows: the messages the logic
// shows are kept (Windows-1252) for the command to print, questions are answered "NÃO",
// pickers keep their selection, and nothing is printed or opened.

#include <string>
#include <vector>

#include "platform/Ui.h"

namespace velmaro::cli {

class CliUi final : public Ui {
  public:
    explicit CliUi(ProgressSink* progress = nullptr) : m_progress(progress) {}

    int ShowMessageBox(const std::string& text, MessageKind kind) override;
    int PickFromList(const std::string&, const std::vector<std::string>&,
                     int preselected) override {
        return preselected;
    }
    RenameResult AskNewName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void ShowItemsInUse(const std::string& message, const std::vector<std::string>&) override;
    ProgressSink& Progress() override { return m_progress != nullptr ? *m_progress : m_null; }
    void ShowHelp() override {}
    std::string AskSaveFileName(const std::string&, const std::string&) override { return {}; }
    bool ConfirmPrinter() override { return false; }
    void PrinterSetup() override {}
    void PrintText(const TextPrintJob&) override {}
    PrintJob* BeginPrintJob(bool) override { return nullptr; }
    void Beep() override {}
    int ShowModal(Form&) override { return 0; }

    // The messages shown since the last call, and forgotten.
    std::vector<std::string> TakeMessages();

  private:
    ProgressSink* m_progress;
    NullProgress m_null;
    std::vector<std::string> m_messages;
};

}  // namespace velmaro::cli

#pragma once

// A Ui for screen tests: questions are answered from a queue, every message, list,
// rename, report, print job and modal form is recorded, and a callback can play the
// user inside a form shown modally. A yes/no question without a queued answer fails
// the test (and is answered NÃO).

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Interaction.h"
#include "platform/Ui.h"
#include "support/RecordingCanvas.h"

namespace velmaro::test {

struct RecordedMessage {
    std::string text;  // Windows-1252
    MessageKind kind;
};

struct PickerCall {
    std::string caption;
    std::vector<std::string> items;
    int preselected;
};

struct RenameCall {
    std::string caption;
    std::string mask;
    std::string currentName;
};

struct SaveDialogCall {
    std::string filter;
    std::string suggested;  // UTF-8
};

struct InUseReport {
    std::string message;
    std::vector<std::string> items;
};

class RecordingProgress : public ProgressSink {
  public:
    void Begin(int max) override {
        ++begins;
        maximum = max;
        open = true;
    }
    void SetPosition(int position) override { positions.push_back(position); }
    void End() override {
        ++ends;
        open = false;
    }
    int begins = 0;
    int ends = 0;
    int maximum = 0;
    bool open = false;
    std::vector<int> positions;
};

class RecordingPrintJob : public PrintJob {
  public:
    explicit RecordingPrintJob(int dpi, bool isLandscape) : canvas(dpi), landscape(isLandscape) {}
    Canvas& PageCanvas() override { return canvas; }
    int DotsPerInch() const override { return canvas.DotsPerInch(); }
    int PageWidth() const override { return pageWidth; }
    int PageHeight() const override { return pageHeight; }
    void NewPage() override {
        ++pages;
        canvas.Record("NewPage");
    }
    void End() override { ended = true; }
    RecordingCanvas canvas;
    bool landscape;
    int pageWidth = 0;  // printable area in dots; 0: not known
    int pageHeight = 0;
    int pages = 1;
    bool ended = false;
};

class ScriptedUi : public Ui {
  public:
    // Answers, consumed in order.
    void Answer(int answer) { m_answers.push_back(answer); }
    void AnswerYes() { Answer(kAnswerYes); }
    void AnswerNo() { Answer(kAnswerNo); }
    // The list picker's choice; std::nullopt plays the close box (keeps the preselection).
    void Pick(std::optional<int> index) { m_picks.push_back(index); }
    void Rename(bool confirmed, std::string newName) {
        m_renames.push_back({confirmed, std::move(newName)});
    }
    void SaveAs(std::string fileName) { m_saveNames.push_back(std::move(fileName)); }
    void PrinterAnswer(bool confirmed) { m_printerAnswers.push_back(confirmed); }
    // Plays the user inside a form of this class when it is shown modally.
    void OnShow(const std::string& className, std::function<void(Form&)> script) {
        m_scripts[className].push_back(std::move(script));
    }

    const std::vector<RecordedMessage>& Messages() const { return m_messages; }
    std::string LastMessage() const {
        return m_messages.empty() ? std::string() : m_messages.back().text;
    }
    std::vector<std::string> MessageTexts() const;
    void ClearMessages() { m_messages.clear(); }
    const std::vector<PickerCall>& Pickers() const { return m_pickers; }
    const std::vector<RenameCall>& RenameCalls() const { return m_renameCalls; }
    const std::vector<InUseReport>& InUseReports() const { return m_inUse; }
    const std::vector<SaveDialogCall>& SaveDialogs() const { return m_saveDialogs; }
    const std::vector<TextPrintJob>& TextJobs() const { return m_textJobs; }
    const std::vector<std::string>& ShownForms() const { return m_shownForms; }
    std::vector<std::unique_ptr<RecordingPrintJob>>& PrintJobs() { return m_printJobs; }
    RecordingProgress& ProgressLog() { return m_progress; }
    int HelpShown() const { return m_helpShown; }
    int Beeps() const { return m_beeps; }
    int PrinterSetups() const { return m_printerSetups; }
    int printerDpi = 300;
    // The printable area of the printer's page in its dots (0: the job cannot tell).
    int printerPageWidth = 0;
    int printerPageHeight = 0;
    bool printerAvailable = true;
    // The orientation chosen in the printer set-up.
    bool setUpLandscape = false;
    // Unanswered yes/no questions fail the test unless this is set.
    bool strictQuestions = true;
    size_t PendingAnswers() const { return m_answers.size(); }

    // The user's actions (see platform/Interaction.h), for readable tests.
    void Activate(Form& form);
    bool MoveFocus(Form& form, Control& target) { return velmaro::MoveFocus(form, &target); }
    void Press(Form& form, Button& button) { PressButton(*this, form, button); }
    // Tab: the focus walks to the next control.
    void Tab(Form& form) { MoveToNextControl(form); }
    void Type(Form& form, Control& control, const std::string& text) {
        TypeText(form, control, text);
    }

    int ShowMessageBox(const std::string& text, MessageKind kind) override;
    int PickFromList(const std::string& caption, const std::vector<std::string>& items,
                     int preselected) override;
    RenameResult AskNewName(const std::string& caption, const std::string& editMask,
                            const std::string& currentName) override;
    void ShowItemsInUse(const std::string& message, const std::vector<std::string>& items) override;
    ProgressSink& Progress() override { return m_progress; }
    void ShowHelp() override {
        CountDialog();
        ++m_helpShown;
    }
    std::string AskSaveFileName(const std::string& filter, const std::string& suggested) override;
    bool ConfirmPrinter() override;
    void PrinterSetup() override { ++m_printerSetups; }
    void PrintText(const TextPrintJob& job) override { m_textJobs.push_back(job); }
    PrintJob* BeginPrintJob(bool landscape) override;
    PrintJob* BeginPrintJobAsSetUp() override { return BeginPrintJob(setUpLandscape); }
    void Beep() override { ++m_beeps; }
    int ShowModal(Form& form) override;

  private:
    std::deque<int> m_answers;
    std::deque<std::optional<int>> m_picks;
    std::deque<RenameResult> m_renames;
    std::deque<std::string> m_saveNames;
    std::deque<bool> m_printerAnswers;
    std::map<std::string, std::deque<std::function<void(Form&)>>> m_scripts;
    std::vector<RecordedMessage> m_messages;
    std::vector<PickerCall> m_pickers;
    std::vector<RenameCall> m_renameCalls;
    std::vector<InUseReport> m_inUse;
    std::vector<SaveDialogCall> m_saveDialogs;
    std::vector<TextPrintJob> m_textJobs;
    std::vector<std::string> m_shownForms;
    std::vector<std::unique_ptr<RecordingPrintJob>> m_printJobs;
    RecordingProgress m_progress;
    int m_helpShown = 0;
    int m_beeps = 0;
    int m_printerSetups = 0;
};

}  // namespace velmaro::test

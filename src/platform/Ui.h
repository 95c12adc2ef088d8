#pragma once

// What the screen logic asks of the desktop. The Qt application implements it with
// real windows; tests use ScriptedUi (tests/support) with queued answers.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Form.h"
#include "storage/Progress.h"

namespace velmaro {

class Canvas;

enum class MessageKind { Ok = 1, YesNo = 2 };

struct RenameResult {
    bool confirmed = false;
    std::string newName;
};

// A text print job: lines in a font (the items-in-use report and the help screen).
struct TextPrintJob {
    std::string fontFamily;
    int fontSize = 0;
    std::vector<std::string> lines;
    // The lines (indexes into `lines`) that begin a new page.
    std::vector<std::size_t> pageStarts;
};

// Drawing on the printer: the caller draws each page through the canvas.
class PrintJob {
  public:
    virtual ~PrintJob() = default;
    virtual Canvas& PageCanvas() = 0;
    virtual int DotsPerInch() const = 0;
    // The printable area of the page, in the canvas' dots; 0 when the platform cannot
    // tell.
    virtual int PageWidth() const { return 0; }
    virtual int PageHeight() const { return 0; }
    virtual void NewPage() = 0;
    virtual void End() = 0;
};

class Ui {
  public:
    virtual ~Ui() = default;

    // Every message and question of the system; answers 1 (OK), 6 (SIM) or 7 (NÃO).
    virtual int ShowMessageBox(const std::string& text, MessageKind kind) = 0;
    // The list picker: gives the selected index after it closes (the preselected one
    // when it was closed with its close box).
    virtual int PickFromList(const std::string& caption, const std::vector<std::string>& items,
                             int preselected) = 0;
    // The rename dialog with the key field's edit mask.
    virtual RenameResult AskNewName(const std::string& caption, const std::string& editMask,
                                    const std::string& currentName) = 0;
    // The items-in-use report: message with "//" line breaks, then the items.
    virtual void ShowItemsInUse(const std::string& message,
                                const std::vector<std::string>& items) = 0;
    // The progress window "Aguarde Processamento ..." (modeless).
    virtual ProgressSink& Progress() = 0;
    virtual void ShowHelp() = 0;
    // A file name chosen in the save dialog (UTF-8 path), or empty when cancelled.
    virtual std::string AskSaveFileName(const std::string& filter,
                                        const std::string& suggested) = 0;
    // The print dialog of the print about to start; false when cancelled. A file chosen
    // there receives that print only; the printer chosen stays for the next prints.
    virtual bool ConfirmPrinter() = 0;
    // The platform's printer set-up dialog: the printer and its options (paper,
    // orientation) for the prints that follow.
    virtual void PrinterSetup() = 0;
    virtual void PrintText(const TextPrintJob& job) = 0;
    // A drawing print job in the given orientation, or null when it cannot start. Each job
    // starts on a fresh printer: one that failed leaves nothing behind for the next.
    virtual PrintJob* BeginPrintJob(bool landscape) = 0;
    // A drawing print job on the printer and in the orientation chosen in the printer
    // set-up (portrait until one was chosen), or null when it cannot start.
    virtual PrintJob* BeginPrintJobAsSetUp() { return BeginPrintJob(false); }
    virtual void Beep() = 0;

    // Shows another screen modally and returns its modal result when it closes.
    virtual int ShowModal(Form& form) = 0;

    // Counts every dialog shown, so that a handler can tell whether leaving a field
    // raised one (a message shown while leaving swallows the click that caused it).
    int DialogsShown() const { return m_dialogsShown; }

  protected:
    void CountDialog() { ++m_dialogsShown; }

  private:
    int m_dialogsShown = 0;
};

}  // namespace velmaro

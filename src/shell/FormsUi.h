#pragma once

// The user-interface services built on the shared dialog screens: the message dialog,
// list picker, rename dialog, items-in-use report, progress window and help screen.
// The platform supplies showing a form, the measures the message dialog needs, the
// file and printer dialogs and the beep.

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Ui.h"
#include "shell/AjuForm.h"
#include "shell/AltNomForm.h"
#include "shell/ConForm.h"
#include "shell/IteVerForm.h"
#include "shell/LisForm.h"
#include "shell/MesDlgForm.h"

namespace velmaro {

class FormsUi : public Ui {
  public:
    explicit FormsUi(std::filesystem::path programFolder);
    ~FormsUi() override;

    int ShowMessageBox(const std::string& text, MessageKind kind) override;
    int PickFromList(const std::string& caption, const std::vector<std::string>& items,
                     int preselected) override;
    RenameResult AskNewName(const std::string& caption, const std::string& editMask,
                            const std::string& currentName) override;
    void ShowItemsInUse(const std::string& message, const std::vector<std::string>& items) override;
    ProgressSink& Progress() override;
    // The clock that paces the progress window's drawing (tests set their own).
    void PaceProgressWith(ProgressPacer::Clock clock);
    void ShowHelp() override;

    // The platform's part.
    // The width in pixels of a one-line text in the message label's font (Windows-1252
    // text), and the height of a line of that font.
    virtual int MeasureTextWidth(const std::string& text) = 0;
    virtual int TextLineHeight() = 0;
    // The width of a button of the message dialog.
    virtual int ButtonWidth() = 0;
    // The size of the message dialog's picture; {0, 0} when it is missing.
    virtual std::pair<int, int> PictureSize() = 0;
    // A form shown without waiting (the progress window), refreshed, closed.
    virtual void ShowModeless(Form& form) = 0;
    virtual void UpdateModeless(Form& form) = 0;
    virtual void CloseModeless(Form& form) = 0;

    // The dialog screens (created once, in the order the application lists its screens).
    TMesDlgForm& MesDlg() { return m_mesDlg; }
    TLisForm& Lis() { return m_lis; }
    TAltNomForm& AltNom() { return m_altNom; }
    TIteVerForm& IteVer() { return m_iteVer; }
    TConForm& Con() { return m_con; }
    TAjuForm& Aju() { return m_aju; }

  private:
    class ConProgress;

    TMesDlgForm m_mesDlg;
    TLisForm m_lis;
    TAltNomForm m_altNom;
    TIteVerForm m_iteVer;
    TConForm m_con;
    TAjuForm m_aju;
    std::unique_ptr<ConProgress> m_progress;
};

}  // namespace velmaro

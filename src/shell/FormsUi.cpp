#include "shell/FormsUi.h"

#include <algorithm>
#include <utility>

namespace velmaro {

// The progress window as the sink of long operations: shown without blocking on
// Begin, closed on End. Its bar follows every position, but the window is drawn again
// only at the pace of the ProgressPacer: the work does not wait on the screen.
class FormsUi::ConProgress final : public ProgressSink {
  public:
    explicit ConProgress(FormsUi& ui) : m_ui(ui) {}
    void Begin(int maximum) override {
        TConForm& con = m_ui.Con();
        con.Start(maximum);
        pacer.Begin(con.ProgressBar.maximum);
        if (!m_open) {
            m_open = true;
            m_ui.ShowModeless(con);
        } else {
            m_ui.UpdateModeless(con);
        }
    }
    void SetPosition(int position) override {
        TConForm& con = m_ui.Con();
        con.ProgressBar.position =
            std::clamp(position, con.ProgressBar.minimum, con.ProgressBar.maximum);
        if (m_open && pacer.Due(con.ProgressBar.position)) {
            m_ui.UpdateModeless(con);
        }
    }
    void End() override {
        if (m_open) {
            m_open = false;
            m_ui.CloseModeless(m_ui.Con());
        }
    }

    ProgressPacer pacer;

  private:
    FormsUi& m_ui;
    bool m_open = false;
};

FormsUi::FormsUi(std::filesystem::path programFolder)
    : m_altNom(*this),
      m_iteVer(*this),
      m_aju(*this, std::move(programFolder)),
      m_progress(std::make_unique<ConProgress>(*this)) {}

FormsUi::~FormsUi() = default;

int FormsUi::ShowMessageBox(const std::string& text, MessageKind kind) {
    CountDialog();
    const auto [pictureWidth, pictureHeight] = PictureSize();
    const MessageLines lines =
        BreakMessageLines(text, TMesDlgForm::kMaxTextWidth,
                          [this](const std::string& line) { return MeasureTextWidth(line); });
    m_mesDlg.Prepare(lines.text, kind, lines.width, ButtonWidth(), pictureWidth, pictureHeight,
                     lines.count * TextLineHeight());
    const int answer = ShowModal(m_mesDlg);
    if (kind == MessageKind::Ok) {
        return kAnswerOk;
    }
    // Only the buttons close the dialog; anything else counts as NÃO.
    return answer == kAnswerYes ? kAnswerYes : kAnswerNo;
}

int FormsUi::PickFromList(const std::string& caption, const std::vector<std::string>& items,
                          int preselected) {
    CountDialog();
    m_lis.Fill(caption, items, preselected);
    ShowModal(m_lis);
    return m_lis.ListBox.itemIndex;
}

RenameResult FormsUi::AskNewName(const std::string& caption, const std::string& editMask,
                                 const std::string& currentName) {
    CountDialog();
    m_altNom.Prepare(caption, editMask, currentName);
    RenameResult result;
    result.confirmed = ShowModal(m_altNom) == TAltNomForm::kConfirmed;
    result.newName = m_altNom.NovNomMaskEdit.text;
    return result;
}

void FormsUi::ShowItemsInUse(const std::string& message, const std::vector<std::string>& items) {
    CountDialog();
    m_iteVer.Fill(message, items);
    ShowModal(m_iteVer);
}

ProgressSink& FormsUi::Progress() {
    return *m_progress;
}

void FormsUi::PaceProgressWith(ProgressPacer::Clock clock) {
    m_progress->pacer.SetClock(std::move(clock));
}

void FormsUi::ShowHelp() {
    CountDialog();
    m_aju.ResetClose();
    ShowModal(m_aju);
}

}  // namespace velmaro

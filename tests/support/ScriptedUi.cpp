#include "support/ScriptedUi.h"

#include <gtest/gtest.h>

#include "storage/Cp1252.h"

namespace velmaro::test {

std::vector<std::string> ScriptedUi::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : m_messages) {
        texts.push_back(m.text);
    }
    return texts;
}

void ScriptedUi::Activate(Form& form) {
    form.ResetClose();
    if (form.onActivate) {
        form.onActivate();
    }
}

int ScriptedUi::ShowMessageBox(const std::string& text, MessageKind kind) {
    CountDialog();
    m_messages.push_back({text, kind});
    if (kind == MessageKind::Ok) {
        return kAnswerOk;
    }
    if (m_answers.empty()) {
        if (strictQuestions) {
            ADD_FAILURE() << "unexpected question: " << Cp1252ToUtf8(text);
        }
        return kAnswerNo;
    }
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int ScriptedUi::PickFromList(const std::string& caption, const std::vector<std::string>& items,
                             int preselected) {
    CountDialog();
    m_pickers.push_back({caption, items, preselected});
    if (m_picks.empty()) {
        return preselected;
    }
    const auto pick = m_picks.front();
    m_picks.pop_front();
    return pick.value_or(preselected);
}

RenameResult ScriptedUi::AskNewName(const std::string& caption, const std::string& editMask,
                                    const std::string& currentName) {
    CountDialog();
    m_renameCalls.push_back({caption, editMask, currentName});
    if (m_renames.empty()) {
        return {};
    }
    RenameResult r = m_renames.front();
    m_renames.pop_front();
    return r;
}

void ScriptedUi::ShowItemsInUse(const std::string& message, const std::vector<std::string>& items) {
    CountDialog();
    m_inUse.push_back({message, items});
}

std::string ScriptedUi::AskSaveFileName(const std::string& filter, const std::string& suggested) {
    CountDialog();
    m_saveDialogs.push_back({filter, suggested});
    if (m_saveNames.empty()) {
        return {};
    }
    std::string name = m_saveNames.front();
    m_saveNames.pop_front();
    return name;
}

bool ScriptedUi::ConfirmPrinter() {
    CountDialog();
    if (m_printerAnswers.empty()) {
        return printerAvailable;
    }
    const bool answer = m_printerAnswers.front();
    m_printerAnswers.pop_front();
    return answer;
}

PrintJob* ScriptedUi::BeginPrintJob(bool landscape) {
    if (!printerAvailable) {
        return nullptr;
    }
    m_printJobs.push_back(std::make_unique<RecordingPrintJob>(printerDpi, landscape));
    m_printJobs.back()->pageWidth = printerPageWidth;
    m_printJobs.back()->pageHeight = printerPageHeight;
    return m_printJobs.back().get();
}

int ScriptedUi::ShowModal(Form& form) {
    CountDialog();
    m_shownForms.push_back(form.ClassName());
    Activate(form);
    auto it = m_scripts.find(form.ClassName());
    if (it != m_scripts.end() && !it->second.empty() && !form.CloseRequested()) {
        auto script = std::move(it->second.front());
        it->second.pop_front();
        script(form);
    }
    const int result = form.modalResult;
    form.ResetClose();
    return result;
}

}  // namespace velmaro::test

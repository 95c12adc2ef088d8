#include "cli/CliUi.h"

#include <utility>

namespace velmaro::cli {

int CliUi::ShowMessageBox(const std::string& text, MessageKind kind) {
    CountDialog();
    m_messages.push_back(text);
    return kind == MessageKind::YesNo ? kAnswerNo : kAnswerOk;
}

void CliUi::ShowItemsInUse(const std::string& message, const std::vector<std::string>&) {
    CountDialog();
    m_messages.push_back(message);
}

std::vector<std::string> CliUi::TakeMessages() {
    return std::exchange(m_messages, {});
}

}  // namespace velmaro::cli

#include "shell/IteVerForm.h"

#include "shell/OutputFiles.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

constexpr int kRuleLength = 73;

}  // namespace

std::vector<std::string> SplitReportMessage(const std::string& message) {
    std::vector<std::string> lines;
    std::string rest = message;
    for (auto at = rest.find("//"); at != std::string::npos; at = rest.find("//")) {
        lines.push_back(rest.substr(0, at));
        rest.erase(0, at + 2);
    }
    if (!rest.empty()) {
        lines.push_back(rest);
    }
    return lines;
}

TIteVerForm::TIteVerForm(Ui& ui)
    : Form("TIteVerForm"),
      IteVerListBox(*this, "IteVerListBox"),
      BitBtn1(*this, "BitBtn1", "Imprime Lista"),
      BitBtn2(*this, "BitBtn2", "Salva lista"),
      BitBtn3(*this, "BitBtn3", "Continua"),
      m_ui(ui) {
    caption = W("ATENÇÃO");
    width = 560;
    height = 400;
    IteVerListBox.fontFamily = "Courier New";
    IteVerListBox.fontSize = 10;
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn2.onClick = [this] { BitBtn2Click(); };
    BitBtn3.onClick = [this] { BitBtn3Click(); };
}

void TIteVerForm::Fill(const std::string& message, const std::vector<std::string>& items) {
    ResetClose();
    IteVerListBox.items = SplitReportMessage(message);
    IteVerListBox.items.push_back(std::string(kRuleLength, '='));
    IteVerListBox.items.insert(IteVerListBox.items.end(), items.begin(), items.end());
    IteVerListBox.itemIndex = -1;
    SetFocus(&BitBtn3);
}

void TIteVerForm::BitBtn1Click() {
    if (!m_ui.ConfirmPrinter()) {
        return;
    }
    TextPrintJob job;
    job.fontFamily = IteVerListBox.fontFamily;
    job.fontSize = IteVerListBox.fontSize;
    job.lines = IteVerListBox.items;
    m_ui.PrintText(job);
}

void TIteVerForm::BitBtn2Click() {
    const std::string fileName = m_ui.AskSaveFileName("txt|*.txt", "");
    if (fileName.empty()) {
        return;
    }
    if (const std::string refusal = OutputFileRefusal(ProgramFolder(), fileName);
        !refusal.empty()) {
        m_ui.ShowMessageBox(W(refusal), MessageKind::Ok);
        return;
    }
    try {
        WriteFileAtomic(std::filesystem::path(fileName), JoinLinesCrLf(IteVerListBox.items));
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W("Não foi possível gravar a lista no arquivo \"") +
                                Utf8ToCp1252(fileName, '?').value_or(std::string()) +
                                W("\"! Verifique se a pasta existe e pode ser gravada."),
                            MessageKind::Ok);
    }
}

void TIteVerForm::BitBtn3Click() {
    Close(kAnswerOk);
}

LayoutItem TIteVerForm::Layout() {
    return LayoutItem::Column({LayoutItem::Of(IteVerListBox),
                               LayoutItem::Row({LayoutItem::Of(BitBtn1), LayoutItem::Of(BitBtn2),
                                                LayoutItem::Stretch(), LayoutItem::Of(BitBtn3)})});
}

}  // namespace velmaro

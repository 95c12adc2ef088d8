#include "shell/AjuForm.h"

#include <iterator>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

std::string PathText(const std::filesystem::path& path) {
    return Utf8ToCp1252(path.string(), '?').value_or(std::string());
}

}  // namespace

std::vector<std::vector<std::string>> SplitHelpPages(const std::vector<std::string>& lines) {
    const std::string pageBreak = W("<quebra página>");
    std::vector<std::vector<std::string>> pages(1);
    for (const auto& line : lines) {
        if (line.find(pageBreak) != std::string::npos) {
            pages.emplace_back();
        } else {
            pages.back().push_back(line);
        }
    }
    return pages;
}

TAjuForm::TAjuForm(Ui& ui, std::filesystem::path programFolder)
    : Form("TAjuForm"),
      AjuMemo(*this, "AjuMemo"),
      ImpBitBtn(*this, "ImpBitBtn", "Imprime"),
      BitBtn1(*this, "BitBtn1", "&Retorna"),
      m_ui(ui),
      m_programFolder(std::move(programFolder)) {
    width = 760;
    height = 560;
    AjuMemo.readOnly = true;
    AjuMemo.fontFamily = "Courier New";
    AjuMemo.fontSize = 10;
    onActivate = [this] { FormActivate(); };
    onDeactivate = [this] { FormDeactivate(); };
    ImpBitBtn.onClick = [this] { ImpBitBtnClick(); };
    BitBtn1.onClick = [this] { BitBtn1Click(); };
}

void TAjuForm::FormActivate() {
    caption = "TELA AJUDA - VELMARO 4.0";
    m_loaded = false;
    m_loadedLines.clear();
    AjuMemo.lines.clear();
    AjuMemo.caretLine = 0;
    AjuMemo.caretColumn = 0;
    const std::filesystem::path path = HelpFilePath(m_programFolder);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        m_ui.ShowMessageBox(W("O arquivo de ajuda \"") + PathText(path) +
                                W("\" não foi encontrado. A ajuda não pode ser mostrada."),
                            MessageKind::Ok);
        return;
    }
    try {
        m_loadedLines = SplitLines(ReadFileBytes(path));
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(
            W("Não foi possível ler o arquivo de ajuda \"") + PathText(path) + "\"!",
            MessageKind::Ok);
        return;
    }
    m_loaded = true;
    AjuMemo.lines = m_loadedLines;
}

// Writes the text back when the screen loses the focus. Only a text that was read and
// then changed is written, so a file that could not be read is never replaced by an
// empty one.
void TAjuForm::FormDeactivate() {
    if (!m_loaded || AjuMemo.lines == m_loadedLines) {
        return;
    }
    const std::filesystem::path path = HelpFilePath(m_programFolder);
    try {
        WriteFileAtomic(path, JoinLinesCrLf(AjuMemo.lines));
        m_loadedLines = AjuMemo.lines;
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(
            W("Não foi possível gravar o arquivo de ajuda \"") + PathText(path) + "\"!",
            MessageKind::Ok);
    }
}

void TAjuForm::ImpBitBtnClick() {
    if (!m_ui.ConfirmPrinter()) {
        return;
    }
    // One job, each part on new pages: every page goes where the dialog said (a file chosen
    // there holds the whole text).
    TextPrintJob job;
    job.fontFamily = AjuMemo.fontFamily;
    job.fontSize = AjuMemo.fontSize;
    for (auto& page : SplitHelpPages(AjuMemo.lines)) {
        job.pageStarts.push_back(job.lines.size());
        std::move(page.begin(), page.end(), std::back_inserter(job.lines));
    }
    m_ui.PrintText(job);
}

void TAjuForm::BitBtn1Click() {
    Close(kAnswerOk);
}

LayoutItem TAjuForm::Layout() {
    return LayoutItem::Column(
        {LayoutItem::Of(AjuMemo), LayoutItem::Row({LayoutItem::Of(ImpBitBtn), LayoutItem::Stretch(),
                                                   LayoutItem::Of(BitBtn1)})});
}

}  // namespace velmaro

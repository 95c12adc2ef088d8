#include "preparations/CadRecForm.h"

#include <utility>

#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/FileDamage.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"

namespace velmaro {

namespace {

constexpr std::string_view kTooManyLines = "São permitadas no máximo 32 linhas!";
constexpr std::string_view kSaved = "Receita gravada com sucesso!";
constexpr std::string_view kSaveFailed = "Erro durante a gravação da receita!";

}  // namespace

TCadRecForm::TCadRecForm(Ui& ui, std::filesystem::path folder)
    : Form("TCadRecForm"),
      NomPreLabel(*this, "NomPreLabel"),
      RecMemo(*this, "RecMemo"),
      GraBitBtn(*this, "GraBitBtn", "&Grava"),
      ImpBitBtn(*this, "ImpBitBtn", "&Imprime"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      programFolder(std::move(folder)),
      m_ui(ui) {
    caption = "Cadastro de Receita";
    RecMemo.fontFamily = "Courier New";
    RecMemo.fontSize = 10;
    RecMemo.columns = kLineWidth;  // a whole line of the text in sight
    NomPreLabel.centred = true;
    onActivate = [this] { FormActivate(); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    RecMemo.onChange = [this] { RecMemoChange(); };
    RecMemo.onKeyPress = [this](char& key) { RecMemoKeyPress(key); };
    GraBitBtn.onClick = [this] { GraBitBtnClick(); };
    ImpBitBtn.onClick = [this] { ImpBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

void TCadRecForm::FormActivate() {
    if (!startPending) {
        return;  // back from the help screen: the text stays as it is
    }
    startPending = false;
    caption = "DIGITA MODO DE PREPARO";
    RecMemo.lines.clear();
    RecMemo.caretLine = 0;
    RecMemo.caretColumn = 0;
    dirty = false;
    // Not opened on a text it could not read whole, so that no save can replace it: a NUL
    // byte would hide the lines after it, and Grava would write the rest away.
    const std::filesystem::path path = RecipeTextPath(programFolder, tableName, preparationName);
    ReadCheck check;
    check.file = path;
    try {
        RecMemo.lines = ReadTextLines(ReadFileBytes(path), check);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        Close();
        return;
    }
    if (!check.Clean()) {
        RecMemo.lines.clear();
        m_ui.ShowMessageBox(W(DamagedFileMessage(check) + " A receita não foi aberta."),
                            MessageKind::Ok);
        Close();
        return;
    }
    m_text = MethodTextFromLines(RecMemo.lines);
    SetFocus(&RecMemo);
}

// Every edit, typed or pasted: the paragraph flows again within the 70 columns, and an
// edit that would take the text beyond 32 lines or 2240 characters is undone whole.
void TCadRecForm::RecMemoChange() {
    const bool backspace = std::exchange(m_backspace, false);
    const bool taken =
        ApplyMethodEdit(m_text, RecMemo.lines, RecMemo.caretLine, RecMemo.caretColumn, backspace,
                        {kLineWidth, kMaxLines, kMaxChars});
    RecMemo.lines = m_text.lines;
    if (!taken) {
        m_ui.ShowMessageBox(W(kTooManyLines), MessageKind::Ok);
        return;
    }
    dirty = true;
}

// Each key before it reaches the text: no 33rd line, nothing at the last position of the
// 32nd line, and nothing at all while a longer text (written elsewhere) is shown.
void TCadRecForm::RecMemoKeyPress(char& key) {
    const auto count = static_cast<int>(RecMemo.lines.size());
    if (count == kMaxLines && key == '\r') {
        key = 0;
        m_ui.ShowMessageBox(W(kTooManyLines), MessageKind::Ok);
    } else if (RecMemo.caretLine == kMaxLines - 1 && RecMemo.caretColumn == kLineWidth - 1) {
        key = 0;
        m_ui.ShowMessageBox(W(kTooManyLines), MessageKind::Ok);
    } else if (count > kMaxLines) {
        key = 0;
        m_ui.Beep();
    }
    m_backspace = key == '\b';
}

bool TCadRecForm::Save() {
    try {
        WriteFileAtomic(RecipeTextPath(programFolder, tableName, preparationName),
                        JoinLinesCrLf(RecMemo.lines));
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kSaveFailed), MessageKind::Ok);
        return false;
    }
    dirty = false;
    return true;
}

void TCadRecForm::GraBitBtnClick() {
    if (m_ui.ShowMessageBox(W("Grava receita?"), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    if (Save()) {
        m_ui.ShowMessageBox(W(kSaved), MessageKind::Ok);
    }
}

void TCadRecForm::ImpBitBtnClick() {
    if (dirty) {
        Save();
    }
}

void TCadRecForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

bool TCadRecForm::ConfirmLeave() {
    if (!dirty) {
        return true;
    }
    if (m_ui.ShowMessageBox(W("Grava alterações da receita?"), MessageKind::YesNo) != kAnswerYes) {
        dirty = false;  // the file stays as it was
        return true;
    }
    if (!Save()) {
        return false;
    }
    m_ui.ShowMessageBox(W(kSaved), MessageKind::Ok);
    return true;
}

void TCadRecForm::RetBitBtnClick() {
    if (ConfirmLeave()) {
        Close();
    }
}

// The window's close box asks as Retorna does.
bool TCadRecForm::FormCloseQuery() {
    return CloseRequested() || ConfirmLeave();
}

LayoutItem TCadRecForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Of(NomPreLabel),
        L::Of(RecMemo),
        L::Row(
            {L::Of(GraBitBtn), L::Of(ImpBitBtn), L::Of(AjuBitBtn), L::Of(RetBitBtn), L::Stretch()}),
    });
}

}  // namespace velmaro

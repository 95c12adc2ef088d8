#include "output/labels/CfgRotForm.h"

#include <optional>
#include <string_view>

#include "output/labels/legacy/LabelComposition.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "platform/Interaction.h"
#include "shell/NameRules.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr std::string_view kCaption = "CONFIGURA ETIQUETAS DE RÓTULO NUTRICIONAL";
constexpr std::string_view kInvalidValue = "Valor inválido!";
constexpr std::string_view kConfirmSave = "Confirma gravação dos dados?";
constexpr std::string_view kSaved = "Os dados foram gravados com sucesso!";
constexpr std::string_view kSaveFailed = "Erro durante a gravação dos dados!";
constexpr std::string_view kCaptionsTitle = "Abrevia descrições do rótulo: ";

// What stands beside each field of SheetFields(): the text before it, the unit after it
// and its hint (UTF-8 source texts).
struct FieldTexts {
    std::string_view caption;
    std::string_view unit;
    std::string_view hint;
};
constexpr std::array<FieldTexts, kSheetFieldCount> kFieldTexts{{
    {"Resolução da impressora", "ppp", "Resolução da Impressora em Pontos Por Polegada - ppp"},
    {"Quantidade de etiquetas numa linha :", "", "Quantidade de Etiquetas em uma Linha"},
    {"Quantidade de etiquetas numa coluna :", "", "Quantidade de Etiquetas em uma Coluna"},
    {"1 - Largura da Etiqueta :", "mm", "Largura da Etiqueta em Milímetros"},
    {"2 - Altura da Etiqueta :", "mm", "Altura da Etiqueta em milímetros"},
    {"3 - Margem Esquerda :", "mm", "Margem Esquerda em Milímetros"},
    {"4 - Margem Superior :", "mm", "Margem Superior em Milímetros"},
    {"5 - Distância horizontal entre etiquetas :", "mm",
     "Distância Horizontal entre Etiquetas em Milímetros"},
    {"6 - Distância vertical entre etiquetas :", "mm",
     "Distância Vertical entre Etiquetas em Milímetros"},
    {"Comprimento utilizado :", "%", ""},
    {"Altura utilizada :", "%", ""},
    {"Quantidade por porção :", "", ""},
    {"Valor calórico :", "", ""},
    {"Carboidratos :", "", ""},
    {"Proteinas :", "", ""},
    {"Gorduras totais :", "", ""},
    {"Gorduras saturadas :", "", ""},
    {"Colesterol :", "", ""},
    {"Fibra alimentar :", "", ""},
    {"Cálcio :", "", ""},
    {"Ferro :", "", ""},
    {"Sódio :", "", ""},
}};

constexpr size_t kFirstCaption = kSheetFieldCount - kLabelRowSize;

// A text into a fixed-width field: padded with spaces, or cut, to its width.
void PutText(MaskEdit& field, std::string text) {
    if (field.maxLength > 0) {
        text.resize(static_cast<size_t>(field.maxLength), ' ');
    }
    field.text = std::move(text);
    field.caret = 0;
    field.selLength = 0;
}

}  // namespace

TCfgRotForm::TCfgRotForm(Ui& ui, std::filesystem::path folder, ImageOutput& images)
    : Form("TCfgRotForm"),
      ResImpMaskEdit(*this, "ResImpMaskEdit"),
      QuaEtiLinMaskEdit(*this, "QuaEtiLinMaskEdit"),
      QuaEtiColMaskEdit(*this, "QuaEtiColMaskEdit"),
      LarEtiMaskEdit(*this, "LarEtiMaskEdit"),
      AltEtiMaskEdit(*this, "AltEtiMaskEdit"),
      MarEsqMaskEdit(*this, "MarEsqMaskEdit"),
      MarSupMaskEdit(*this, "MarSupMaskEdit"),
      DisHorEtiMaskEdit(*this, "DisHorEtiMaskEdit"),
      DisVerEtiMaskEdit(*this, "DisVerEtiMaskEdit"),
      ComUtiMaskEdit(*this, "ComUtiMaskEdit"),
      AltUtiMaskEdit(*this, "AltUtiMaskEdit"),
      DesQuaPorMaskEdit(*this, "DesQuaPorMaskEdit"),
      DesKALMaskEdit(*this, "DesKALMaskEdit"),
      DesCHOMaskEdit(*this, "DesCHOMaskEdit"),
      DesPTNMaskEdit(*this, "DesPTNMaskEdit"),
      DesLIPMaskEdit(*this, "DesLIPMaskEdit"),
      DesSATMaskEdit(*this, "DesSATMaskEdit"),
      DesCOLMaskEdit(*this, "DesCOLMaskEdit"),
      DesFIBMaskEdit(*this, "DesFIBMaskEdit"),
      DesCALMaskEdit(*this, "DesCALMaskEdit"),
      DesFERMaskEdit(*this, "DesFERMaskEdit"),
      DesSODMaskEdit(*this, "DesSODMaskEdit"),
      GraBitBtn(*this, "GraBitBtn", "&Grava"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      Image1(*this, "Image1"),
      programFolder(std::move(folder)),
      m_ui(ui),
      m_images(images),
      m_fields{&ResImpMaskEdit,    &QuaEtiLinMaskEdit, &QuaEtiColMaskEdit, &LarEtiMaskEdit,
               &AltEtiMaskEdit,    &MarEsqMaskEdit,    &MarSupMaskEdit,    &DisHorEtiMaskEdit,
               &DisVerEtiMaskEdit, &ComUtiMaskEdit,    &AltUtiMaskEdit,    &DesQuaPorMaskEdit,
               &DesKALMaskEdit,    &DesCHOMaskEdit,    &DesPTNMaskEdit,    &DesLIPMaskEdit,
               &DesSATMaskEdit,    &DesCOLMaskEdit,    &DesFIBMaskEdit,    &DesCALMaskEdit,
               &DesFERMaskEdit,    &DesSODMaskEdit} {
    caption = W(kCaption);
    for (size_t i = 0; i < kSheetFieldCount; ++i) {
        const SheetField& setup = SheetFields()[i];
        MaskEdit& field = *m_fields[i];
        field.SetMask(setup.mask);
        field.hint = W(kFieldTexts[i].hint);
        field.onChange = [this] { dirty = true; };
        switch (setup.kind) {
            case SheetFieldKind::Millimetres:
                field.onKeyPress = [](char& key) { key = MillimetreKeyPress(key); };
                field.onExit = [this, &field](Control* next) { MillimetreFieldExit(field, next); };
                break;
            case SheetFieldKind::Count:
                field.onExit = [this, &field](Control*) {
                    WholeNumberFieldLeft(field);
                    RefuseSheetBeyondLimits(&field);
                };
                break;
            case SheetFieldKind::Percent:
                field.onExit = [this, &field](Control*) { WholeNumberFieldLeft(field); };
                break;
            case SheetFieldKind::Caption:
                // A "|" would split the caption row of the label in two.
                field.onKeyPress = [this](char& key) {
                    if (key == '|') {
                        m_ui.ShowMessageBox(ForbiddenCharMessage(key), MessageKind::Ok);
                        key = 0;
                    }
                };
                break;
            case SheetFieldKind::Resolution:
                field.onExit = [this, &field](Control*) { RefuseSheetBeyondLimits(&field); };
                break;
        }
        m_texts.push_back(
            std::make_unique<Label>(*this, setup.key + "Label", W(kFieldTexts[i].caption)));
        m_captionLabels[i] = m_texts.back().get();
        m_captionLabels[i]->hint = field.hint;
        if (!kFieldTexts[i].unit.empty()) {
            m_texts.push_back(
                std::make_unique<Label>(*this, setup.key + "UniLabel", W(kFieldTexts[i].unit)));
            m_unitLabels[i] = m_texts.back().get();
        }
    }
    for (Button* b : {&GraBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = 60;
        b->height = 50;
    }
    Image1.width = kDiagramWidth;
    Image1.height = kDiagramHeight;

    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    onClose = [this] { m_open = false; };
    GraBitBtn.onClick = [this] { GraBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

void TCfgRotForm::Prepare(const std::string& table, const std::string& preparation) {
    tableName = table;
    preparationName = preparation;
    startPending = true;
}

std::filesystem::path TCfgRotForm::FilePath() const {
    return LabelFilePath(programFolder, tableName, preparationName);
}

void TCfgRotForm::FormActivate() {
    if (!startPending && m_open) {
        return;
    }
    startPending = false;
    if (Image1.pixels.empty()) {
        m_images.RenderToImage(DrawSheetDiagram, kDiagramWidth, kDiagramHeight, 96, Image1);
    }
    try {
        Load();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        m_open = false;
        Close();
        return;
    }
    m_open = true;
}

void TCfgRotForm::Load() {
    const SheetTexts texts = LoadSheetTexts(IniFile(FilePath()));
    for (size_t i = 0; i < kSheetFieldCount; ++i) {
        PutText(*m_fields[i], texts[i]);
    }
    dirty = false;
    SetFocus(&ResImpMaskEdit);
}

bool TCfgRotForm::Save() {
    if (RefuseInvalidMillimetres() || RefuseSheetBeyondLimits(nullptr)) {
        return false;
    }
    SheetTexts texts;
    for (size_t i = 0; i < kSheetFieldCount; ++i) {
        texts[i] = m_fields[i]->text;
    }
    try {
        IniFile ini(FilePath());
        ini.Hold();  // every key or none
        SaveSheetTexts(ini, texts);
        ini.Commit();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kSaveFailed), MessageKind::Ok);
        return false;
    }
    dirty = false;
    return true;
}

void TCfgRotForm::RefuseMillimetres(MaskEdit& field) {
    m_ui.ShowMessageBox(W(kInvalidValue), MessageKind::Ok);
    field.Clear();
    SetFocus(&field);
}

bool TCfgRotForm::RefuseInvalidMillimetres() {
    for (size_t i = 0; i < kSheetFieldCount; ++i) {
        if (SheetFields()[i].kind == SheetFieldKind::Millimetres &&
            !IsValidMillimetreText(m_fields[i]->text)) {
            RefuseMillimetres(*m_fields[i]);
            return true;
        }
    }
    return false;
}

bool TCfgRotForm::RefuseSheetBeyondLimits(MaskEdit* leaving) {
    // The sheet exactly as the printing will read it from the stored texts.
    IniFile edited = IniFile::FromBytes("");
    SheetTexts texts;
    for (size_t i = 0; i < kSheetFieldCount; ++i) {
        texts[i] = m_fields[i]->text;
    }
    SaveSheetTexts(edited, texts);
    const std::optional<SheetLimitBreach> breach = SheetBeyondLimits(SheetGeometry(edited));
    if (!breach) {
        return false;
    }
    MaskEdit* field = breach->limit == SheetLimit::Resolution ? &ResImpMaskEdit
                      : breach->limit == SheetLimit::Across   ? &QuaEtiLinMaskEdit
                                                              : &QuaEtiColMaskEdit;
    if (leaving != nullptr) {
        const bool counts = leaving == &QuaEtiLinMaskEdit || leaving == &QuaEtiColMaskEdit;
        if (leaving != field && !(counts && breach->limit != SheetLimit::Resolution)) {
            return false;
        }
        field = leaving;
    }
    m_ui.ShowMessageBox(W(kInvalidValue) + " " + breach->reason, MessageKind::Ok);
    SetFocus(field);
    field->SelectAll();
    return true;
}

// A millimetre field cannot be left without a number in it.
void TCfgRotForm::MillimetreFieldExit(MaskEdit& field, Control*) {
    if (!IsValidMillimetreText(field.text)) {
        RefuseMillimetres(field);
    }
}

void TCfgRotForm::WholeNumberFieldLeft(MaskEdit& field) {
    field.text = WholeNumberFieldExit(field.text);
}

// Enter walks through the fields like Tab.
void TCfgRotForm::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

void TCfgRotForm::GraBitBtnClick() {
    if (RefuseInvalidMillimetres() || RefuseSheetBeyondLimits(nullptr)) {
        return;
    }
    if (m_ui.ShowMessageBox(W(kConfirmSave), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    if (!Save()) {
        return;  // the screen stays open with the data as edited
    }
    m_ui.ShowMessageBox(W(kSaved), MessageKind::Ok);
    m_open = false;
    Close();
}

void TCfgRotForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

bool TCfgRotForm::ConfirmLeave() {
    if (!dirty) {
        return true;
    }
    if (m_ui.ShowMessageBox(W(msg::kUnsavedRecord), MessageKind::YesNo) != kAnswerYes) {
        dirty = false;
        return true;
    }
    if (!Save()) {
        return false;
    }
    m_ui.ShowMessageBox(W(kSaved), MessageKind::Ok);
    return true;
}

void TCfgRotForm::RetBitBtnClick() {
    if (!ConfirmLeave()) {
        return;
    }
    m_open = false;
    Close();
}

bool TCfgRotForm::FormCloseQuery() {
    return ConfirmLeave();
}

LayoutItem TCfgRotForm::Layout() {
    using L = LayoutItem;
    const auto row = [this](size_t i) {
        std::vector<L> items{L::Of(*m_captionLabels[i]), L::Of(*m_fields[i])};
        items.push_back(m_unitLabels[i] != nullptr ? L::Of(*m_unitLabels[i]) : L::Stretch());
        return items;
    };
    const auto grid = [&row](size_t first, size_t last) {
        std::vector<L> cells;
        for (size_t i = first; i <= last; ++i) {
            for (L& cell : row(i)) {
                cells.push_back(std::move(cell));
            }
        }
        return L::Grid(3, std::move(cells));
    };
    return L::Column({
        L::Row({L::Of(GraBitBtn), L::Of(AjuBitBtn), L::Of(RetBitBtn), L::Stretch()}),
        L::Row({
            L::Column({grid(0, 2), L::Row({grid(3, 8), L::Of(Image1)}), grid(9, 10), L::Stretch()}),
            L::Group(W(kCaptionsTitle), {grid(kFirstCaption, kSheetFieldCount - 1)}),
        }),
    });
}

void DrawSheetDiagram(Canvas& c) {
    constexpr int w = TCfgRotForm::kDiagramWidth;
    constexpr int h = TCfgRotForm::kDiagramHeight;
    constexpr int sheet = 34;                // the sheet's left and top edges
    constexpr int labelW = 72, labelH = 60;  // one label
    constexpr int margin = 24, gap = 18;     // margins and gaps
    constexpr int x1 = sheet + margin;       // first label across
    constexpr int x2 = x1 + labelW + gap;    // second label across
    constexpr int y1 = sheet + margin;       // first label down
    constexpr int y2 = y1 + labelH + gap;    // second label down
    constexpr int dim = 24;                  // where the distances are drawn
    constexpr int ext = 19;                  // where the extension lines start

    c.Clear(0, 0, w, h);
    c.SetPenWidth(1);
    const auto line = [&c](int ax, int ay, int bx, int by) {
        c.MoveTo(ax, ay);
        c.LineTo(bx, by);
    };
    // The corner of the sheet, its labels, and two lines of text in each label.
    line(sheet, sheet, w, sheet);
    line(sheet, sheet, sheet, h);
    for (const int x : {x1, x2}) {
        for (const int y : {y1, y2}) {
            c.Rectangle(x, y, x + labelW + 1, y + labelH + 1);
            line(x + 8, y + 14, x + labelW - 8, y + 14);
            line(x + 8, y + 24, x + labelW - 16, y + 24);
        }
    }
    // Extension lines from the edges to the distance lines.
    for (const auto& [x, top] : {std::pair{sheet, sheet}, {x1, y1}, {x1 + labelW, y1}, {x2, y1}}) {
        line(x, ext, x, top);
    }
    for (const auto& [y, left] : {std::pair{sheet, sheet}, {y1, x1}, {y1 + labelH, x1}, {y2, x1}}) {
        line(ext, y, left, y);
    }

    FontSpec font;
    font.height = 13;
    font.bold = true;
    c.SetFont(font);
    const auto across = [&](int from, int to, const std::string& number) {
        line(from, dim, to + 1, dim);
        line(from, dim, from + 4, dim - 4);
        line(from, dim, from + 4, dim + 4);
        line(to, dim, to - 4, dim - 4);
        line(to, dim, to - 4, dim + 4);
        c.TextOut(from + (to - from - c.TextWidth(number)) / 2, dim - 18, number);
    };
    const auto down = [&](int from, int to, const std::string& number) {
        line(dim, from, dim, to + 1);
        line(dim, from, dim - 4, from + 4);
        line(dim, from, dim + 4, from + 4);
        line(dim, to, dim - 4, to - 4);
        line(dim, to, dim + 4, to - 4);
        c.TextOut(dim - 6 - c.TextWidth(number), from + (to - from - c.TextHeight(number)) / 2,
                  number);
    };
    across(x1, x1 + labelW, "1");
    down(y1, y1 + labelH, "2");
    across(sheet, x1, "3");
    down(sheet, y1, "4");
    across(x1 + labelW, x2, "5");
    down(y1 + labelH, y2, "6");
}

}  // namespace velmaro

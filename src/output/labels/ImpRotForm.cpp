#include "output/labels/ImpRotForm.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/current/RecipeNutrients.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "platform/Interaction.h"
#include "platform/ScaledCanvas.h"
#include "shell/RegisterScreen.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/FileDamage.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr std::string_view kCaption = "RÓTULO NUTRICIONAL";
constexpr std::string_view kConfirmPrint = "Confirma impressão de uma folha de etiquetas? ";
constexpr std::string_view kAskImage = "Gera imagem do rótulo?";
constexpr std::string_view kAskPdf = "Gera arquivo PDF da folha de etiquetas?";
constexpr std::string_view kGenerated = "Foi gerado o arquivo : ";
constexpr std::string_view kNotGenerated = "Não foi possível gerar o arquivo : ";
constexpr std::string_view kPrintFailed =
    "Não foi possível iniciar a impressão! Verifique a impressora escolhida.";
constexpr std::string_view kContentDoesNotFit =
    "O conteúdo do rótulo não cabe na etiqueta escolhida. Deseja continuar?";
constexpr std::string_view kLabelWriteFailed = "Erro durante a gravação dos dados do rótulo!";
constexpr std::string_view kSheetNotDrawable =
    "A folha de etiquetas não pode ser gerada em PDF! Verifique a configuração das etiquetas.";

std::string PathText(const std::filesystem::path& path) {
    return W(path.string());
}

}  // namespace

TImpRotForm::TImpRotForm(Ui& ui, std::filesystem::path folder, ImageOutput& images,
                         TCfgRotForm& cfgRotForm)
    : Form("TImpRotForm"),
      ImpBitBtn(*this, "ImpBitBtn", "&Imprime"),
      ImaBitBtn(*this, "ImaBitBtn", "Imagem"),
      PdfBitBtn(*this, "PdfBitBtn", "PDF"),
      CfgBitBtn(*this, "CfgBitBtn", "Etiquetas"),
      BitBtn1(*this, "BitBtn1", "Impressora"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      NomPreLabel(*this, "NomPreLabel"),
      Label1(*this, "Label1", W("Selecione o Modelo do Rótulo")),
      ModVerRadioButton(*this, "ModVerRadioButton", "Modelo Vertical"),
      ModHorRadioButton(*this, "ModHorRadioButton", "Modelo Horizontal"),
      ModLinRadioButton(*this, "ModLinRadioButton", "Modelo Linear"),
      ModPerRadioButton(*this, "ModPerRadioButton", "Personalizado"),
      ModRdcRadioButton(*this, "ModRdcRadioButton", "Modelo RDC 429/2020"),
      ImpNomPreCheckBox(*this, "ImpNomPreCheckBox",
                        W("Marque aqui para imprimir o nome da preparação")),
      ConLiqLabel(*this, "ConLiqLabel", W("Conteúdo líquido (g ou ml) :")),
      ConLiqMaskEdit(*this, "ConLiqMaskEdit", "999999;1;_"),
      SitRotLabel(*this, "SitRotLabel"),
      RotImage(*this, "RotImage"),
      AltEmImage(*this, "AltEmImage"),
      programFolder(std::move(folder)),
      m_ui(ui),
      m_images(images),
      m_cfgRotForm(cfgRotForm) {
    caption = W(kCaption);
    NomPreLabel.centred = true;
    PdfBitBtn.hint = W("Gera a folha de etiquetas em PDF, no tamanho real");
    for (Button* b :
         {&ImpBitBtn, &ImaBitBtn, &PdfBitBtn, &CfgBitBtn, &BitBtn1, &AjuBitBtn, &RetBitBtn}) {
        b->width = 70;
        b->height = 50;
    }
    RotImage.width = kPreviewWidth;
    RotImage.height = kPreviewHeight;
    AltEmImage.width = kMarkPreviewWidth;
    AltEmImage.height = kPreviewHeight;
    ModRdcRadioButton.hint = W("Tabela nutricional atual, com o selo \"ALTO EM\"");
    ConLiqMaskEdit.hint = W("Conteúdo líquido da embalagem, para as porções por embalagem");

    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    ModVerRadioButton.onClick = [this] { ModVerRadioButtonClick(); };
    ModHorRadioButton.onClick = [this] { ModHorRadioButtonClick(); };
    ModLinRadioButton.onClick = [this] { ModLinRadioButtonClick(); };
    ModPerRadioButton.onClick = [this] { ModPerRadioButtonClick(); };
    ModRdcRadioButton.onClick = [this] { ModRdcRadioButtonClick(); };
    ConLiqMaskEdit.onKeyPress = [this](char& key) {
        key = NumericFieldKeyPress(ConLiqMaskEdit.text, key);
    };
    ConLiqMaskEdit.onExit = [this](Control* next) { ConLiqMaskEditExit(next); };
    ImpNomPreCheckBox.onClick = [this] { ImpNomPreCheckBoxClick(); };
    ImpBitBtn.onClick = [this] { ImpBitBtnClick(); };
    ImaBitBtn.onClick = [this] { ImaBitBtnClick(); };
    PdfBitBtn.onClick = [this] { PdfBitBtnClick(); };
    CfgBitBtn.onClick = [this] { CfgBitBtnClick(); };
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

void TImpRotForm::Prepare(const std::string& table, const std::string& preparation,
                          const std::string& record) {
    tableName = table;
    preparationName = preparation;
    preparationRecord = record;
    startPending = true;
}

void TImpRotForm::Prepare(const std::string& table, const std::string& preparation) {
    std::string record;
    try {
        LineTable list;
        LoadLineTable(PreparationListPath(programFolder, table), list);
        const FindResult found = FindKey(list.keys, preparation);
        // In a damaged list a key no longer names its line for certain.
        if (found.found && !list.lines.Damaged()) {
            record = list.lines[found.index];
        }
    } catch (const StorageError&) {
        record.clear();  // nothing to compose: the label keeps what its file holds
    }
    Prepare(table, preparation, record);
}

std::filesystem::path TImpRotForm::LabelFile() const {
    return LabelFilePath(programFolder, tableName, preparationName);
}

void TImpRotForm::FormActivate() {
    if (!startPending) {
        return;
    }
    startPending = false;
    m_labelFileDamaged = false;
    try {
        const IniFile ini(LabelFile());
        choice = LoadLabelChoice(ini);
        m_labelFileDamaged = !ini.Check().Clean();
        if (m_labelFileDamaged) {
            // Shown and printed as it stands, never written.
            m_ui.ShowMessageBox(DamagedFileNotice(ini.Check()), MessageKind::Ok);
        }
        const std::string content = RemoveSpaces(LoadNetContent(ini));
        ConLiqMaskEdit.Clear();
        if (!content.empty() && content.size() <= ConLiqMaskEdit.text.size()) {
            ConLiqMaskEdit.text = PadLeft(content, static_cast<int>(ConLiqMaskEdit.text.size()));
        }
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        Close();
        return;
    }
    preparationName = TrimTrailingSpaces(preparationName);
    NomPreLabel.caption = preparationName;
    nutritionTable = NutritionTable();
    if (choice.layout == kNutritionTableModel) {
        ComposeTable();
    }
    StoreLabel();
    ShowChoice();
    WarnIfIncomplete();
    RedrawPreview();
    SetFocus(&ImpBitBtn);
}

bool TImpRotForm::StoreLabel() {
    if (m_labelFileDamaged) {
        return true;  // the damage was told when the screen opened
    }
    if (IsAllSpaces(preparationRecord)) {
        return true;  // nothing to compose; SaveLabelData would write nothing
    }
    try {
        IniFile ini(LabelFile());
        ini.Hold();
        SaveLabelData(ini, preparationName, preparationRecord, choice);
        // The net content is kept once typed; the table of layout 5 is kept while it is
        // the layout chosen (the other layouts leave the file as they always wrote it).
        if (choice.layout == kNutritionTableModel || !IsAllSpaces(ConLiqMaskEdit.text) ||
            !LoadNetContent(ini).empty()) {
            SaveNetContent(ini, RemoveSpaces(ConLiqMaskEdit.text));
        }
        if (choice.layout == kNutritionTableModel) {
            SaveNutritionTable(ini, nutritionTable);
        }
        ini.Commit();
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kLabelWriteFailed), MessageKind::Ok);
        return false;
    }
    return true;
}

void TImpRotForm::ShowChoice() {
    ModVerRadioButton.checked = choice.layout == 1;
    ModHorRadioButton.checked = choice.layout == 2;
    ModLinRadioButton.checked = choice.layout == 3;
    ModPerRadioButton.checked = choice.layout == 4;
    ModRdcRadioButton.checked = choice.layout == kNutritionTableModel;
    ImpNomPreCheckBox.checked = choice.withName;
    ShowTableState();
}

bool TImpRotForm::ComposeTable() {
    try {
        nutritionTable =
            ComposeNutritionTableOf(programFolder, tableName, preparationName, preparationRecord,
                                    NetContentValue(ConLiqMaskEdit.text));
    } catch (const StorageError& e) {
        nutritionTable = NutritionTable();
        nutritionTable.incomplete = true;
        const auto* damaged = dynamic_cast<const DamagedFileError*>(&e);
        const auto* source = dynamic_cast<const NutrientSourceError*>(&e);
        m_ui.ShowMessageBox(
            damaged != nullptr
                ? *Utf8ToCp1252(DamagedFileMessage(damaged->Check()) +
                                    " A tabela não foi composta. Para repará-lo, use "
                                    "\"velmaro-cli verificar --reparar\".",
                                '?')
            : source != nullptr ? *Utf8ToCp1252(e.what(), '?')
                                : W(msg::kReadFailed),
            MessageKind::Ok);
        return false;
    }
    return true;
}

void TImpRotForm::ShowTableState() {
    const bool table = choice.layout == kNutritionTableModel;
    ConLiqLabel.visible = table;
    ConLiqMaskEdit.visible = table;
    AltEmImage.visible = table;
    SitRotLabel.visible = table;
    std::string state;
    if (table) {
        state = nutritionTable.incomplete ? W("Tabela INCOMPLETA – não usar em embalagem.")
                                          : W("Tabela completa.");
        state += " ALTO EM: ";
        state += nutritionTable.highIn.empty() ? W("nenhum limite atingido")
                                               : Join(nutritionTable.highIn, ", ");
        if (!nutritionTable.highInInconclusive.empty()) {
            state += W("; inconclusivo: ") + Join(nutritionTable.highInInconclusive, ", ");
        }
        state += ".";
    }
    SitRotLabel.caption = state;
}

void TImpRotForm::WarnIfIncomplete() {
    if (choice.layout != kNutritionTableModel) {
        return;
    }
    const std::string warning = NutritionTableWarning(nutritionTable);
    if (!warning.empty()) {
        m_ui.ShowMessageBox(warning, MessageKind::Ok);
    }
}

// Every drawing reads the label data file again; one that cannot be read leaves the
// picture empty.
void TImpRotForm::DrawPreview(Canvas& canvas) {
    try {
        const IniFile ini(LabelFile());
        velmaro::RedrawPreview(canvas, ini, preparationName, preparationRecord, choice);
    } catch (const StorageError&) {
        canvas.Clear(0, 0, kPreviewWidth, kPreviewHeight);
    }
}

void TImpRotForm::DrawMark(Canvas& canvas) {
    DrawHighInMarkPreview(canvas, nutritionTable, kMarkPreviewWidth, kPreviewHeight);
}

void TImpRotForm::RedrawPreview() {
    m_images.RenderToImage([this](Canvas& canvas) { DrawPreview(canvas); }, kPreviewWidth,
                           kPreviewHeight, kPreviewDpi, RotImage);
    if (choice.layout == kNutritionTableModel) {
        m_images.RenderToImage([this](Canvas& canvas) { DrawMark(canvas); }, kMarkPreviewWidth,
                               kPreviewHeight, kPreviewDpi, AltEmImage);
    }
}

void TImpRotForm::ChooseLayout(int layout) {
    choice.layout = layout;
    ShowTableState();
    RedrawPreview();
}

// The table is composed, kept with the label data and warned about before it shows.
void TImpRotForm::ModRdcRadioButtonClick() {
    choice.layout = kNutritionTableModel;
    ComposeTable();
    StoreLabel();
    ShowTableState();
    WarnIfIncomplete();
    RedrawPreview();
}

void TImpRotForm::ConLiqMaskEditExit(Control*) {
    ConLiqMaskEdit.text = NumericFieldExit(ConLiqMaskEdit.text, ConLiqMaskEdit.Mask());
    if (RemoveSpaces(ConLiqMaskEdit.text).size() < ConLiqMaskEdit.text.size()) {
        ConLiqMaskEdit.text = PadLeft(RemoveSpaces(ConLiqMaskEdit.text),
                                      static_cast<int>(ConLiqMaskEdit.text.size()));
    }
    if (choice.layout != kNutritionTableModel) {
        return;
    }
    ComposeTable();
    StoreLabel();
    ShowTableState();
    RedrawPreview();
}

void TImpRotForm::ModVerRadioButtonClick() {
    ChooseLayout(1);
}

void TImpRotForm::ModHorRadioButtonClick() {
    ChooseLayout(2);
}

void TImpRotForm::ModLinRadioButtonClick() {
    ChooseLayout(3);
}

void TImpRotForm::ModPerRadioButtonClick() {
    ChooseLayout(4);
}

void TImpRotForm::ImpNomPreCheckBoxClick() {
    choice.withName = ImpNomPreCheckBox.checked;
    RedrawPreview();
}

// One sheet on the printer chosen in the set-up, in the orientation chosen there, laid out in dots
// of the sheet's resolution whatever the printer's own.
void TImpRotForm::ImpBitBtnClick() {
    if (m_ui.ShowMessageBox(W(kConfirmPrint), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    std::optional<IniFile> ini;
    try {
        ini.emplace(LabelFile());
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        return;
    }
    const LabelGeometry sheet = SheetGeometry(*ini);
    if (const std::string refusal = SheetTooLarge(sheet, std::nullopt); !refusal.empty()) {
        m_ui.ShowMessageBox(refusal, MessageKind::Ok);
        return;
    }
    if (!ContentFitsOrGoOn(*ini, sheet, sheet.resolution)) {
        return;
    }
    PrintJob* job = m_ui.BeginPrintJobAsSetUp();
    if (job == nullptr) {
        m_ui.ShowMessageBox(W(kPrintFailed), MessageKind::Ok);
        return;
    }
    Canvas* canvas = &job->PageCanvas();
    std::optional<ScaledCanvas> scaled;
    if (sheet.resolution > 0 && job->DotsPerInch() > 0 && job->DotsPerInch() != sheet.resolution) {
        scaled.emplace(job->PageCanvas(), sheet.resolution);
        canvas = &*scaled;
    }
    std::optional<PageArea> page;
    if (job->PageWidth() > 0 && job->PageHeight() > 0) {
        const long double factor = scaled ? scaled->Factor() : 1.0L;
        page = PageArea{static_cast<int>(std::floor(job->PageWidth() / factor)),
                        static_cast<int>(std::floor(job->PageHeight() / factor))};
        const std::string warning = LabelFitWarning(LabelsFittingPage(sheet, *page));
        if (!warning.empty()) {
            m_ui.ShowMessageBox(warning, MessageKind::Ok);
        }
    }
    ProgressSink& progress = m_ui.Progress();
    progress.Begin(100);
    DrawLabelSheet(*canvas, *ini, preparationName, preparationRecord, choice, &progress, page);
    progress.End();
    job->End();
}

// A label whose texts would overlap or leave it is made only when the user goes on.
bool TImpRotForm::ContentFitsOrGoOn(const IniFile& ini, const LabelGeometry& geometry, int dpi) {
    bool fits = true;
    m_images.Measure(
        [&](Canvas& canvas) {
            fits = LabelFits(canvas, ini, preparationName, preparationRecord, choice, geometry);
        },
        dpi);
    return fits || m_ui.ShowMessageBox(W(kContentDoesNotFit), MessageKind::YesNo) == kAnswerYes;
}

void TImpRotForm::ImaBitBtnClick() {
    if (m_ui.ShowMessageBox(W(kAskImage), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    std::filesystem::path path;
    try {
        const IniFile ini(LabelFile());
        // The picture of the nutrition table is drawn to the picture's size, not the label's.
        if (const auto preview = PreviewGeometry(ini);
            preview && choice.layout != kNutritionTableModel &&
            !ContentFitsOrGoOn(ini, *preview, kPreviewDpi)) {
            return;
        }
        path = LabelImagePath(programFolder, tableName, preparationName);
        m_images.SaveMonochromeBmp([this](Canvas& canvas) { DrawPreview(canvas); }, kPreviewWidth,
                                   kPreviewHeight, kPreviewDpi, path);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kNotGenerated) + PathText(path), MessageKind::Ok);
        return;
    }
    m_ui.ShowMessageBox(W(kGenerated) + PathText(path), MessageKind::Ok);
    // Layout 5: the mark is a picture of its own beside the label's; a mark of an earlier
    // composition that no longer holds is taken away.
    std::filesystem::path markPath;
    try {
        markPath = LabelMarkImagePath(programFolder, tableName, preparationName);
        if (choice.layout != kNutritionTableModel || !HasHighInMark(nutritionTable)) {
            std::error_code ec;
            std::filesystem::remove(markPath, ec);
            return;
        }
        m_images.SaveMonochromeBmp([this](Canvas& canvas) { DrawMark(canvas); }, kMarkPreviewWidth,
                                   kPreviewHeight, kPreviewDpi, markPath);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kNotGenerated) + PathText(markPath), MessageKind::Ok);
        return;
    }
    m_ui.ShowMessageBox(W(kGenerated) + PathText(markPath), MessageKind::Ok);
}

// The whole sheet at its real size: the labels with the left and top margins repeated on
// the right and at the bottom.
void TImpRotForm::PdfBitBtnClick() {
    if (m_ui.ShowMessageBox(W(kAskPdf), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    std::filesystem::path path;
    try {
        const IniFile ini(LabelFile());
        const LabelGeometry sheet = SheetGeometry(ini);
        const std::optional<PageArea> page = LabelSheetPage(sheet);
        if (!page) {
            m_ui.ShowMessageBox(W(kSheetNotDrawable), MessageKind::Ok);
            return;
        }
        if (const std::string refusal = SheetTooLarge(sheet, std::nullopt); !refusal.empty()) {
            m_ui.ShowMessageBox(refusal, MessageKind::Ok);
            return;
        }
        if (!ContentFitsOrGoOn(ini, sheet, sheet.resolution)) {
            return;
        }
        path = LabelPdfPath(programFolder, tableName, preparationName);
        const auto draw = [&](Canvas& canvas) {
            DrawLabelSheet(canvas, ini, preparationName, preparationRecord, choice, nullptr, page);
        };
        const double mmPerDot = 25.4 / sheet.resolution;
        m_images.SavePdf(draw, page->width * mmPerDot, page->height * mmPerDot, sheet.resolution,
                         path);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kNotGenerated) + PathText(path), MessageKind::Ok);
        return;
    }
    m_ui.ShowMessageBox(W(kGenerated) + PathText(path), MessageKind::Ok);
}

void TImpRotForm::CfgBitBtnClick() {
    m_cfgRotForm.Prepare(tableName, preparationName);
    m_ui.ShowModal(m_cfgRotForm);
    RedrawPreview();
}

void TImpRotForm::BitBtn1Click() {
    m_ui.PrinterSetup();
}

void TImpRotForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void TImpRotForm::RetBitBtnClick() {
    StoreLabel();
    Close();
}

bool TImpRotForm::FormCloseQuery() {
    StoreLabel();
    return true;
}

// Enter walks through the controls like Tab.
void TImpRotForm::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

LayoutItem TImpRotForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Row({L::Of(ImpBitBtn), L::Of(ImaBitBtn), L::Of(PdfBitBtn), L::Of(CfgBitBtn),
                L::Of(BitBtn1), L::Of(AjuBitBtn), L::Of(RetBitBtn), L::Stretch()}),
        L::Of(NomPreLabel),
        L::Row({
            L::Column({L::Of(Label1), L::Of(ModVerRadioButton), L::Of(ModHorRadioButton),
                       L::Of(ModLinRadioButton), L::Of(ModPerRadioButton), L::Of(ModRdcRadioButton),
                       L::Spacing(12), L::Of(ImpNomPreCheckBox), L::Spacing(12), L::Of(ConLiqLabel),
                       L::Of(ConLiqMaskEdit), L::Stretch()}),
            L::Of(RotImage),
            L::Of(AltEmImage),
        }),
        L::Of(SitRotLabel),
    });
}

}  // namespace velmaro

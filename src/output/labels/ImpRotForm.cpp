#include "output/labels/ImpRotForm.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>

#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/current/RecipeNutrients.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "output/labels/mark/FrontOfPack.h"
#include "output/reference/ReferencePortion.h"
#include "platform/Interaction.h"
#include "platform/ScaledCanvas.h"
#include "shell/OutputFiles.h"
#include "shell/RegisterScreen.h"
#include "shell/ScreenMessages.h"
#include "storage/Cp1252.h"
#include "storage/FileDamage.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
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
      RevRdcLabel(*this, "RevRdcLabel", RevokedLayoutsNotice()),
      ImpNomPreCheckBox(*this, "ImpNomPreCheckBox",
                        W("Marque aqui para imprimir o nome da preparação")),
      ConLiqLabel(*this, "ConLiqLabel", W("Conteúdo líquido (g ou ml) :")),
      ConLiqMaskEdit(*this, "ConLiqMaskEdit", "999999;1;_"),
      SemFroComboBox(*this, "SemFroComboBox"),
      SitRotLabel(*this, "SitRotLabel"),
      PorRefLabel(*this, "PorRefLabel"),
      ParFolLabel(*this, "ParFolLabel", W("Folha de etiquetas :")),
      ParFolComboBox(*this, "ParFolComboBox"),
      RotImage(*this, "RotImage"),
      AltEmImage(*this, "AltEmImage"),
      programFolder(std::move(folder)),
      m_ui(ui),
      m_images(images),
      m_cfgRotForm(cfgRotForm) {
    caption = W(kCaption);
    NomPreLabel.centred = true;
    SitRotLabel.wordWrap = true;  // the state of layout 5 may run long
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
    SemFroComboBox.label = W("Rotulagem frontal vedada (IN 75/2020, Anexo XVI) :");
    SemFroComboBox.items = {W("Não – o selo \"ALTO EM\" segue a tabela")};
    for (const std::string& item : ForbiddenFoodTexts()) {
        SemFroComboBox.items.push_back(item);
    }
    SemFroComboBox.itemIndex = 0;
    SemFroComboBox.width = 240;
    SemFroComboBox.hint =
        W("Marque quando a preparação é um dos alimentos em que o selo \"ALTO EM\" é vedado");
    SemFroComboBox.onChange = [this] { SemFroComboBoxChange(); };
    // In the order of SheetPart.
    ParFolComboBox.items = {W("Tabela e selo lado a lado"), W("Só as tabelas"), W("Só os selos")};
    ParFolComboBox.itemIndex = 0;
    ParFolComboBox.text = ParFolComboBox.items[0];
    ParFolComboBox.hint =
        W("O selo \"ALTO EM\" vai na metade de cima do painel principal; "
          "a tabela, em outro lugar da embalagem");
    ParFolComboBox.onChange = [this] { ParFolComboBoxChange(); };
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
        ParFolComboBox.itemIndex = 0;  // each opening starts with table and mark
        ParFolComboBox.text = ParFolComboBox.items[0];
        m_labelFileDamaged = !ini.Check().Clean();
        if (m_labelFileDamaged) {
            // Shown and printed as it stands, never written.
            m_ui.ShowMessageBox(DamagedFileNotice(ini.Check()), MessageKind::Ok);
        }
        const LabelPortionData portion = LoadLabelPortion(ini);
        portionWarning = PortionDifferenceWarning(
            portion, GetField(PreparationRecordField::kLabelPortionWeight, preparationRecord),
            GetField(PreparationRecordField::kLabelPortionUnit, preparationRecord));
        PorRefLabel.caption = ReferencePortionLine(portion);
        if (!portionWarning.empty()) {
            PorRefLabel.caption += (PorRefLabel.caption.empty() ? "" : "\n") + portionWarning;
        }
        PorRefLabel.visible = !PorRefLabel.caption.empty();
        const std::string content = RemoveSpaces(LoadNetContent(ini));
        ConLiqMaskEdit.Clear();
        if (!content.empty() && content.size() <= ConLiqMaskEdit.text.size()) {
            ConLiqMaskEdit.text = PadLeft(content, static_cast<int>(ConLiqMaskEdit.text.size()));
        }
        SemFroComboBox.itemIndex = LoadForbiddenFood(ini);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        Close();
        return;
    }
    preparationName = TrimTrailingSpaces(preparationName);
    NomPreLabel.caption = preparationName;
    nutritionTable = NutritionTable();
    m_optionalMarkTold = false;
    if (choice.layout == kNutritionTableModel) {
        ComposeTable();
    }
    StoreLabel();
    ShowChoice();
    // The annex allows no other portion, but a product outside it may be labelled so: told,
    // and the user goes on.
    if (!portionWarning.empty()) {
        m_ui.ShowMessageBox(portionWarning, MessageKind::Ok);
    }
    WarnIfIncomplete();
    TellOptionalMark();
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
        // The forbidden food, like the net content, is kept once marked.
        if (choice.layout == kNutritionTableModel || nutritionTable.frontOfPackForbidden != 0 ||
            ini.ValueExists(kLabelDataSection, "SemFro")) {
            SaveForbiddenFood(ini, nutritionTable.frontOfPackForbidden);
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
        nutritionTable.frontOfPackForbidden = std::max(0, SemFroComboBox.itemIndex);
    } catch (const StorageError& e) {
        nutritionTable = NutritionTable();
        nutritionTable.incomplete = true;
        nutritionTable.frontOfPackForbidden = std::max(0, SemFroComboBox.itemIndex);
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
    ParFolLabel.visible = table;
    ParFolComboBox.visible = table;
    ConLiqMaskEdit.visible = table;
    SemFroComboBox.visible = table;
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
        if (nutritionTable.individualPackage) {
            state += W(" Embalagem individual (até 2 porções): a porção é o conteúdo inteiro.");
        }
        if (const std::string forbidden = ForbiddenFoodState(nutritionTable.frontOfPackForbidden);
            !forbidden.empty()) {
            state += " " + forbidden;
        }
    }
    SitRotLabel.caption = state;
}

void TImpRotForm::WarnIfIncomplete() {
    if (choice.layout != kNutritionTableModel) {
        if (const std::string warning = NoYieldWarning(preparationRecord); !warning.empty()) {
            m_ui.ShowMessageBox(warning, MessageKind::Ok);
        }
        return;
    }
    const std::string warning = NutritionTableWarning(nutritionTable);
    if (!warning.empty()) {
        m_ui.ShowMessageBox(warning, MessageKind::Ok);
    }
}

void TImpRotForm::TellOptionalMark() {
    if (choice.layout != kNutritionTableModel || m_optionalMarkTold ||
        nutritionTable.highIn.empty() || !HasHighInMark(nutritionTable)) {
        return;
    }
    m_optionalMarkTold = true;
    m_ui.ShowMessageBox(OptionalMarkNotice(), MessageKind::Ok);
}

// Kept with the label data at once; the mark shows or goes.
void TImpRotForm::SemFroComboBoxChange() {
    nutritionTable.frontOfPackForbidden = std::max(0, SemFroComboBox.itemIndex);
    StoreLabel();
    ShowTableState();
    TellOptionalMark();
    RedrawPreview();
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
    TellOptionalMark();
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
    TellOptionalMark();
    RedrawPreview();
}

void TImpRotForm::ParFolComboBoxChange() {
    const int index = ParFolComboBox.itemIndex;
    choice.part = index == 1 ? SheetPart::Tables : index == 2 ? SheetPart::Marks : SheetPart::Both;
}

bool TImpRotForm::SheetHasLabels(const IniFile& ini) {
    const std::string empty = EmptySheetPart(ini, choice);
    if (!empty.empty()) {
        m_ui.ShowMessageBox(empty, MessageKind::Ok);
    }
    return empty.empty();
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
    if (!SheetHasLabels(*ini)) {
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
        if (!SheetHasLabels(ini)) {
            return;
        }
        if (!ContentFitsOrGoOn(ini, sheet, sheet.resolution)) {
            return;
        }
        // Where to save, asked as the reports ask, starting in the label images folder
        // (the one place inside the data folder a label PDF may go).
        const std::filesystem::path suggested =
            LabelPdfPath(programFolder, tableName, preparationName);
        const std::string chosen = m_ui.AskSaveFileName("*.pdf|*.pdf", suggested.string());
        if (chosen.empty()) {
            return;
        }
        path = chosen;
        if (path.extension() != ".pdf" && path.extension() != ".PDF") {
            path += ".pdf";
        }
        std::error_code ec;
        const bool inImages = std::filesystem::weakly_canonical(path.parent_path(), ec) ==
                              std::filesystem::weakly_canonical(suggested.parent_path(), ec);
        if (const std::string refusal = OutputFileRefusal(programFolder, path);
            !inImages && !refusal.empty()) {
            m_ui.ShowMessageBox(W(refusal), MessageKind::Ok);
            return;
        }
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
        L::Of(PorRefLabel),
        L::Row({
            L::Column({L::Of(Label1), L::Of(ModVerRadioButton), L::Of(ModHorRadioButton),
                       L::Of(ModLinRadioButton), L::Of(ModPerRadioButton), L::Of(RevRdcLabel),
                       L::Of(ModRdcRadioButton), L::Spacing(12), L::Of(ImpNomPreCheckBox),
                       L::Spacing(12), L::Of(ConLiqLabel), L::Of(ConLiqMaskEdit),
                       L::Of(ParFolLabel), L::Of(ParFolComboBox), L::Spacing(12),
                       L::Of(SemFroComboBox), L::Stretch()}),
            L::Of(RotImage),
            L::Of(AltEmImage),
        }),
        L::Of(SitRotLabel),
    });
}

}  // namespace velmaro

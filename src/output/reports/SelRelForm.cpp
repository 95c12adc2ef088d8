#include "output/reports/SelRelForm.h"

#include <cctype>
#include <optional>
#include <string_view>

#include "platform/Interaction.h"
#include "platform/ScaledCanvas.h"
#include "shell/OutputFiles.h"
#include "shell/ScreenMessages.h"
#include "storage/Config.h"
#include "storage/Cp1252.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

constexpr std::string_view kCaption = "Selecione o Tipo de Relatório";
constexpr std::string_view kConfirmPrint = "Confirma impressão? ";
constexpr std::string_view kAskImage = "Gera imagem do relatório?";
constexpr std::string_view kSaveFilter = "*.bmp|*.bmp|*.pdf|*.pdf";
constexpr std::string_view kPdfFilter = "*.pdf|*.pdf";
constexpr std::string_view kGenerated = "Foi gerado o arquivo : ";
constexpr std::string_view kNotGenerated = "Não foi possível gerar o arquivo : ";
constexpr std::string_view kPrintFailed =
    "Não foi possível iniciar a impressão! Verifique a impressora escolhida.";
constexpr std::string_view kInvalidResolution = "Resolução inválida! Será mantida a resolução de ";
constexpr std::string_view kResolutionNotStored =
    "Erro durante a gravação da resolução da impressora!";
constexpr const char* kResolutionMask = "99999;0;_";

// The whole number a resolution field holds: digits only, spaces around them allowed,
// above 0.
std::optional<int> ResolutionOf(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view digits = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (digits.size() > 5) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value <= 0) {
        return std::nullopt;
    }
    return value;
}

// The file name's extension in lower case (".pdf", ".png", ...).
std::string Extension(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return ext;
}

}  // namespace

TSelRelForm::TSelRelForm(Ui& ui, std::filesystem::path folder, ImageOutput& images,
                         TVisRelForm& visRelForm)
    : Form("TSelRelForm"),
      MedCasRadioButton(*this, "MedCasRadioButton", W("Análise Química - Completo")),
      CusRadioButton(*this, "CusRadioButton", W("Ficha Técnica")),
      RelCozRadioButton(*this, "RelCozRadioButton", "Medidas Caseiras - Modo de Preparo"),
      ResImpMaskEdit(*this, "ResImpMaskEdit", kResolutionMask),
      PppLabel(*this, "PppLabel", "ppp"),
      ImpBitBtn(*this, "ImpBitBtn", "&Imprime"),
      VisBitBtn(*this, "VisBitBtn", "&Visualiza"),
      PdfBitBtn(*this, "PdfBitBtn", "PDF"),
      AjuBitBtn(*this, "AjuBitBtn", "A&juda"),
      RetBitBtn(*this, "RetBitBtn", "&Retorna"),
      programFolder(std::move(folder)),
      m_ui(ui),
      m_images(images),
      m_visRelForm(visRelForm) {
    caption = W(kCaption);
    ResImpMaskEdit.label = W("Resolução da impressora");
    ResImpMaskEdit.hint = W("Resolução da impressora em pontos por polegada - ppp");
    VisBitBtn.hint = W("Mostra o relatório na tela; depois pode gerar o arquivo BMP ou PDF");
    PdfBitBtn.hint = W("Gera o relatório em PDF, no tamanho real, página após página");
    for (Button* b : {&ImpBitBtn, &VisBitBtn, &PdfBitBtn, &AjuBitBtn, &RetBitBtn}) {
        b->width = 80;
        b->height = 40;
    }

    onActivate = [this] { FormActivate(); };
    onKeyPress = [this](char& key) { FormKeyPress(key); };
    onCloseQuery = [this] { return FormCloseQuery(); };
    onClose = [this] { m_open = false; };
    ResImpMaskEdit.onExit = [this](Control* next) { ResImpMaskEditExit(next); };
    ImpBitBtn.onClick = [this] { ImpBitBtnClick(); };
    VisBitBtn.onClick = [this] { VisBitBtnClick(); };
    PdfBitBtn.onClick = [this] { PdfBitBtnClick(); };
    AjuBitBtn.onClick = [this] { AjuBitBtnClick(); };
    RetBitBtn.onClick = [this] { RetBitBtnClick(); };
}

void TSelRelForm::Prepare(const std::string& table, const std::string& preparation) {
    tableName = table;
    preparationName = preparation;
    preparationRecord.reset();
    startPending = true;
}

void TSelRelForm::Prepare(const std::string& table, const std::string& preparation,
                          const std::string& record) {
    Prepare(table, preparation);
    preparationRecord = record;
}

ReportKind TSelRelForm::SelectedReport() const {
    if (CusRadioButton.checked) {
        return ReportKind::TechnicalSheet;
    }
    if (RelCozRadioButton.checked) {
        return ReportKind::HouseholdMeasures;
    }
    return ReportKind::Complete;
}

void TSelRelForm::FormActivate() {
    if (!startPending && m_open) {
        return;
    }
    startPending = false;
    m_open = true;
    caption = W(kCaption);
    MedCasRadioButton.checked = true;
    CusRadioButton.checked = false;
    RelCozRadioButton.checked = false;
    resolution = cfg::kDefaultResolution;
    try {
        // A value the field cannot hold, or no resolution at all, gives the default.
        resolution = StoredReportResolution(IniFile(ConfigFilePath()));
    } catch (const StorageError&) {
        resolution = cfg::kDefaultResolution;
    }
    ShowResolution();
    SetFocus(&MedCasRadioButton);
}

void TSelRelForm::ShowResolution() {
    std::string text = std::to_string(resolution);
    text.resize(static_cast<size_t>(ResImpMaskEdit.maxLength), ' ');
    ResImpMaskEdit.text = text;
}

// An empty field or one that holds no whole number above 0 keeps the resolution in use.
void TSelRelForm::ResImpMaskEditExit(Control*) {
    if (const std::optional<int> typed = ResolutionOf(ResImpMaskEdit.text)) {
        resolution = *typed;
        ShowResolution();
        return;
    }
    ShowResolution();
    m_ui.ShowMessageBox(W(kInvalidResolution) + std::to_string(resolution) + " ppp.",
                        MessageKind::Ok);
}

bool TSelRelForm::LoadData(ReportData& data) {
    try {
        const std::string record =
            preparationRecord ? *preparationRecord
                              : ReadPreparationRecord(programFolder, tableName, preparationName);
        data = LoadReportData(programFolder, IniFile(ConfigFilePath()), tableName, preparationName,
                              record);
    } catch (const DamagedFileError& e) {
        m_ui.ShowMessageBox(*Utf8ToCp1252(e.what(), '?'), MessageKind::Ok);
        return false;
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(msg::kReadFailed), MessageKind::Ok);
        return false;
    }
    return true;
}

// The report on the printer, in dots of the resolution set here, whatever the printer's
// own; a report longer than its page goes on to the next pages.
void TSelRelForm::ImpBitBtnClick() {
    if (m_ui.ShowMessageBox(W(kConfirmPrint), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    if (!m_ui.ConfirmPrinter()) {
        return;
    }
    ReportData data;
    if (!LoadData(data)) {
        return;
    }
    const ReportKind kind = SelectedReport();
    PrintJob* job = m_ui.BeginPrintJob(IsLandscape(kind));
    if (job == nullptr) {
        m_ui.ShowMessageBox(W(kPrintFailed), MessageKind::Ok);
        return;
    }
    Canvas* canvas = &job->PageCanvas();
    std::optional<ScaledCanvas> scaled;
    if (job->DotsPerInch() > 0 && job->DotsPerInch() != resolution) {
        scaled.emplace(job->PageCanvas(), resolution);
        canvas = &*scaled;
    }
    const int pages = ReportPageCount(kind, data);
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            job->NewPage();
        }
        DrawReport(*canvas, kind, data, resolution, page);
    }
    job->End();
}

void TSelRelForm::VisBitBtnClick() {
    ReportData data;
    if (!LoadData(data)) {
        return;
    }
    const ReportKind kind = SelectedReport();
    m_images.RenderToImage(
        [&](Canvas& canvas) { DrawReport(canvas, kind, data, kPreviewResolution); },
        PreviewWidth(kind), PreviewHeight(kind), kPreviewDpi, m_visRelForm.RelImage);
    m_visRelForm.FitToImage();
    m_ui.ShowModal(m_visRelForm);
    if (m_ui.ShowMessageBox(W(kAskImage), MessageKind::YesNo) != kAnswerYes) {
        return;
    }
    SaveReportFile(kind, data);
}

// The file chosen in the save dialog: the preview as a monochrome BMP, or, for a name
// ending in ".pdf", the report at the printer's geometry on A4 pages. A name without
// extension is a BMP file.
std::string TSelRelForm::SuggestedFileName() const {
    try {
        return Cp1252ToUtf8(SafeFileName(preparationName));
    } catch (const StorageError&) {
        return {};
    }
}

// The chosen report as a PDF file at the printer's geometry, in the file chosen in the save
// dialog (".pdf" added to a name without it).
void TSelRelForm::PdfBitBtnClick() {
    ReportData data;
    if (!LoadData(data)) {
        return;
    }
    const ReportKind kind = SelectedReport();
    const std::string suggested = SuggestedFileName();
    const std::string chosen = m_ui.AskSaveFileName(
        std::string(kPdfFilter), suggested.empty() ? suggested : suggested + ".pdf");
    if (chosen.empty()) {
        return;
    }
    std::filesystem::path path(chosen);
    if (Extension(path) != ".pdf") {
        path += ".pdf";
    }
    if (const std::string refusal = OutputFileRefusal(programFolder, path); !refusal.empty()) {
        m_ui.ShowMessageBox(W(refusal), MessageKind::Ok);
        return;
    }
    try {
        SaveReportPdf(m_images, kind, data, resolution, path);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kNotGenerated) + W(path.string()), MessageKind::Ok);
        return;
    }
    m_ui.ShowMessageBox(W(kGenerated) + W(path.string()), MessageKind::Ok);
}

void TSelRelForm::SaveReportFile(ReportKind kind, const ReportData& data) {
    const std::string chosen = m_ui.AskSaveFileName(std::string(kSaveFilter), SuggestedFileName());
    if (chosen.empty()) {
        return;
    }
    std::filesystem::path path(chosen);
    if (!path.has_extension()) {
        path += ".bmp";
    }
    if (const std::string refusal = OutputFileRefusal(programFolder, path); !refusal.empty()) {
        m_ui.ShowMessageBox(W(refusal), MessageKind::Ok);
        return;
    }
    try {
        const auto draw = [&](Canvas& canvas) {
            DrawReport(canvas, kind, data, kPreviewResolution);
        };
        const std::string ext = Extension(path);
        if (ext == ".pdf") {
            SaveReportPdf(m_images, kind, data, resolution, path);
        } else if (ext == ".png") {
            // A name the user gave as a PNG picture gets a PNG file, not BMP bytes.
            m_images.SaveMonochromePng(draw, PreviewWidth(kind), PreviewHeight(kind), kPreviewDpi,
                                       path);
        } else {
            m_images.SaveMonochromeBmp(draw, PreviewWidth(kind), PreviewHeight(kind), kPreviewDpi,
                                       path);
        }
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kNotGenerated) + W(path.string()), MessageKind::Ok);
    }
}

void TSelRelForm::AjuBitBtnClick() {
    m_ui.ShowHelp();
}

void TSelRelForm::StoreResolution() {
    try {
        IniFile ini(ConfigFilePath());
        ini.WriteInteger(W(cfg::kTechnicianSection), cfg::kResImp, resolution);
    } catch (const StorageError&) {
        m_ui.ShowMessageBox(W(kResolutionNotStored), MessageKind::Ok);
    }
}

void TSelRelForm::RetBitBtnClick() {
    StoreResolution();
    Close();
}

bool TSelRelForm::FormCloseQuery() {
    StoreResolution();
    return true;
}

// Enter walks through the controls like Tab.
void TSelRelForm::FormKeyPress(char& key) {
    EnterMovesToNextControl(*this, key);
}

LayoutItem TSelRelForm::Layout() {
    using L = LayoutItem;
    return L::Column({
        L::Of(MedCasRadioButton),
        L::Of(CusRadioButton),
        L::Of(RelCozRadioButton),
        L::Spacing(8),
        L::Row({L::Of(ResImpMaskEdit), L::Of(PppLabel), L::Stretch()}),
        L::Spacing(8),
        L::Row({L::Of(ImpBitBtn), L::Of(VisBitBtn), L::Of(PdfBitBtn), L::Of(AjuBitBtn),
                L::Of(RetBitBtn)}),
    });
}

}  // namespace velmaro

#pragma once

// The technical-sheet report screen of one preparation ("Selecione o Tipo de Relatório"):
// the choice of one of the three reports, the printer resolution (ResImp of section
// "Técnico" of the configuration), printing the report, and its preview, which can then be
// saved as a monochrome BMP of the preview or as a PDF of the report at the printer's
// geometry, page after page; "PDF" saves that PDF file straight away.
//
// Opening: the preparation register, after storing any pending change, calls
// Prepare(table, preparation) with the keys as stored (the preparation's record is then
// read from the table's preparation list each time a report is drawn), or
// Prepare(table, preparation, record) with the record in hand, then shows the screen.
// Every opening checks report 1 and reads the resolution again; coming back from the
// preview or the help screen does not, so the choice and the typed resolution are kept.

#include <filesystem>
#include <optional>
#include <string>

#include "output/reports/TechnicalSheetReports.h"
#include "output/reports/VisRelForm.h"
#include "platform/Form.h"
#include "platform/ImageOutput.h"
#include "platform/Ui.h"

namespace velmaro {

class TSelRelForm : public Form {
  public:
    TSelRelForm(Ui& ui, std::filesystem::path programFolder, ImageOutput& images,
                TVisRelForm& visRelForm);

    RadioButton MedCasRadioButton;  // report 1 "Análise Química - Completo"
    RadioButton CusRadioButton;     // report 2 "Ficha Técnica"
    RadioButton RelCozRadioButton;  // report 3 "Medidas Caseiras - Modo de Preparo"
    MaskEdit ResImpMaskEdit;        // printer resolution, dots per inch
    Label PppLabel;                 // "ppp"
    Button ImpBitBtn;
    Button VisBitBtn;
    Button PdfBitBtn;  // "PDF": the report at the printer's geometry as a PDF file
    Button AjuBitBtn;
    Button RetBitBtn;

    std::filesystem::path programFolder;
    std::string tableName;        // the table's key as stored
    std::string preparationName;  // the preparation's key as stored
    // The preparation's line of the preparation list when the register handed it over;
    // otherwise it is read from the list when a report is drawn.
    std::optional<std::string> preparationRecord;
    // The resolution reports are printed at: ResImp, or the last valid value typed.
    int resolution = 300;

    void Prepare(const std::string& table, const std::string& preparation);
    void Prepare(const std::string& table, const std::string& preparation,
                 const std::string& record);

    // The report chosen by the radio buttons (report 1 when none is).
    ReportKind SelectedReport() const;

    void FormActivate();
    void FormKeyPress(char& key);
    bool FormCloseQuery();
    void ResImpMaskEditExit(Control* next);
    void ImpBitBtnClick();
    void VisBitBtnClick();
    void PdfBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();

    LayoutItem Layout() override;

  private:
    // What the chosen report shows, read now; false (with the message shown) when a file
    // cannot be read.
    bool LoadData(ReportData& data);
    void ShowResolution();
    void StoreResolution();
    void SaveReportFile(ReportKind kind, const ReportData& data);
    // The preparation's name as a file name, for the save dialog (empty when it makes none).
    std::string SuggestedFileName() const;

    Ui& m_ui;
    ImageOutput& m_images;
    TVisRelForm& m_visRelForm;
    bool m_open = false;
};

}  // namespace velmaro

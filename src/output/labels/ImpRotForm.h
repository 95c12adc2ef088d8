#pragma once

// The nutrition label screen of one preparation: on opening it composes the label from
// the preparation record (section DadRot of the label data file), then lets the user
// choose one of the four layouts and whether the name is printed, see the label in a
// 500 x 258 preview, set up the label sheet, print a sheet of labels, and save the
// preview as a monochrome BMP or the whole sheet as a PDF at its real size.
//
// Opening: the preparation register, after storing any pending change, calls
// Prepare(table, preparation, record) with the keys as stored and the preparation's whole
// line of the preparation list (or Prepare(table, preparation), which reads that line from
// the list), then shows the screen. The label is composed on that activation only.

#include <filesystem>
#include <string>

#include "output/labels/CfgRotForm.h"
#include "output/labels/current/NutritionTable.h"
#include "output/labels/legacy/LabelComposition.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "platform/Form.h"
#include "platform/ImageOutput.h"
#include "platform/Ui.h"

namespace velmaro {

class TImpRotForm : public Form {
  public:
    TImpRotForm(Ui& ui, std::filesystem::path programFolder, ImageOutput& images,
                TCfgRotForm& cfgRotForm);

    Button ImpBitBtn;  // "&Imprime": one sheet of labels on the printer
    Button ImaBitBtn;  // "Imagem": the preview as a monochrome BMP
    Button PdfBitBtn;  // "PDF": the whole sheet as a PDF at its real size
    Button CfgBitBtn;  // "Etiquetas": the label sheet setup
    Button BitBtn1;    // "Impressora": the printer set-up
    Button AjuBitBtn;
    Button RetBitBtn;
    Label NomPreLabel;  // the preparation's name
    Label Label1;
    RadioButton ModVerRadioButton;  // layout 1
    RadioButton ModHorRadioButton;  // layout 2
    RadioButton ModLinRadioButton;  // layout 3
    RadioButton ModPerRadioButton;  // layout 4
    RadioButton ModRdcRadioButton;  // layout 5, the nutrition table of RDC 429/2020
    Label RevRdcLabel;              // beside layouts 1 to 4: their rules were revoked
    CheckBox ImpNomPreCheckBox;
    Label ConLiqLabel;
    MaskEdit ConLiqMaskEdit;  // net content of the package (layout 5)
    // Layout 5: none, or the food of the list whose front-of-pack labelling is forbidden
    // (item N at index N); the mark is then never drawn.
    ComboBox SemFroComboBox;
    Label SitRotLabel;  // what the table of layout 5 lacks, and its "ALTO EM"
    // The reference portion the preparation was labelled under, and the warning when the
    // label's portion is another.
    Label PorRefLabel;
    // Layout 5: what the sheet carries (SheetPart: table and mark, the tables, the marks).
    Label ParFolLabel;
    ComboBox ParFolComboBox;
    Image RotImage;    // the preview
    Image AltEmImage;  // the "ALTO EM" mark of layout 5

    std::filesystem::path programFolder;
    std::string tableName;          // the active table's key as stored
    std::string preparationName;    // trailing spaces removed on activation
    std::string preparationRecord;  // the preparation's line of the preparation list
    std::string portionWarning;     // the label portion is not the reference portion
    LabelChoice choice;             // the layout chosen and the name option
    NutritionTable nutritionTable;  // layout 5 as last composed

    // Sets what the register hands over, and startPending, before the screen is shown.
    void Prepare(const std::string& table, const std::string& preparation,
                 const std::string& record);
    // The same, with the record read from the table's preparation list (empty when the
    // preparation is not there or the list cannot be read).
    void Prepare(const std::string& table, const std::string& preparation);

    void FormActivate();
    void FormKeyPress(char& key);
    bool FormCloseQuery();
    void ModVerRadioButtonClick();
    void ModHorRadioButtonClick();
    void ModLinRadioButtonClick();
    void ModPerRadioButtonClick();
    void ModRdcRadioButtonClick();
    void ConLiqMaskEditExit(Control* next);
    void SemFroComboBoxChange();
    void ParFolComboBoxChange();
    void ImpNomPreCheckBoxClick();
    void ImpBitBtnClick();
    void ImaBitBtnClick();
    void PdfBitBtnClick();
    void CfgBitBtnClick();
    void BitBtn1Click();
    void AjuBitBtnClick();
    void RetBitBtnClick();

    // The preview: a fresh 500 x 258 picture with the chosen layout drawn in it.
    void RedrawPreview();

    LayoutItem Layout() override;

    static constexpr int kPreviewDpi = 96;

  private:
    std::filesystem::path LabelFile() const;
    // Section DadRot from the record and the choices, in one write. False (with the error
    // shown) when the file cannot be written.
    bool StoreLabel();
    // The label data file did not read whole: it is shown and printed as it stands, and
    // nothing writes it.
    bool m_labelFileDamaged = false;
    void DrawPreview(Canvas& canvas);
    // True when the label's texts fit it laid out with `geometry` and measured at `dpi`, or
    // when the user, told that they do not, goes on.
    bool ContentFitsOrGoOn(const IniFile& ini, const LabelGeometry& geometry, int dpi);
    // False (with the reason shown) when the sheet chosen would carry nothing.
    bool SheetHasLabels(const IniFile& ini);
    void DrawMark(Canvas& canvas);
    // Layout 5 composed afresh from the preparation's lines and ingredients; false (with
    // the error shown) when they cannot be read.
    bool ComposeTable();
    void ShowTableState();
    void WarnIfIncomplete();
    // Once a screen opening, when a limit is reached: when the mark is optional.
    void TellOptionalMark();
    bool m_optionalMarkTold = false;
    void ChooseLayout(int layout);
    void ShowChoice();

    Ui& m_ui;
    ImageOutput& m_images;
    TCfgRotForm& m_cfgRotForm;
};

}  // namespace velmaro

#pragma once

// The label sheet setup of one preparation: printer resolution, labels across and down,
// label size, margins and gaps in millimetres, the share of the label the panel uses, and
// the eleven captions printed on the label, kept in section CfgEti of the preparation's
// label data file. A small diagram beside the millimetre fields shows which distance each
// numbered field is.
//
// Opening: the label screen calls Prepare(table, preparation) (the table's and the
// preparation's keys as stored), which sets startPending, then shows the screen. Every
// opening reads the file again; coming back from the help screen does not, so edits are
// kept.

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "output/labels/LabelSheetConfig.h"
#include "platform/Form.h"
#include "platform/ImageOutput.h"
#include "platform/Ui.h"

namespace velmaro {

class TCfgRotForm : public Form {
  public:
    TCfgRotForm(Ui& ui, std::filesystem::path programFolder, ImageOutput& images);

    // The entry fields, in the order they are stored (that of SheetFields()).
    MaskEdit ResImpMaskEdit;
    MaskEdit QuaEtiLinMaskEdit;
    MaskEdit QuaEtiColMaskEdit;
    MaskEdit LarEtiMaskEdit;
    MaskEdit AltEtiMaskEdit;
    MaskEdit MarEsqMaskEdit;
    MaskEdit MarSupMaskEdit;
    MaskEdit DisHorEtiMaskEdit;
    MaskEdit DisVerEtiMaskEdit;
    MaskEdit ComUtiMaskEdit;
    MaskEdit AltUtiMaskEdit;
    MaskEdit DesQuaPorMaskEdit;
    MaskEdit DesKALMaskEdit;
    MaskEdit DesCHOMaskEdit;
    MaskEdit DesPTNMaskEdit;
    MaskEdit DesLIPMaskEdit;
    MaskEdit DesSATMaskEdit;
    MaskEdit DesCOLMaskEdit;
    MaskEdit DesFIBMaskEdit;
    MaskEdit DesCALMaskEdit;
    MaskEdit DesFERMaskEdit;
    MaskEdit DesSODMaskEdit;
    Button GraBitBtn;
    Button AjuBitBtn;
    Button RetBitBtn;
    // The diagram of a sheet with the six numbered distances.
    Image Image1;

    std::filesystem::path programFolder;
    std::string tableName;        // the active table's key as stored
    std::string preparationName;  // the preparation's key as stored
    bool dirty = false;           // a field changed since loading or saving

    // Sets the table and preparation and startPending, before the screen is shown.
    void Prepare(const std::string& table, const std::string& preparation);

    // Field i of SheetFields().
    MaskEdit& Field(size_t i) { return *m_fields[i]; }

    void FormActivate();
    void FormKeyPress(char& key);
    bool FormCloseQuery();
    void MillimetreFieldExit(MaskEdit& field, Control* next);
    void WholeNumberFieldLeft(MaskEdit& field);
    void GraBitBtnClick();
    void AjuBitBtnClick();
    void RetBitBtnClick();

    LayoutItem Layout() override;

    static constexpr int kDiagramWidth = 250;
    static constexpr int kDiagramHeight = 210;

  private:
    void Load();
    // Every field's text to its key, in one write. False (with the error shown) when the
    // file cannot be written or a millimetre field holds no number.
    bool Save();
    // The first millimetre field that holds no number gets "Valor inválido!", is emptied
    // and takes the focus; true when there was one.
    bool RefuseInvalidMillimetres();
    void RefuseMillimetres(MaskEdit& field);
    // The sheet's limits (SheetBeyondLimits), checked on the sheet as the printing reads
    // these fields: the breach is told ("Valor inválido!" and the reason) on its field,
    // which takes the focus. `leaving`: only a breach of that field counts (a count field
    // answers for the number of labels); none: the first breach. True when refused.
    bool RefuseSheetBeyondLimits(MaskEdit* leaving);
    // Leaving with unsaved changes: asks whether to save them. False when the screen is
    // to stay open (the answer was SIM and the data could not be saved).
    bool ConfirmLeave();
    std::filesystem::path FilePath() const;

    Ui& m_ui;
    ImageOutput& m_images;
    std::array<MaskEdit*, kSheetFieldCount> m_fields{};
    std::vector<std::unique_ptr<Label>> m_texts;  // captions and units beside the fields
    std::array<Label*, kSheetFieldCount> m_captionLabels{};
    std::array<Label*, kSheetFieldCount> m_unitLabels{};
    bool m_open = false;  // loaded and not yet closed
};

// The diagram beside the millimetre fields, kDiagramWidth x kDiagramHeight: a corner of a
// sheet with four labels and the distances 1 (label width), 2 (label height), 3 (left
// margin), 4 (top margin), 5 (horizontal gap) and 6 (vertical gap), each numbered.
void DrawSheetDiagram(Canvas& canvas);

}  // namespace velmaro

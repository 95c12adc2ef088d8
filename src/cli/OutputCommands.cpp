// rotulo, relatorio, lote: the label and the reports of preparations as files, composed
// and drawn by the functions the label and report screens call.

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "cli/CliData.h"
#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "output/labels/ImpRotForm.h"
#include "output/labels/current/NutritionTableLayout.h"
#include "output/labels/current/RecipeNutrients.h"
#include "output/labels/legacy/LabelComposition.h"
#include "output/labels/legacy/LabelLayouts.h"
#include "output/labels/mark/FrontOfPack.h"
#include "output/reference/In75List.h"
#include "output/reference/ReferencePortion.h"
#include "output/reports/TechnicalSheetReports.h"
#include "preparations/IngredientLine.h"
#include "preparations/LabelPortion.h"
#include "preparations/PreparationScaling.h"
#include "shell/OutputFiles.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/PreparationRecord.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro::cli {

namespace fs = std::filesystem;

namespace {

enum class FileKind { Bmp, Png, Pdf };

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::optional<FileKind> KindOfName(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower == "bmp") {
        return FileKind::Bmp;
    }
    if (lower == "png") {
        return FileKind::Png;
    }
    if (lower == "pdf") {
        return FileKind::Pdf;
    }
    return std::nullopt;
}

std::string Extension(FileKind kind) {
    return kind == FileKind::Bmp ? "bmp" : kind == FileKind::Png ? "png" : "pdf";
}

// A file the command was asked to write that must not be written (UserError).
void RefuseOutput(const fs::path& home, const fs::path& path) {
    if (const std::string refusal = OutputFileRefusal(home, path); !refusal.empty()) {
        throw UserError(refusal);
    }
}

// "x-alto-em.png" beside "x.png".
fs::path MarkFileBeside(const fs::path& path) {
    fs::path mark = path;
    mark.replace_filename(path.stem().string() + "-alto-em" + path.extension().string());
    return mark;
}

// The output file of --saida and its kind, by its extension.
std::pair<fs::path, FileKind> OutputFile(const Arguments& arguments) {
    const std::optional<std::string> value = arguments.Value("saida");
    if (!value || value->empty()) {
        throw UsageError("falta --saida ARQUIVO");
    }
    const fs::path path = ArgumentPath(*value);
    std::string extension = path.extension().string();
    const auto kind = KindOfName(extension.empty() ? extension : extension.substr(1));
    if (!kind) {
        throw UsageError("o arquivo de --saida deve terminar em .bmp, .png ou .pdf");
    }
    return {path, *kind};
}

void SavePicture(ImageOutput& images, FileKind kind, const ImageOutput::Drawing& draw, int width,
                 int height, int dpi, const fs::path& path) {
    if (kind == FileKind::Png) {
        images.SaveMonochromePng(draw, width, height, dpi, path);
    } else if (kind == FileKind::Bmp) {
        images.SaveMonochromeBmp(draw, width, height, dpi, path);
    } else {
        images.SavePdf(draw, width * 25.4 / dpi, height * 25.4 / dpi, dpi, path);
    }
}

// What a label command asks for.
struct LabelRequest {
    std::optional<int> layout;  // none: the layout stored for the preparation
    bool withName = false;
    bool sheet = false;
    std::optional<std::string> netContent;  // --conteudo, as the label screen keeps it
    // --sem-frontal: the food of the list whose front-of-pack labelling is forbidden (0:
    // none), stored with the label data; none given: the one stored is kept.
    std::optional<int> forbiddenFood;
    SheetPart part = SheetPart::Both;  // a sheet of model 5: the tables or the marks alone
};

// The net content of --conteudo as the label screen's field keeps it: a whole number of
// grams or millilitres (the portion's unit), up to six digits.
std::optional<std::string> NetContentOf(const Arguments& arguments) {
    const std::optional<std::string> value = arguments.Value("conteudo");
    if (!value) {
        return std::nullopt;
    }
    const bool digits =
        !value->empty() && value->size() <= 6 &&
        std::all_of(value->begin(), value->end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stol(*value) < 1) {
        throw UsageError(
            "--conteudo deve ser o conteúdo líquido da embalagem em gramas ou mililitros, um "
            "número inteiro de 1 a 999999 (recebido \"" +
            *value + "\")");
    }
    return std::to_string(std::stol(*value));
}

LabelRequest LabelRequestOf(const Arguments& arguments) {
    LabelRequest request;
    if (arguments.Value("modelo")) {
        request.layout = ChoiceValue(arguments, "modelo", 1, kNutritionTableModel);
    } else if (arguments.Has("nome") || arguments.Has("folha")) {
        throw UsageError("--nome e --folha acompanham --modelo");
    }
    request.withName = arguments.Has("nome");
    request.sheet = arguments.Has("folha");
    if (arguments.Value("sem-frontal")) {
        request.forbiddenFood = ChoiceValue(arguments, "sem-frontal", 0,
                                            static_cast<int>(frontofpack::kForbiddenFoods.size()));
    }
    const bool tables = arguments.Has("so-tabela");
    const bool marks = arguments.Has("so-selo");
    if (tables && marks) {
        throw UsageError("use --so-tabela ou --so-selo, não os dois");
    }
    if ((tables || marks) && (!request.sheet || request.layout != kNutritionTableModel)) {
        throw UsageError("--so-tabela e --so-selo acompanham --modelo 5 --folha");
    }
    request.part = tables ? SheetPart::Tables : marks ? SheetPart::Marks : SheetPart::Both;
    return request;
}

// --porcao-grupo: the label portion from the mean energy of a food group, as the reference
// screen's button sets it: the record's label portion and label row, the measure's text
// when the preparation has a measure and its weight, and how the portion was obtained in
// the label data; stored before the label is composed.
void SetGroupPortion(CliIo& io, const TableEntry& table, PreparationEntry& preparation,
                     const std::string& numeral) {
    namespace F = PreparationRecordField;
    const auto group = In75GroupOfNumeral(TrimmedName(numeral));
    if (!group) {
        throw UsageError("--porcao-grupo: I, II, III, IV, V, VI, VII ou VIII");
    }
    std::string record = preparation.record;
    std::optional<long double> kcalPerGram;
    const std::string energy = GetField(F::kEnergyTotal, record);
    const std::string yield = GetField(F::kYield, record);
    if (!IsBlankValue(energy) && !IsBlankValue(yield) && TextToNumber(yield) > 0) {
        kcalPerGram = TextToNumber(energy) / TextToNumber(yield);
    }
    const GroupEnergyPortion portion = PortionFromGroupEnergy(*group, kcalPerGram);
    if (!portion.refusal.empty()) {
        throw UserError(Utf8(portion.refusal));
    }
    SetField(F::kLabelPortionWeight, record, FormatNumber(0, 6, portion.grams));
    if (!ScaleFromYield(record, ScaledRow::Label)) {
        throw UserError(Utf8(ScaledValueTooLargeMessage(ScaledRow::Label)));
    }
    IniFile ini(LabelFilePath(io.home, table.key, preparation.key));
    RefuseDamaged(ini.Check());
    LabelPortionData data = LoadLabelPortion(ini);
    data.food.clear();
    data.table.clear();
    data.value = std::to_string(portion.grams);
    data.unit = "g";
    data.origin = portion.explanation;
    if (!data.weight.empty()) {
        if (const auto text =
                HouseholdMeasureText(portion.grams, TextToNumber(data.weight), data.measure)) {
            SetField(F::kLabelPortionMeasure, record, *text);
        }
    }
    LineTable list;
    LoadLineTable(PreparationListPath(io.home, table.key), list);
    RefuseDamaged(list.lines.Check());
    const FindResult found = FindKey(list.keys, preparation.key);
    if (!found.found) {
        throw UserError("a preparação não está mais na lista.");
    }
    ReplaceRecord(list.lines, found.index, record);
    SaveLineTable(PreparationListPath(io.home, table.key), list.lines);
    ini.Hold();
    SaveLabelPortion(ini, data);
    ini.Commit();
    preparation.record = record;
    io.out << "Porção do rótulo: " << portion.grams << " g, " << Utf8(portion.explanation) << ".\n";
}

// The files a label command writes (or takes away) at `path`: the label's picture and, for
// a nutrition table drawn alone, the mark beside it. Both go through the rules of every
// output file before anything is composed or written.
void RefuseLabelOutput(const fs::path& home, const fs::path& path, const LabelRequest& request) {
    RefuseOutput(home, path);
    if (request.layout == kNutritionTableModel && !request.sheet) {
        RefuseOutput(home, MarkFileBeside(path));
    }
}

// The label as the label screen composes it on opening: the choice stored in the label
// data file (or the one asked for), then section DadRot written from the preparation's
// record (with the nutrition table for model 5), in one write (none when the file holds
// that already). Gives the file as written and the choice. `sources`: the table's
// ingredients for model 5, loaded into it at the first need and kept for the next label of
// a batch (none: loaded for this label alone).
std::pair<IniFile, LabelChoice> ComposeLabel(
    const fs::path& home, const TableEntry& table, const PreparationEntry& preparation,
    const LabelRequest& request, std::optional<TableNutrientSources>* sources = nullptr) {
    // A label portion whose values were never computed for its weight prints nothing.
    if (ScaledRowIsStale(preparation.record, ScaledRow::Label)) {
        throw UserError(
            "os valores da porção do rótulo de \"" + ShownName(preparation.key) + "\" (" +
            Utf8(RemoveSpaces(
                GetField(PreparationRecordField::kLabelPortionWeight, preparation.record))) +
            " g) não foram calculados para esse peso (passariam de 999999,99 ou ficaram em "
            "branco); corrija o peso da porção do rótulo no cadastro de preparações. Nada foi "
            "gerado.");
    }
    // Created only by the write below: a label that could not be composed leaves no file.
    IniFile ini(LabelFileLocation(home, table.key, preparation.key));
    RefuseDamaged(ini.Check());
    LabelChoice choice = LoadLabelChoice(ini);
    if (request.layout) {
        choice.layout = *request.layout;
        choice.withName = request.withName;
    }
    if (request.netContent && choice.layout != kNutritionTableModel) {
        throw UsageError("--conteudo é do modelo 5 (a tabela nutricional atual)");
    }
    choice.part = request.part;
    const std::string before = ini.Bytes();
    ini.Hold();
    SaveLabelData(ini, TrimTrailingSpaces(preparation.key), preparation.record, choice);
    if (request.netContent) {
        SaveNetContent(ini, *request.netContent);
    }
    if (request.forbiddenFood) {
        SaveForbiddenFood(ini, *request.forbiddenFood);
    }
    if (choice.layout == kNutritionTableModel) {
        if (sources != nullptr && !sources->has_value()) {
            sources->emplace(LoadTableNutrientSources(home, table.key));
        }
        StoreNutritionTable(ini, home, table.key, preparation.key, preparation.record,
                            sources != nullptr ? &**sources : nullptr);
    }
    // A label composed as it already stands is not written again.
    if (ini.Bytes() != before) {
        ini.Commit();
    }
    return {std::move(ini), choice};
}

// The label drawn into a file: the preview (500 x 258 at 96 dots per inch), or the whole
// sheet at its geometry as the label screen's PDF has it.
void DrawLabel(ImageOutput& images, const IniFile& ini, const PreparationEntry& preparation,
               const LabelChoice& choice, bool sheet, FileKind kind, const fs::path& path) {
    const std::string name = TrimTrailingSpaces(preparation.key);
    if (!sheet) {
        SavePicture(
            images, kind,
            [&](Canvas& canvas) { RedrawPreview(canvas, ini, name, preparation.record, choice); },
            kPreviewWidth, kPreviewHeight, TImpRotForm::kPreviewDpi, path);
        if (choice.layout == kNutritionTableModel) {
            // The mark beside the label's picture; one of an earlier run that no longer
            // holds is taken away.
            const fs::path markPath = MarkFileBeside(path);
            const NutritionTable table = LoadNutritionTable(ini);
            if (HasHighInMark(table)) {
                SavePicture(
                    images, kind,
                    [&](Canvas& canvas) {
                        DrawHighInMarkPreview(canvas, table, kMarkPreviewWidth, kPreviewHeight);
                    },
                    kMarkPreviewWidth, kPreviewHeight, TImpRotForm::kPreviewDpi, markPath);
            } else {
                std::error_code ec;
                fs::remove(markPath, ec);
            }
        }
        return;
    }
    const LabelGeometry geometry = SheetGeometry(ini);
    const std::optional<PageArea> page = LabelSheetPage(geometry);
    if (!page) {
        throw UserError(
            "a folha de etiquetas não pode ser gerada; verifique a configuração das etiquetas "
            "da preparação \"" +
            ShownName(preparation.key) + "\".");
    }
    if (const std::string refusal =
            SheetTooLarge(geometry, kind == FileKind::Pdf ? std::nullopt : page);
        !refusal.empty()) {
        throw UserError(Utf8(refusal));
    }
    if (const std::string empty = EmptySheetPart(ini, choice); !empty.empty()) {
        throw UserError(ShownName(preparation.key) + ": " + Utf8(empty));
    }
    SavePicture(
        images, kind,
        [&](Canvas& canvas) {
            DrawLabelSheet(canvas, ini, name, preparation.record, choice, nullptr, page);
        },
        page->width, page->height, geometry.resolution, path);
}

// The report drawn into a file: PDF pages at the printer's geometry, or the preview.
void DrawReportFile(ImageOutput& images, const ReportData& data, ReportKind kind, int resolution,
                    FileKind fileKind, const fs::path& path) {
    if (fileKind == FileKind::Pdf) {
        SaveReportPdf(images, kind, data, resolution, path);
        return;
    }
    SavePicture(
        images, fileKind,
        [&](Canvas& canvas) { DrawReport(canvas, kind, data, kPreviewResolution); },
        PreviewWidth(kind), PreviewHeight(kind), kPreviewDpi, path);
}

// The line that names an incomplete label and what it lacks.
std::string IncompleteLine(const PreparationEntry& preparation, const NutritionTable& table) {
    return ShownName(preparation.key) +
           ": rótulo INCOMPLETO – NÃO USAR EM EMBALAGEM (valores ausentes: " +
           Utf8(Join(table.missing, "; ")) + ").";
}

// The configuration as the report screen reads it.
IniFile Configuration() {
    // Read as it stands: a command that only reads creates no file.
    return IniFile(ConfigFileLocation());
}

void Generated(CliIo& io, const fs::path& path) {
    io.out << "Foi gerado o arquivo: " << Shown(path) << "\n";
}

// A file that could not be written, as the user is told.
UserError NotGenerated(const fs::path& path, const StorageError& e) {
    return UserError("não foi possível gerar o arquivo \"" + Shown(path) + "\" (" + e.what() +
                     ").");
}

}  // namespace

int LabelCommand(const Arguments& arguments, CliIo& io) {
    const bool dataOnly = arguments.Has("dados");
    LabelRequest request = LabelRequestOf(arguments);
    request.netContent = NetContentOf(arguments);
    std::optional<std::pair<fs::path, FileKind>> output;
    if (dataOnly) {
        if (arguments.Value("saida") || request.sheet) {
            throw UsageError("--dados não leva --saida nem --folha");
        }
    } else {
        if (!request.layout) {
            throw UsageError("falta --modelo 1|2|3|4|5");
        }
        output = OutputFile(arguments);
        RefuseLabelOutput(io.home, output->first, request);
    }
    const TableEntry table = FindTable(io.home, arguments.operands[0]);
    PreparationEntry preparation = FindPreparation(io.home, table.key, arguments.operands[1]);
    if (const auto group = arguments.Value("porcao-grupo")) {
        SetGroupPortion(io, table, preparation, *group);
    }
    std::optional<std::pair<IniFile, LabelChoice>> label;
    try {
        label.emplace(ComposeLabel(io.home, table, preparation, request));
    } catch (const DamagedFileError&) {
        throw;
    } catch (const NutrientSourceError& e) {
        throw UserError(e.what());
    } catch (const StorageError& e) {
        throw UserError("erro durante a gravação dos dados do rótulo (" + std::string(e.what()) +
                        ").");
    }
    const IniFile& ini = label->first;
    const bool model5 = label->second.layout == kNutritionTableModel;
    if (request.layout && !model5) {
        io.err << "velmaro-cli: " << Utf8(RevokedLayoutsNotice()) << "\n";
        if (const std::string warning = NoYieldWarning(preparation.record); !warning.empty()) {
            io.err << "velmaro-cli: " << Utf8(warning) << "\n";
        }
    }
    if (dataOnly) {
        if (model5) {
            const NutritionTable composed = LoadNutritionTable(ini);
            for (const std::string& line : NutritionTableDataLines(composed)) {
                io.out << Utf8(line) << "\n";
            }
            if (composed.frontOfPackForbidden != 0) {
                io.out << "Rotulagem frontal vedada|"
                       << Utf8(ForbiddenFoodText(composed.frontOfPackForbidden)) << "\n";
            }
            return kExitOk;
        }
        for (const char* key : {"DesDad", "ValPor", "ValDia", "ValRef"}) {
            io.out << Utf8(ini.ReadString(kLabelDataSection, key, "")) << "\n";
        }
        return kExitOk;
    }
    try {
        DrawLabel(io.images, ini, preparation, label->second, request.sheet, output->second,
                  output->first);
    } catch (const StorageError& e) {
        throw NotGenerated(output->first, e);
    }
    Generated(io, output->first);
    if (model5) {
        const NutritionTable composed = LoadNutritionTable(ini);
        if (HasHighInMark(composed) && !request.sheet) {
            Generated(io, MarkFileBeside(output->first));
        }
        if (const std::string forbidden = ForbiddenFoodState(composed.frontOfPackForbidden);
            !forbidden.empty()) {
            io.out << Utf8(forbidden) << " O selo \"ALTO EM\" não foi gerado.\n";
        }
        if (composed.incomplete) {
            // The files are made and named; an incomplete label is still not one to use.
            io.err << "velmaro-cli: " << IncompleteLine(preparation, composed) << "\n";
            return kExitError;
        }
    }
    return kExitOk;
}

int ReportCommand(const Arguments& arguments, CliIo& io) {
    if (!arguments.Value("tipo")) {
        throw UsageError("falta --tipo 1|2|3");
    }
    const auto kind = static_cast<ReportKind>(ChoiceValue(arguments, "tipo", 1, 3));
    const auto [path, fileKind] = OutputFile(arguments);
    RefuseOutput(io.home, path);
    const TableEntry table = FindTable(io.home, arguments.operands[0]);
    const PreparationEntry preparation = FindPreparation(io.home, table.key, arguments.operands[1]);
    const IniFile config = Configuration();
    const ReportData data =
        LoadReportData(io.home, config, table.key, preparation.key, preparation.record);
    try {
        DrawReportFile(io.images, data, kind, StoredReportResolution(config), fileKind, path);
    } catch (const StorageError& e) {
        throw NotGenerated(path, e);
    }
    Generated(io, path);
    return kExitOk;
}

int BatchCommand(const Arguments& arguments, CliIo& io) {
    const std::optional<std::string> folderText = arguments.Value("saida");
    if (!folderText || folderText->empty()) {
        throw UsageError("falta --saida PASTA");
    }
    const bool labels = arguments.Value("modelo").has_value();
    const LabelRequest request = LabelRequestOf(arguments);
    std::optional<ReportKind> report;
    if (arguments.Value("tipo")) {
        report = static_cast<ReportKind>(ChoiceValue(arguments, "tipo", 1, 3));
    }
    if (!labels && !report) {
        throw UsageError("diga o que gerar: --modelo (rótulos) e/ou --tipo (relatórios)");
    }
    FileKind kind = FileKind::Pdf;
    if (const auto format = arguments.Value("formato")) {
        const auto chosen = KindOfName(*format);
        if (!chosen) {
            throw UsageError("--formato deve ser pdf, bmp ou png");
        }
        kind = *chosen;
    }

    const TableEntry table = FindTable(io.home, arguments.operands[0]);
    const std::vector<PreparationEntry> preparations = ReadPreparations(io.home, table.key);
    const fs::path folder = ArgumentPath(*folderText);
    if (const std::string refusal = OutputFolderRefusal(io.home, folder); !refusal.empty()) {
        throw UserError(refusal);
    }
    try {
        EnsureFolder(folder);
    } catch (const StorageError&) {
        throw UserError("não foi possível criar a pasta \"" + Shown(folder) + "\".");
    }
    std::optional<IniFile> config;
    int resolution = 0;
    if (report) {
        config.emplace(Configuration());
        resolution = StoredReportResolution(*config);
    }

    std::vector<std::string> failures;
    std::vector<std::string> incomplete;
    int labelFiles = 0;
    int reportFiles = 0;
    TerminalProgress progress(io.err, io.errIsTerminal, io.terminalColumns);
    progress.Begin(static_cast<int>(preparations.size()));
    std::optional<TableNutrientSources> sources;  // read once for all the labels
    for (size_t i = 0; i < preparations.size(); ++i) {
        const PreparationEntry& preparation = preparations[i];
        const std::string shown = ShownName(preparation.key);
        try {
            if (labels) {
                const fs::path path =
                    RecordFileIn(folder, preparation.key, "-rotulo." + Extension(kind));
                RefuseLabelOutput(io.home, path, request);
                const auto [ini, choice] =
                    ComposeLabel(io.home, table, preparation, request, &sources);
                DrawLabel(io.images, ini, preparation, choice, request.sheet, kind, path);
                ++labelFiles;
                if (choice.layout == kNutritionTableModel) {
                    const NutritionTable composed = LoadNutritionTable(ini);
                    if (composed.incomplete) {
                        incomplete.push_back(IncompleteLine(preparation, composed));
                    }
                }
            }
            if (report) {
                const fs::path path =
                    RecordFileIn(folder, preparation.key,
                                 "-relatorio" + std::to_string(static_cast<int>(*report)) + "." +
                                     Extension(kind));
                RefuseOutput(io.home, path);
                const ReportData data = LoadReportData(io.home, *config, table.key, preparation.key,
                                                       preparation.record);
                DrawReportFile(io.images, data, *report, resolution, kind, path);
                ++reportFiles;
            }
        } catch (const UserError& e) {
            failures.push_back(shown + ": " + e.what());
        } catch (const NutrientSourceError& e) {
            failures.push_back(shown + ": " + e.what());
        } catch (const StorageError& e) {
            failures.push_back(shown + ": erro de arquivo: " + e.what());
        }
        progress.Step(static_cast<int>(i + 1), shown);
    }
    progress.End();

    for (const std::string& failure : failures) {
        io.err << "velmaro-cli: " << failure << "\n";
    }
    for (const std::string& line : incomplete) {
        io.err << "velmaro-cli: " << line << "\n";
    }
    // Only what was asked is counted; the participle agrees with what it follows (two
    // nouns joined by "e" take the plural).
    const auto counted = [](int n, std::string_view one, std::string_view many) {
        return std::to_string(n) + " " + std::string(n == 1 ? one : many);
    };
    std::string made;
    if (labels) {
        made = counted(labelFiles, "rótulo", "rótulos");
    }
    if (report) {
        made += (made.empty() ? "" : " e ") + counted(reportFiles, "relatório", "relatórios");
    }
    const bool single = !(labels && report) && labelFiles + reportFiles == 1;
    io.out << preparations.size() << (preparations.size() == 1 ? " preparação: " : " preparações: ")
           << made << (single ? " gerado" : " gerados") << " em \"" << Shown(folder) << "\".\n";
    if (!failures.empty()) {
        io.err << "velmaro-cli: " << failures.size()
               << (failures.size() == 1 ? " preparação falhou." : " preparações falharam.") << "\n";
        return kExitError;
    }
    if (!incomplete.empty()) {
        io.err << "velmaro-cli: " << incomplete.size()
               << (incomplete.size() == 1 ? " rótulo incompleto." : " rótulos incompletos.")
               << "\n";
        return kExitError;
    }
    return kExitOk;
}

}  // namespace velmaro::cli

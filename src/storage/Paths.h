#pragma once

// Where every data file lives under the data home. Table and record names are
// Windows-1252 keys as stored (with their padding); the builders trim them, replace "/"
// by "_", convert them to UTF-8 for the file system, and create missing folders and an
// empty file, so that a file asked for always exists.

#include <filesystem>
#include <string>
#include <string_view>

namespace velmaro {

namespace fs = std::filesystem;

// The data home ("program folder") and the configuration file of this run.
struct Locations {
    fs::path home;
    fs::path config;
};

// --home DIR / --config FILE from the arguments (removed from them), else $VELMARO_HOME /
// $VELMARO_CONFIG, else $XDG_DATA_HOME/velmaro and $XDG_CONFIG_HOME/velmaro/CfgNut.ini
// (with the usual ~/.local/share and ~/.config defaults).
Locations ResolveLocations(int& argc, char** argv);
// The refusals of an empty --home or --config, which would silently mean the current
// folder (UTF-8).
inline constexpr std::string_view kEmptyHomeMessage =
    "--home sem pasta: diga a pasta de dados (ou deixe --home de fora).";
inline constexpr std::string_view kEmptyConfigMessage =
    "--config sem arquivo: diga o arquivo de configuração (ou deixe --config de fora).";
Locations ResolveLocationsFromEnvironment();

// The locations used by ProgramFolder and ConfigFilePath; set once at start.
void SetLocations(const Locations& locations);
const fs::path& ProgramFolder();
fs::path ConfigFilePath();      // EnsureFile
fs::path ConfigFileLocation();  // the same file, not created

// The folder of the files delivered with the program (help text, dialog picture, the
// sources of the supplied tables, examples): "share/velmaro" of the prefix the program is
// installed in ("/usr/bin/velmaro" finds "/usr/share/velmaro"), else, for a program run
// from its build folder, the data/ folder of the source tree it was built from.
fs::path DeliveredDataFolder();
// The same for the program at `executable`.
fs::path DeliveredDataFolderFor(const fs::path& executable);

// The folder name of a table: trailing spaces removed, "/" replaced by "_". Throws
// StorageError for a name that is empty, "." or ".." once trimmed, or reserved.
std::string TableFolderName(std::string_view tableName);
// A table name whose folder would take the place of one of the files that all tables
// share in "Dados" (the table list, the reference values, the markers of the installed
// tables), compared without regard to case.
bool IsReservedTableName(std::string_view tableName);
// A preparation name whose file would be the table's preparation list
// ("Ficha Tecnica/ArqFicTec.dad"), compared without regard to case.
bool IsReservedPreparationName(std::string_view preparationName);
// The file-name part of a record name: the same rules.
std::string SafeFileName(std::string_view recordName);
// Creates the missing folders of the path and an empty file when it does not exist.
void EnsureFile(const fs::path& path);
void EnsureFolder(const fs::path& folder);
// A Windows-1252 name part as a path element.
fs::path NamePath(std::string_view cp1252Name);

fs::path DataFolder(const fs::path& base);                           // "Dados"; not created
fs::path TableFolder(const fs::path& base, std::string_view table);  // not created

fs::path TableListPath(const fs::path& base);
fs::path ReferenceTablePath(const fs::path& base);
fs::path ReferenceValuesPath(const fs::path& base);
fs::path IngredientFilePath(const fs::path& base, std::string_view table);
fs::path IngredientGroupsPath(const fs::path& base, std::string_view table);
fs::path PreparationGroupsPath(const fs::path& base, std::string_view table);
fs::path PreparationListPath(const fs::path& base, std::string_view table);
fs::path PreparationFilePath(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelFilePath(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelImagePath(const fs::path& base, std::string_view table, std::string_view prep);
// The PDF of a preparation's label sheet, beside its BMP image (".pdf"); the folders are
// created, the file is not (an empty file would be a broken PDF).
fs::path LabelPdfPath(const fs::path& base, std::string_view table, std::string_view prep);
// The "ALTO EM" mark of a preparation's label, a picture beside the label's BMP
// ("-alto-em.bmp"); the folders are created, the file is not (a preparation whose label
// has no mark has none).
fs::path LabelMarkImagePath(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelSheetPath(const fs::path& base, std::string_view table, std::string_view prep);
fs::path RecipeTextPath(const fs::path& base, std::string_view table, std::string_view prep);
fs::path MeasureFilePath(const fs::path& base, std::string_view table, std::string_view ingredient,
                         bool create);
// Where a file the user names for an output (an export, a picture, a report) may not be
// written: ProgramFile inside the data home's "Dados" folder, or the lock file or the
// configuration file of this run (following links); NotAFile over anything but a regular
// file (a folder, a device, a pipe). A new name is fine.
enum class OutputRefusal { None, ProgramFile, NotAFile };
OutputRefusal CheckOutputFile(const fs::path& home, const fs::path& target);
// The same for a folder that outputs go into: not inside "Dados", and a folder or a new
// name.
OutputRefusal CheckOutputFolder(const fs::path& home, const fs::path& folder);

// "Ajuda.hlp" directly in the data home; not created.
fs::path HelpFilePath(const fs::path& base);

// The same places with nothing created, for looking at a data folder as it stands: the
// table list, a table's ingredient file and preparation list, the folders of its
// preparation ingredient files ("Ficha Tecnica"), label data files ("Rotulo") and
// household measures files ("Medidas"), and the file of a record name in one of them.
fs::path TableListLocation(const fs::path& base);
fs::path ReferenceTableLocation(const fs::path& base);
fs::path ReferenceValuesLocation(const fs::path& base);
fs::path IngredientFileLocation(const fs::path& base, std::string_view table);
fs::path IngredientGroupsLocation(const fs::path& base, std::string_view table);
fs::path PreparationGroupsLocation(const fs::path& base, std::string_view table);
fs::path PreparationListLocation(const fs::path& base, std::string_view table);
fs::path PreparationFolder(const fs::path& base, std::string_view table);
fs::path LabelFolder(const fs::path& base, std::string_view table);
fs::path MeasureFolder(const fs::path& base, std::string_view table);
fs::path RecipeFolder(const fs::path& base, std::string_view table);  // "Receita"
// folder / SafeFileName(name) + extension (".dad", ".rot", ".med", ".rec").
fs::path RecordFileIn(const fs::path& folder, std::string_view name, std::string_view extension);
// The files of one preparation besides its record, where their builders above put them:
// its ingredient lines, method text, label sheet file, label data, label image and label
// sheet PDF.
fs::path PreparationFileLocation(const fs::path& base, std::string_view table,
                                 std::string_view prep);
fs::path RecipeTextLocation(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelSheetLocation(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelFileLocation(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelImageLocation(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelPdfLocation(const fs::path& base, std::string_view table, std::string_view prep);
fs::path LabelMarkImageLocation(const fs::path& base, std::string_view table,
                                std::string_view prep);

}  // namespace velmaro

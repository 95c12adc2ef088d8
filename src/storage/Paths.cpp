#include "storage/Paths.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "storage/Cp1252.h"
#include "storage/DataHomeLock.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

Locations& CurrentLocations() {
    static Locations locations = ResolveLocationsFromEnvironment();
    return locations;
}

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

fs::path HomeDir() {
    const std::string home = Env("HOME");
    return home.empty() ? fs::path("/tmp") : fs::path(home);
}

// Where the build puts the delivered files, relative to the folder of the installed
// program, and where they are in the source tree.
#ifndef VELMARO_INSTALLED_DATA_DIR
#define VELMARO_INSTALLED_DATA_DIR "../share/velmaro"
#endif
#ifndef VELMARO_SOURCE_DATA_DIR
#define VELMARO_SOURCE_DATA_DIR "data"
#endif

std::string SafeName(std::string_view name, const char* what) {
    std::string trimmed = ReplaceChar('_', '/', TrimTrailingSpaces(name));
    if (trimmed.empty() || trimmed == "." || trimmed == ".." ||
        trimmed.find('\0') != std::string::npos) {
        throw StorageError(std::string("Nome inválido para ") + what + ": \"" +
                           Cp1252ToUtf8(trimmed) + "\"");
    }
    return trimmed;
}

constexpr std::string_view kTableListFile = "ArqTab.dad";
constexpr std::string_view kReferenceTableFile = "TabValRef.dad";
constexpr std::string_view kReferenceValuesFile = "ValRef.dad";
constexpr std::string_view kPreparationListFile = "ArqFicTec.dad";

fs::path Ensured(const fs::path& path) {
    EnsureFile(path);
    return path;
}

fs::path InTable(const fs::path& base, std::string_view table, const char* sub,
                 std::string_view prep, const char* ext) {
    return RecordFileIn(TableFolder(base, table) / sub, prep, ext);
}

}  // namespace

Locations ResolveLocationsFromEnvironment() {
    Locations loc;
    if (auto home = Env("VELMARO_HOME"); !home.empty()) {
        loc.home = home;
    } else if (auto xdg = Env("XDG_DATA_HOME"); !xdg.empty()) {
        loc.home = fs::path(xdg) / "velmaro";
    } else {
        loc.home = HomeDir() / ".local" / "share" / "velmaro";
    }
    if (auto cfg = Env("VELMARO_CONFIG"); !cfg.empty()) {
        loc.config = cfg;
    } else if (auto xdg = Env("XDG_CONFIG_HOME"); !xdg.empty()) {
        loc.config = fs::path(xdg) / "velmaro" / "CfgNut.ini";
    } else {
        loc.config = HomeDir() / ".config" / "velmaro" / "CfgNut.ini";
    }
    return loc;
}

Locations ResolveLocations(int& argc, char** argv) {
    Locations loc = ResolveLocationsFromEnvironment();
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if ((std::strcmp(a, "--home") == 0 || std::strcmp(a, "--config") == 0) && i + 1 < argc) {
            (a[2] == 'h' ? loc.home : loc.config) = argv[++i];
        } else if (std::strncmp(a, "--home=", 7) == 0) {
            loc.home = a + 7;
        } else if (std::strncmp(a, "--config=", 9) == 0) {
            loc.config = a + 9;
        } else {
            argv[out++] = argv[i];
        }
    }
    argc = out;
    argv[argc] = nullptr;
    return loc;
}

void SetLocations(const Locations& locations) {
    CurrentLocations() = locations;
}

const fs::path& ProgramFolder() {
    return CurrentLocations().home;
}

fs::path ConfigFilePath() {
    return Ensured(CurrentLocations().config);
}

fs::path ConfigFileLocation() {
    return CurrentLocations().config;
}

fs::path DeliveredDataFolderFor(const fs::path& executable) {
    std::error_code ec;
    const fs::path installed = executable.parent_path() / VELMARO_INSTALLED_DATA_DIR;
    if (fs::is_directory(installed, ec)) {
        const fs::path canonical = fs::weakly_canonical(installed, ec);
        return ec ? installed : canonical;
    }
    return fs::path(VELMARO_SOURCE_DATA_DIR);
}

fs::path DeliveredDataFolder() {
    std::error_code ec;
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    return DeliveredDataFolderFor(ec ? fs::path() : executable);
}

std::string TableFolderName(std::string_view tableName) {
    std::string folder = SafeName(tableName, "tabela");
    if (IsReservedTableName(folder)) {
        throw StorageError("Nome reservado para um arquivo da pasta Dados: \"" +
                           Cp1252ToUtf8(folder) + "\"");
    }
    return folder;
}

bool IsReservedTableName(std::string_view tableName) {
    // Files directly in "Dados"; a table's folder of the same name would replace them.
    static constexpr std::string_view kShared[] = {
        kTableListFile,    kReferenceTableFile,       kReferenceValuesFile,
        ".instalado-taco", ".instalado-taco-medidas", ".instalado-taco-trans"};
    const std::string folder = AsciiLower(ReplaceChar('_', '/', TrimTrailingSpaces(tableName)));
    return std::any_of(std::begin(kShared), std::end(kShared),
                       [&](std::string_view shared) { return AsciiLower(shared) == folder; });
}

bool IsReservedPreparationName(std::string_view preparationName) {
    const std::string file = AsciiLower(ReplaceChar('_', '/', TrimTrailingSpaces(preparationName)));
    return file + ".dad" == AsciiLower(kPreparationListFile);
}

std::string SafeFileName(std::string_view recordName) {
    return SafeName(recordName, "arquivo");
}

fs::path NamePath(std::string_view cp1252Name) {
    return fs::path(Cp1252ToUtf8(cp1252Name));
}

void EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    if (folder.empty() || fs::is_directory(folder, ec)) {
        return;
    }
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder)) {
        throw StorageError("Não foi possível criar a pasta " + folder.string() +
                           (ec ? " (" + ec.message() + ")" : std::string()));
    }
}

void EnsureFile(const fs::path& path) {
    EnsureFolder(path.parent_path());
    std::error_code ec;
    if (fs::exists(path, ec)) {
        return;
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!out) {
        throw StorageError("Não foi possível criar o arquivo " + path.string());
    }
}

fs::path DataFolder(const fs::path& base) {
    return base / "Dados";
}

fs::path TableFolder(const fs::path& base, std::string_view table) {
    return DataFolder(base) / NamePath(TableFolderName(table));
}

fs::path TableListLocation(const fs::path& base) {
    return DataFolder(base) / kTableListFile;
}

fs::path ReferenceTableLocation(const fs::path& base) {
    return DataFolder(base) / kReferenceTableFile;
}

fs::path ReferenceValuesLocation(const fs::path& base) {
    return DataFolder(base) / kReferenceValuesFile;
}

fs::path IngredientFileLocation(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Ingrediente" / "ArqIng.dad";
}

fs::path IngredientGroupsLocation(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "ArqGruIng.dad";
}

fs::path PreparationGroupsLocation(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "ArqGruPre.dad";
}

fs::path PreparationFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Ficha Tecnica";
}

fs::path PreparationListLocation(const fs::path& base, std::string_view table) {
    return PreparationFolder(base, table) / kPreparationListFile;
}

fs::path LabelFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Rotulo";
}

fs::path MeasureFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Medidas";
}

fs::path RecipeFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Receita";
}

namespace {

// The path with links, "." and ".." resolved as far as it exists.
fs::path Resolved(const fs::path& path) {
    std::error_code ec;
    fs::path resolved = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? fs::absolute(path, ec).lexically_normal() : resolved;
}

bool IsWithin(const fs::path& path, const fs::path& folder) {
    const auto [f, p] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return f == folder.end();
}

bool IsProgramFile(const fs::path& home, const fs::path& resolved) {
    return IsWithin(resolved, Resolved(DataFolder(home))) ||
           resolved == Resolved(home / DataHomeLock::kFileName) ||
           (!CurrentLocations().config.empty() && resolved == Resolved(CurrentLocations().config));
}

}  // namespace

OutputRefusal CheckOutputFile(const fs::path& home, const fs::path& target) {
    const fs::path resolved = Resolved(target);
    if (IsProgramFile(home, resolved)) {
        return OutputRefusal::ProgramFile;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        return OutputRefusal::NotAFile;
    }
    return OutputRefusal::None;
}

OutputRefusal CheckOutputFolder(const fs::path& home, const fs::path& folder) {
    const fs::path resolved = Resolved(folder);
    if (IsProgramFile(home, resolved)) {
        return OutputRefusal::ProgramFile;
    }
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (fs::exists(status) && !fs::is_directory(status)) {
        return OutputRefusal::NotAFile;
    }
    return OutputRefusal::None;
}

fs::path RecordFileIn(const fs::path& folder, std::string_view name, std::string_view extension) {
    return folder / NamePath(SafeFileName(name) + std::string(extension));
}

fs::path TableListPath(const fs::path& base) {
    return Ensured(TableListLocation(base));
}

fs::path ReferenceTablePath(const fs::path& base) {
    return Ensured(ReferenceTableLocation(base));
}

fs::path ReferenceValuesPath(const fs::path& base) {
    return Ensured(ReferenceValuesLocation(base));
}

fs::path IngredientFilePath(const fs::path& base, std::string_view table) {
    return Ensured(IngredientFileLocation(base, table));
}

fs::path IngredientGroupsPath(const fs::path& base, std::string_view table) {
    return Ensured(IngredientGroupsLocation(base, table));
}

fs::path PreparationGroupsPath(const fs::path& base, std::string_view table) {
    return Ensured(PreparationGroupsLocation(base, table));
}

fs::path PreparationListPath(const fs::path& base, std::string_view table) {
    return Ensured(PreparationListLocation(base, table));
}

fs::path PreparationFileLocation(const fs::path& base, std::string_view table,
                                 std::string_view prep) {
    // Saving such a preparation would write its record over the preparation list.
    if (IsReservedPreparationName(prep)) {
        throw StorageError("Nome reservado para a lista de preparações: \"" +
                           Cp1252ToUtf8(TrimTrailingSpaces(prep)) + "\"");
    }
    return InTable(base, table, "Ficha Tecnica", prep, ".dad");
}

fs::path RecipeTextLocation(const fs::path& base, std::string_view table, std::string_view prep) {
    return InTable(base, table, "Receita", prep, ".rec");
}

fs::path LabelSheetLocation(const fs::path& base, std::string_view table, std::string_view prep) {
    return InTable(base, table, "Etiqueta", prep, ".eti");
}

fs::path LabelFileLocation(const fs::path& base, std::string_view table, std::string_view prep) {
    return InTable(base, table, "Rotulo", prep, ".rot");
}

fs::path LabelImageLocation(const fs::path& base, std::string_view table, std::string_view prep) {
    return RecordFileIn(LabelFolder(base, table) / "Imagens", prep, ".bmp");
}

fs::path LabelPdfLocation(const fs::path& base, std::string_view table, std::string_view prep) {
    return RecordFileIn(LabelFolder(base, table) / "Imagens", prep, ".pdf");
}

fs::path PreparationFilePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(PreparationFileLocation(base, table, prep));
}

fs::path LabelFilePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(LabelFileLocation(base, table, prep));
}

fs::path LabelImagePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(LabelImageLocation(base, table, prep));
}

fs::path LabelPdfPath(const fs::path& base, std::string_view table, std::string_view prep) {
    const fs::path path = LabelPdfLocation(base, table, prep);
    EnsureFolder(path.parent_path());
    return path;
}

fs::path LabelMarkImageLocation(const fs::path& base, std::string_view table,
                                std::string_view prep) {
    return RecordFileIn(LabelFolder(base, table) / "Imagens", prep, "-alto-em.bmp");
}

fs::path LabelMarkImagePath(const fs::path& base, std::string_view table, std::string_view prep) {
    const fs::path path = LabelMarkImageLocation(base, table, prep);
    EnsureFolder(path.parent_path());
    return path;
}

fs::path LabelSheetPath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(LabelSheetLocation(base, table, prep));
}

fs::path RecipeTextPath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(RecipeTextLocation(base, table, prep));
}

fs::path MeasureFilePath(const fs::path& base, std::string_view table, std::string_view ingredient,
                         bool create) {
    const fs::path folder = MeasureFolder(base, table);
    EnsureFolder(folder);
    const fs::path path = RecordFileIn(folder, ingredient, ".med");
    if (create) {
        EnsureFile(path);
    }
    return path;
}

fs::path HelpFilePath(const fs::path& base) {
    return base / "Ajuda.hlp";
}

}  // namespace velmaro

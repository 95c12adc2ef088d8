#include "storage/Paths.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include "storage/Cp1252.h"
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

std::string SafeName(std::string_view name, const char* what) {
    std::string trimmed = ReplaceChar('_', '/', TrimTrailingSpaces(name));
    if (trimmed.empty() || trimmed == "." || trimmed == ".." ||
        trimmed.find('\0') != std::string::npos) {
        throw StorageError(std::string("Nome inválido para ") + what + ": \"" +
                           Cp1252ToUtf8(trimmed) + "\"");
    }
    return trimmed;
}

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

std::string TableFolderName(std::string_view tableName) {
    return SafeName(tableName, "tabela");
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
    return DataFolder(base) / "ArqTab.dad";
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
    return PreparationFolder(base, table) / "ArqFicTec.dad";
}

fs::path LabelFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Rotulo";
}

fs::path MeasureFolder(const fs::path& base, std::string_view table) {
    return TableFolder(base, table) / "Medidas";
}

fs::path RecordFileIn(const fs::path& folder, std::string_view name, std::string_view extension) {
    return folder / NamePath(SafeFileName(name) + std::string(extension));
}

fs::path TableListPath(const fs::path& base) {
    return Ensured(TableListLocation(base));
}

fs::path ReferenceTablePath(const fs::path& base) {
    return Ensured(DataFolder(base) / "TabValRef.dad");
}

fs::path ReferenceValuesPath(const fs::path& base) {
    return Ensured(DataFolder(base) / "ValRef.dad");
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

fs::path PreparationFilePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(InTable(base, table, "Ficha Tecnica", prep, ".dad"));
}

fs::path LabelFilePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(InTable(base, table, "Rotulo", prep, ".rot"));
}

fs::path LabelImagePath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(TableFolder(base, table) / "Rotulo" / "Imagens" /
                   NamePath(SafeFileName(prep) + ".bmp"));
}

fs::path LabelPdfPath(const fs::path& base, std::string_view table, std::string_view prep) {
    const fs::path path =
        TableFolder(base, table) / "Rotulo" / "Imagens" / NamePath(SafeFileName(prep) + ".pdf");
    EnsureFolder(path.parent_path());
    return path;
}

fs::path LabelMarkImagePath(const fs::path& base, std::string_view table, std::string_view prep) {
    const fs::path path = TableFolder(base, table) / "Rotulo" / "Imagens" /
                          NamePath(SafeFileName(prep) + "-alto-em.bmp");
    EnsureFolder(path.parent_path());
    return path;
}

fs::path LabelSheetPath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(InTable(base, table, "Etiqueta", prep, ".eti"));
}

fs::path RecipeTextPath(const fs::path& base, std::string_view table, std::string_view prep) {
    return Ensured(InTable(base, table, "Receita", prep, ".rec"));
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

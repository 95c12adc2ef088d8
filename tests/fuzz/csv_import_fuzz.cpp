// A spreadsheet of any bytes read as CSV and imported as a composition table, with the
// options the command line and the supplied tables use: the reader ends or throws its
// own error, the import refuses or writes, and what it writes is a table the program
// loads: a table list line and ingredient records of 30 fields.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "FuzzCheck.h"
#include "ingredients/CompositionImport.h"
#include "ingredients/CsvReader.h"
#include "storage/IngredientRecord.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"

namespace {

namespace fs = std::filesystem;

// A data home of its own for the run, in memory when the system has a folder for it.
const fs::path& Home() {
    static const fs::path home = [] {
        const fs::path root =
            fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string tmpl = (root / "velmaro-fuzz-XXXXXX").string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::abort();
        }
        std::atexit([] {
            std::error_code ec;
            fs::remove_all(Home(), ec);
        });
        return fs::path(tmpl);
    }();
    return home;
}

int FieldCount(const std::string& line) {
    int bars = 0;
    for (char c : line) {
        bars += c == '|' ? 1 : 0;
    }
    return !line.empty() && line.back() == '|' ? bars : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    fuzz::Input input(data, size);
    const uint8_t flags = input.Byte();
    const std::string text(input.Rest());

    // The reader alone, with either separator.
    {
        std::istringstream in(text);
        CsvReader reader(in, (flags & 1) != 0 ? ';' : ',');
        try {
            int last = 0;
            while (const auto record = reader.Next()) {
                FUZZ_CHECK(record->line > last);
                last = record->line;
            }
        } catch (const CsvError& e) {
            FUZZ_CHECK(e.line >= 1);
        }
    }

    std::error_code ec;
    fs::remove_all(Home() / "Dados", ec);
    CompositionTableSetup setup;
    setup.tableName = "Fuzz";
    setup.description = "Tabela importada";
    setup.flag = (flags & 2) != 0 ? "0" : "1";
    setup.separator = (flags & 4) != 0 ? kDetectSeparator : ';';
    setup.encoding = (flags & 8) != 0 ? CompositionTableSetup::Encoding::Detect
                                      : CompositionTableSetup::Encoding::Utf8;
    setup.recogniseColumns = (flags & 16) == 0;
    if (!setup.recogniseColumns) {
        // The columns of the supplied table's source file.
        setup.nameColumn = "descricao";
        setup.groupColumn = "categoria";
        setup.valueColumns = {
            "energia_kcal",  "carboidrato_g",     "proteina_g", "lipideos_g", "gordura_saturada_g",
            "colesterol_mg", "fibra_alimentar_g", "calcio_mg",  "ferro_mg",   "sodio_mg"};
        setup.sourceColumn = "fonte";
        setup.sourceText = "TACO";
    }
    setup.blankCodes = {"NA", "*", "-"};
    setup.collapseSpaces = (flags & 32) != 0;
    setup.importValidRows = (flags & 64) != 0;
    setup.addToExistingTable = true;

    // Imported twice: the second time the foods go into the table the first one made.
    for (int pass = 0; pass < ((flags & 128) != 0 ? 2 : 1); ++pass) {
        std::istringstream csv(text);
        const ImportResult result = ImportCompositionTable(Home(), setup, csv);
        if (!result.Ok()) {
            FUZZ_CHECK(!result.errors.empty());
            continue;
        }
        LineTable tables;
        LoadLineTable(TableListLocation(Home()), tables);
        FUZZ_CHECK(tables.lines.Count() == 1 && FieldCount(tables.lines[0]) == 3);
        LineTable ingredients;
        NullProgress progress;
        LoadScrambledLineTable(IngredientFileLocation(Home(), RecordKey(tables.lines[0])),
                               ingredients, progress);
        FUZZ_CHECK(ingredients.lines.Count() >= result.ingredientCount);
        for (const std::string& record : ingredients.lines.Items()) {
            FUZZ_CHECK(FieldCount(record) == ing::kFieldCount);
        }
        FUZZ_CHECK(ingredients.keys.Count() == ingredients.lines.Count());
    }
    return 0;
}

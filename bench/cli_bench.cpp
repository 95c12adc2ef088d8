// The command-line companion on large inputs, through the same entry point as the program:
// the import of a 5,000-row composition spreadsheet (all 29 columns) into a new table and
// over the same table again, and `lote` of 500 preparations' labels as PDF files (the
// preview of each label, and the whole sheet of 25 labels; the preview of model 5, which
// reads the table's 50,000 ingredients), drawn by Qt off screen.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "DataGenerator.h"
#include "cli/Cli.h"
#include "ingredients/CompositionExport.h"
#include "platform/qt/QtImageOutput.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"

namespace velmaro::bench {
namespace {

namespace fs = std::filesystem;

const fs::path& Folder() {
    return BenchFolder("velmaro-cli-bench");
}

// Discards what is written to it.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
};

int Run(const fs::path& home, ImageOutput& images, const std::vector<std::string>& args) {
    NullBuffer buffer;
    std::ostream null(&buffer);
    cli::CliIo io{home, images, null, null, false, 80};
    return cli::RunCli(args, io);
}

// A spreadsheet of `rows` foods as the export writes it: every column filled.
const fs::path& Spreadsheet(int rows) {
    static const fs::path path = [rows] {
        const fs::path home = Folder() / "source";
        LineTable table;
        table.lines.SetSorted(false);
        table.lines.Assign(MakeIngredientRecords(static_cast<size_t>(rows), 7));
        SortLineTable(table);
        std::string key = "Origem";
        key.resize(20, ' ');
        WriteFileAtomic(IngredientFilePath(home, key), ScrambledLineTableBytes(table.lines));
        const fs::path csv = Folder() / "alimentos.csv";
        WriteFileAtomic(csv, ExportCompositionTable(home, key).csv);
        return csv;
    }();
    return path;
}

qt::QtImageOutput& Images() {
    static qt::QtImageOutput images;
    return images;
}

void BM_ImportNewTable(benchmark::State& state) {
    const fs::path csv = Spreadsheet(static_cast<int>(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path home = Folder() / ("nova-" + std::to_string(n++));
        state.ResumeTiming();
        if (Run(home, Images(), {"tabela", "importar", "Nova", csv.string()}) != 0) {
            state.SkipWithError("a importação falhou");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ImportOverExistingTable(benchmark::State& state) {
    const fs::path csv = Spreadsheet(static_cast<int>(state.range(0)));
    const fs::path home = Folder() / "existente";
    Run(home, Images(), {"tabela", "importar", "Existente", csv.string()});
    for (auto _ : state) {
        if (Run(home, Images(), {"tabela", "importar", "Existente", csv.string()}) != 0) {
            state.SkipWithError("a importação falhou");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A table with `count` preparations of 20 lines each, and 50,000 ingredients (which the
// labels of model 5 read).
const fs::path& Kitchen(int count) {
    static const fs::path home = [count] {
        const fs::path h = Folder() / "cozinha";
        PreparationFolderSetup setup;
        setup.preparations = static_cast<size_t>(count);
        setup.users = 0;
        MakePreparationFolder(h, setup);
        std::string key = setup.table;
        key.resize(20, ' ');
        WriteFileAtomic(TableListPath(h), key + "|" + std::string(65, ' ') + "|1|\r\n");
        // The first 200 are those the preparations' lines name (same generator and seed).
        LineTable ingredients;
        ingredients.lines.SetSorted(false);
        ingredients.lines.Assign(MakeIngredientRecords(50000, setup.seed + 1));
        SortLineTable(ingredients);
        WriteFileAtomic(IngredientFilePath(h, key), ScrambledLineTableBytes(ingredients.lines));
        return h;
    }();
    return home;
}

void BM_BatchOfLabelPdfs(benchmark::State& state) {
    const fs::path home = Kitchen(static_cast<int>(state.range(0)));
    std::vector<std::string> args = {"lote",     "Bench",
                                     "--saida",  (Folder() / "rotulos").string(),
                                     "--modelo", std::to_string(state.range(2))};
    if (state.range(1) != 0) {
        args.push_back("--folha");
    }
    for (auto _ : state) {
        // Model 5 ends with 1: no sugars are known, so every table is incomplete.
        const int status = Run(home, Images(), args);
        if (status != 0 && !(state.range(2) == 5 && status == 1)) {
            state.SkipWithError("o lote falhou");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_ImportNewTable)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportOverExistingTable)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_BatchOfLabelPdfs)
    ->ArgNames({"preparations", "sheet", "modelo"})
    ->Args({500, 0, 1})
    ->Args({500, 1, 1})
    ->Args({500, 0, 5})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
}  // namespace velmaro::bench

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(velmaro::bench::Folder(), ec);
    return 0;
}

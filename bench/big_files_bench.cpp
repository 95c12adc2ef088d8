// Files far larger or stranger than the program writes, loaded as line tables (plain and
// scrambled) and as configuration files: a file of 100 MB, one line of 10 MB, 1,000,000
// empty lines. Time of a load, and its peak memory beyond the process baseline as a
// multiple of the file's size (measured in a fresh process: this program started again
// with --load-peak KIND FILE).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "DataGenerator.h"
#include "storage/IniFile.h"
#include "storage/LineTable.h"

namespace velmaro::bench {
namespace {

namespace fs = std::filesystem;

enum Shape { kHundredMegabytes, kTenMegabyteLine, kMillionEmptyLines };
enum Kind { kPlain, kScrambled, kIni };
const char* const kKindNames[] = {"plain", "scrambled", "ini"};

long PeakResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6)) * 1024;
        }
    }
    return 0;
}

void Load(Kind kind, const fs::path& path) {
    if (kind == kIni) {
        const IniFile ini(path);
        benchmark::DoNotOptimize(ini.SectionExists("CfgEti"));
        return;
    }
    LineTable table;
    NullProgress progress;
    if (kind == kPlain) {
        LoadLineTable(path, table);
    } else {
        LoadScrambledLineTable(path, table, progress);
    }
    benchmark::DoNotOptimize(table.keys.Count());
}

// The file of a shape, written once.
const fs::path& FileOf(Shape shape) {
    static fs::path files[3];
    fs::path& path = files[shape];
    if (!path.empty()) {
        return path;
    }
    const fs::path folder = BenchFolder("velmaro-big-files");
    std::ofstream out;
    if (shape == kHundredMegabytes) {
        // 100,000 records of 1,000 bytes, each with its key.
        path = folder / "grande.dad";
        out.open(path, std::ios::binary);
        std::string line(998, 'x');
        line[996] = '|';
        line[997] = '|';
        for (int i = 0; i < 100000; ++i) {
            const std::string key = "Registro " + std::to_string(1000000 + i) + "|";
            line.replace(0, key.size(), key);
            out << line << "\r\n";
        }
    } else if (shape == kTenMegabyteLine) {
        path = folder / "linha-longa.dad";
        out.open(path, std::ios::binary);
        out << std::string(10 * 1024 * 1024, 'a') << "|";
    } else {
        path = folder / "linhas-vazias.dad";
        out.open(path, std::ios::binary);
        for (int i = 0; i < 1000000; ++i) {
            out << "\r\n";
        }
    }
    return path;
}

double LoadPeak(Kind kind, const fs::path& path) {
    const std::string command = "/proc/" + std::to_string(getpid()) + "/exe --load-peak " +
                                std::to_string(kind) + " '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    long extra = 0;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%ld", &extra) != 1) {
            extra = 0;
        }
        pclose(pipe);
    }
    return static_cast<double>(extra);
}

void BM_LoadBigFile(benchmark::State& state) {
    const auto shape = static_cast<Shape>(state.range(0));
    const auto kind = static_cast<Kind>(state.range(1));
    const fs::path& path = FileOf(shape);
    for (auto _ : state) {
        Load(kind, path);
    }
    const auto bytes = static_cast<double>(fs::file_size(path));
    const double peak = LoadPeak(kind, path);
    state.SetLabel(path.filename().string() + " " + kKindNames[kind]);
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_x_file"] = peak / bytes;
}

BENCHMARK(BM_LoadBigFile)
    ->ArgsProduct({{kHundredMegabytes, kTenMegabyteLine, kMillionEmptyLines},
                   {kPlain, kScrambled, kIni}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

}  // namespace
}  // namespace velmaro::bench

int main(int argc, char** argv) {
    using namespace velmaro::bench;
    if (argc == 4 && std::string(argv[1]) == "--load-peak") {
        const long before = PeakResidentBytes();
        Load(static_cast<Kind>(std::stoi(argv[2])), argv[3]);
        std::printf("%ld\n", PeakResidentBytes() - before);
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(BenchFolder("velmaro-big-files"), ec);
    return 0;
}

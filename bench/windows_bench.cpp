// The real windows at 5,000 ingredients / 2,000 preparations and at 50,000 / 20,000:
// the application started offscreen on a generated data home and walked as a user does,
// each interaction timed from the user's action to the moment the window is ready for
// the next key (its events processed and every window painted).
//
// The walk runs inside the application's own modal loops, so the figures are gathered
// first and then handed to Google Benchmark as manual times, one repetition a sample:
// the median, mean and spread are printed for each interaction.
//
//   build/release/bench/windows_bench --benchmark_repetitions=1   (the figures as measured)
//   VELMARO_BENCH_SAMPLES=9 build/release/bench/windows_bench     (walks repeated 9 times)

#include <benchmark/benchmark.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "DataGenerator.h"
#include "app/VelmaroApp.h"
#include "e2e/AppDriver.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/LineTable.h"
#include "storage/Paths.h"
#include "storage/Scramble.h"

namespace velmaro::bench {
namespace {

namespace fs = std::filesystem;
using test::AppDriver;
using Clock = std::chrono::steady_clock;

struct Size {
    std::size_t ingredients;
    std::size_t preparations;
};

const char* const kGroups[] = {
    "Cereais e derivados", "Leguminosas",       "Carnes e derivados", "Frutas",
    "Hortaliças",          "Leite e derivados", "Óleos e gorduras",   "Bebidas"};
const std::string kTable = "Bench";
// The preparation whose ingredient file holds 60 lines.
const char* const kLargePreparation = "Preparação 0";

std::string Pad(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// A data home with one editable table fixed as the active one: its scrambled ingredient
// file, eight ingredient groups, and its preparations (five lines each, 60 for one).
Locations MakeHome(const Size& size) {
    const fs::path root = BenchFolder("velmaro-windows-" + std::to_string(size.ingredients));
    Locations at{root / "home", root / "CfgNut.ini"};
    if (fs::exists(at.home / "Dados" / "ArqTab.dad")) {
        return at;
    }
    const std::string key = Pad(kTable, 20);
    Write(at.home / "Dados" / "ArqTab.dad", key + "|" + Pad("Tabela de teste", 65) + "|1|\r\n");
    Write(at.config, "[Fixa Tabela]\r\nFixTab=1\r\nNomTab=" + key + "|\r\n");

    // The preparations' lines name the first 200 of these (same generator, same seed).
    std::vector<std::string> records = MakeIngredientRecords(size.ingredients, 2);
    std::string groups;
    for (std::size_t i = 0; i < records.size(); ++i) {
        SetField(13, records[i], Pad(W(kGroups[i % std::size(kGroups)]), 20));
    }
    for (const char* g : kGroups) {
        groups += Pad(W(g), 20) + "|\r\n";
    }
    Write(IngredientGroupsPath(at.home, key), groups);
    LineTable table;
    LoadLineTableFromBytes(JoinLinesCrLf(records), table);
    NullProgress quiet;
    SaveScrambledLineTable(IngredientFilePath(at.home, key), table.lines, quiet);

    PreparationFolderSetup setup;
    setup.table = kTable;
    setup.preparations = size.preparations;
    setup.linesPerPreparation = 5;
    setup.users = 0;
    MakePreparationFolder(at.home, setup);
    // One preparation of 60 lines, made alone and put in place of the first.
    const fs::path scratch = root / "large";
    setup.preparations = 1;
    setup.linesPerPreparation = 60;
    MakePreparationFolder(scratch, setup);
    const std::string file = std::string(kLargePreparation) + ".dad";
    fs::copy_file(scratch / "Dados" / kTable / "Ficha Tecnica" / file,
                  at.home / "Dados" / kTable / "Ficha Tecnica" / file,
                  fs::copy_options::overwrite_existing);
    return at;
}

// The samples of each interaction, in the order they were first timed.
class Timings {
  public:
    void Start(const std::string& name) {
        m_running = name;
        m_started = Clock::now();
        m_cpuStarted = ThreadCpuMs();
    }
    // Every window painted, then the time taken since Start.
    void Stop() { Record(m_running, m_started, m_cpuStarted); }
    // The same for an interaction that began at `started` (`cpuStarted`: the time this
    // thread had then worked).
    void Record(const std::string& name, Clock::time_point started, double cpuStarted) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QCoreApplication::sendPostedEvents();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        auto [it, fresh] = m_samples.try_emplace(name);
        if (fresh) {
            m_order.push_back(name);
        }
        it->second.push_back(ms);
        m_cpu[name].push_back(ThreadCpuMs() - cpuStarted);
    }
    // The processor time of this thread: what the interaction costs whatever else the
    // machine is doing.
    static double ThreadCpuMs() {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
    }
    const std::vector<std::string>& Order() const { return m_order; }
    const std::vector<double>& Samples(const std::string& name) const { return m_samples.at(name); }
    const std::vector<double>& CpuSamples(const std::string& name) const { return m_cpu.at(name); }

  private:
    std::string m_running;
    Clock::time_point m_started;
    double m_cpuStarted = 0;
    std::vector<std::string> m_order;
    std::map<std::string, std::vector<double>> m_samples;
    std::map<std::string, std::vector<double>> m_cpu;
};

// The walk: `act` timed until the screen `className` is on top, activated, its events
// processed and painted.
class Walk {
  public:
    Walk(AppDriver& driver, Timings& timings) : m_driver(driver), m_timings(timings) {}

    Walk& Timed(const std::string& name, const std::string& before, const std::string& after,
                std::function<void()> act) {
        m_driver.Then(
            name, [this, before] { return m_driver.OnTop(before); },
            [this, name, act] {
                m_timings.Start(name);
                act();
            });
        m_driver.Then(
            "ready after " + name,
            [this, after] {
                if (!m_driver.OnTop(after)) {
                    return false;
                }
                m_timings.Stop();
                return true;
            },
            [] {});
        return *this;
    }
    Walk& Click(const std::string& name, const std::string& className, const std::string& control,
                const std::string& after) {
        return Timed(name, className, after, [className, control] {
            QTest::mouseClick(AppDriver::Widget(className, control), Qt::LeftButton);
        });
    }

  private:
    AppDriver& m_driver;
    Timings& m_timings;
};

void DoubleClickSelectedRow(const std::string& className, const std::string& control) {
    auto* list = qobject_cast<QAbstractItemView*>(AppDriver::Widget(className, control));
    QModelIndex row = list->currentIndex();
    if (!row.isValid()) {
        row = list->model()->index(0, 0);
    }
    const QPoint at = list->visualRect(row).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

void ChooseItem(const std::string& className, const std::string& control, int index) {
    auto* combo = qobject_cast<QComboBox*>(AppDriver::Widget(className, control));
    combo->setFocus(Qt::MouseFocusReason);
    combo->setCurrentIndex(index);
}

void CheckBox(const std::string& className, const std::string& control) {
    QWidget* box = AppDriver::Widget(className, control);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

// With VELMARO_BENCH_SHOTS=DIR, the window of a screen saved as DIR/<name>-<rows>.png.
void Shot(AppDriver& driver, const std::string& className, const std::string& name) {
    const char* folder = std::getenv("VELMARO_BENCH_SHOTS");
    if (folder == nullptr) {
        return;
    }
    driver.On(className, [folder, className, name] {
        QWidget* window = AppDriver::Window(className);
        static int shot = 0;
        window->grab().save(QString::fromStdString(std::string(folder) + "/" + name + "-" +
                                                   std::to_string(++shot) + ".png"));
    });
}

// One walk through the screens the issue of speed names, from the main menu back to it.
void PlanWalk(AppDriver& driver, Timings& timings) {
    Walk walk(driver, timings);
    const std::string ing = "TCadIngForm";
    const std::string vis = "TVisLisIngForm";
    walk.Click("ingredient register: open", "TNutForm", "CadIngBitBtn", ing)
        .Click("ingredient register: Lista (viewer shown)", ing, "LisBitBtn", vis)
        .Timed("viewer: keyword on", vis, vis, [vis] { CheckBox(vis, "PalChaCheckBox"); });
    driver.Type(vis, "PalChaMaskEdit", "ARROZ");
    walk.Click("viewer: keyword Ok", vis, "PalChaBitBtn", vis)
        .Timed("viewer: keyword off", vis, vis, [vis] { CheckBox(vis, "PalChaCheckBox"); })
        .Timed("viewer: ordering on", vis, vis, [vis] { CheckBox(vis, "AtiOrdCheckBox"); })
        .Timed("viewer: order by energy", vis, vis,
               [vis] { ChooseItem(vis, "NomCamComboBox", 1); });
    Shot(driver, vis, "viewer-ordered");
    walk.Timed("viewer: ordering off", vis, vis, [vis] { CheckBox(vis, "AtiOrdCheckBox"); })
        .Timed("viewer: choose a row (record shown)", vis, ing,
               [vis] { DoubleClickSelectedRow(vis, "LisFilOrdListBox"); });
    for (int i = 0; i < 3; ++i) {
        walk.Click("ingredient register: Proximo", ing, "ProBitBtn", ing);
    }
    for (int i = 0; i < 3; ++i) {
        walk.Click("ingredient register: Anterior", ing, "AntBitBtn", ing);
    }
    walk.Click("ingredient register: Retorna", ing, "RetBitBtn", "TNutForm");

    const std::string pre = "TCadFicTecRotForm";
    walk.Click("preparation register: open", "TNutForm", "CadFicTecRotRotBitBtn", pre);
    driver.Fill(pre, "NomPreMaskEdit", kLargePreparation);
    walk.Timed("preparation register: name left (record shown)", pre, pre,
               [pre] { QTest::keyClick(AppDriver::Widget(pre, "NomPreMaskEdit"), Qt::Key_Tab); });
    walk.Click("preparation register: Proximo", pre, "ProBitBtn", pre)
        .Click("preparation register: Anterior", pre, "AntBitBtn", pre)
        .Click("ingredients screen: open (60 lines)", pre, "IngBitBtn", "TCadIngFicTecForm")
        .Timed("ingredients screen: click a line", "TCadIngFicTecForm", "TCadIngFicTecForm",
               [] {
                   auto* list = qobject_cast<QAbstractItemView*>(
                       AppDriver::Widget("TCadIngFicTecForm", "IngFicTecListBox"));
                   const QPoint at = list->visualRect(list->model()->index(1, 0)).center();
                   QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
               })
        .Click("ingredients screen: Retorna (totals saved)", "TCadIngFicTecForm", "RetBitBtn", pre)
        .Click("preparation register: Lista (viewer shown)", pre, "LisBitBtn", "TVisLisForm")
        .Timed("preparation viewer: choose a row", "TVisLisForm", pre,
               [] { DoubleClickSelectedRow("TVisLisForm", "LisFilOrdListBox"); })
        .Click("label screen: open", pre, "ImpRotBitBtn", "TImpRotForm")
        .Timed("label screen: switch model", "TImpRotForm", "TImpRotForm",
               [] { CheckBox("TImpRotForm", "ModHorRadioButton"); })
        .Timed("label screen: switch model", "TImpRotForm", "TImpRotForm",
               [] { CheckBox("TImpRotForm", "ModVerRadioButton"); })
        .Click("label screen: Retorna", "TImpRotForm", "RetBitBtn", pre)
        .Click("report screen: open", pre, "ImpFicTecBitBtn", "TSelRelForm")
        .Click("report screen: preview", "TSelRelForm", "VisBitBtn", "TVisRelForm")
        .Timed("report preview: close", "TVisRelForm", "TMesDlgForm", [] {
            QTest::mouseDClick(AppDriver::Widget("TVisRelForm", "RelImage"), Qt::LeftButton, {},
                               QPoint(10, 10));
        });
    driver.Answer("NaoBitBtn");  // "Gera imagem do relatório?"
    walk.Click("report screen: Retorna", "TSelRelForm", "RetBitBtn", pre)
        .Click("preparation register: Retorna", pre, "RetBitBtn", "TNutForm");
}

// Starts the application on the home, times the start to the painted main menu, walks
// the screens `walks` times and ends it with FIM.
bool RunSession(const Locations& at, Timings& timings, int walks, bool timedStart) {
    SetLocations(at);
    const Clock::time_point started = Clock::now();
    const double cpuStarted = Timings::ThreadCpuMs();
    AppDriver driver;
    const std::string error = driver.App().PrepareHome();
    if (!error.empty()) {
        std::fprintf(stderr, "windows_bench: %s\n", Cp1252ToUtf8(error).c_str());
        return false;
    }
    driver.App().CreateScreens();
    driver.TickEvery(0);
    driver.Then(
        "main menu",
        [&driver, &timings, started, cpuStarted, timedStart] {
            if (!driver.OnTop("TNutForm")) {
                return false;
            }
            if (timedStart) {
                timings.Record("start to main menu", started, cpuStarted);
            }
            return true;
        },
        [] {});
    for (int i = 0; i < walks; ++i) {
        PlanWalk(driver, timings);
    }
    driver.Click("TNutForm", "BitBtn1");
    if (!driver.Run(600000)) {
        std::fprintf(stderr, "windows_bench: %s\n", driver.Failure().c_str());
        return false;
    }
    return true;
}

}  // namespace
}  // namespace velmaro::bench

int main(int argc, char** argv) {
    using namespace velmaro::bench;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(AppDriver::QuietOffscreen);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const char* samplesText = std::getenv("VELMARO_BENCH_SAMPLES");
    const int samples = samplesText != nullptr ? std::max(1, std::atoi(samplesText)) : 5;

    static std::vector<std::pair<std::string, Timings>> results;
    for (const Size size : {Size{5000, 2000}, Size{50000, 20000}}) {
        const std::string label =
            std::to_string(size.ingredients) + "ing_" + std::to_string(size.preparations) + "prep";
        std::fprintf(stderr, "windows_bench: data home of %s\n", label.c_str());
        const velmaro::Locations at = MakeHome(size);
        Timings warmUp;
        if (!RunSession(at, warmUp, 1, false)) {  // the supplied tables installed, caches warm
            return 1;
        }
        results.emplace_back(label, Timings{});
        Timings& timings = results.back().second;
        for (int i = 0; i < samples; ++i) {
            if (!RunSession(at, timings, i == 0 ? samples : 0, true)) {
                return 1;
            }
        }
    }
    for (const auto& [label, timings] : results) {
        for (const std::string& name : timings.Order()) {
            const std::vector<double>* values = &timings.Samples(name);
            const std::vector<double>* cpu = &timings.CpuSamples(name);
            benchmark::RegisterBenchmark(
                (label + "/" + name).c_str(),
                [values, cpu](benchmark::State& state) {
                    std::size_t next = 0;
                    for (auto _ : state) {
                        state.SetIterationTime((*values)[next++ % values->size()] / 1000.0);
                    }
                    const auto median = [](std::vector<double> v) {
                        std::sort(v.begin(), v.end());
                        const std::size_t n = v.size();
                        return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
                    };
                    state.counters["median_ms"] = median(*values);
                    state.counters["min_ms"] = *std::min_element(values->begin(), values->end());
                    state.counters["max_ms"] = *std::max_element(values->begin(), values->end());
                    state.counters["cpu_median_ms"] = median(*cpu);
                })
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond)
                ->Iterations(static_cast<benchmark::IterationCount>(values->size()));
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

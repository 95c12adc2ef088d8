// Velmaro Nutricional: the data home and configuration of this run, the delivered files
// installed, the screens created, and the main menu until "FIM".

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

#include "app/VelmaroApp.h"
#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/Paths.h"

int main(int argc, char** argv) {
    velmaro::LetWritesFailOverSizeLimit();
    QElapsedTimer clock;
    clock.start();
    const velmaro::Locations locations = velmaro::ResolveLocations(argc, argv);
    if (locations.home.empty() || locations.config.empty()) {
        const std::string_view refusal =
            locations.home.empty() ? velmaro::kEmptyHomeMessage : velmaro::kEmptyConfigMessage;
        std::fprintf(stderr, "%.*s\n", static_cast<int>(refusal.size()), refusal.data());
        return 2;
    }
    velmaro::SetLocations(locations);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmaro"));
    if (!velmaro::InstallPortugueseTranslations()) {
        std::fprintf(stderr,
                     "Traduções do Qt para português não encontradas (qt6-translations-l10n)\n");
    }

    std::printf("Pasta de dados: %s\nArquivo de configuração: %s\n",
                locations.home.string().c_str(), locations.config.string().c_str());
    std::fflush(stdout);

    velmaro::VelmaroApp velmaro(velmaro::DeliveredDataFolder());
    if (!velmaro.ClaimHome()) {
        return 1;
    }
    const std::string error = velmaro.PrepareHome();
    if (!error.empty()) {
        std::fprintf(stderr, "%s\n", velmaro::Cp1252ToUtf8(error).c_str());
        velmaro.ShowError(error);
        return 1;
    }
    velmaro.CreateScreens();
    const bool timing = std::getenv("VELMARO_STARTUP_TIMING") != nullptr;
    return velmaro.Run([&clock, timing] {
        if (timing) {
            std::printf("Menu principal na tela em %lld ms\n",
                        static_cast<long long>(clock.elapsed()));
            std::fflush(stdout);
        }
    });
}

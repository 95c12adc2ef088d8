#include <cstdio>

#include "storage/Paths.h"

int main(int argc, char** argv) {
    const velmaro::Locations loc = velmaro::ResolveLocations(argc, argv);
    std::printf("Pasta de dados: %s\nArquivo de configuração: %s\n", loc.home.c_str(),
                loc.config.c_str());
    return 0;
}

#include "DataGenerator.h"

#include <random>

#include "storage/Cp1252.h"
#include "storage/Text.h"

namespace velmaro::bench {

namespace {

const char* const kWords[] = {
    "Arroz",   "Feijão",  "Carne",  "bovina",   "Frango",  "peito",    "cozido",  "cru",
    "Batata",  "inglesa", "Açúcar", "refinado", "Leite",   "integral", "Queijo",  "minas",
    "Farinha", "de",      "trigo",  "Mandioca", "Óleo",    "soja",     "Maçã",    "Fuji",
    "Tomate",  "Cebola",  "Alho",   "Pão",      "francês", "Ovo",      "galinha", "Manteiga",
};

std::string Number(std::mt19937& rng, int decimals, int width, double maximum) {
    std::uniform_real_distribution<double> d(0, maximum);
    return FormatNumber(decimals, width, d(rng));
}

}  // namespace

std::vector<std::string> MakeIngredientRecords(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name;
        const int words = 2 + static_cast<int>(rng() % 3);
        for (int w = 0; w < words; ++w) {
            name += W(kWords[rng() % std::size(kWords)]);
            name += ' ';
        }
        name += std::to_string(i);  // names are keys: unique
        name.resize(60, ' ');
        std::string line = name + "|";
        for (int f = 2; f <= 10; ++f) {
            line += Number(rng, 2, 7, 900) + "|";
        }
        line += Number(rng, 2, 8, 5000) + "|";
        line += "|";                               // 12: reserved
        line += W("Cereais e derivados  ") + "|";  // 13: group
        line += Number(rng, 2, 6, 3) + "|";
        line += Number(rng, 2, 6, 3) + "|";
        line += Number(rng, 2, 9, 90) + "|";
        line += "10/12/26|";
        for (int f = 18; f <= 29; ++f) {
            line += W("TACO 4ª edição, NEPA/UNICAMP") + "|";
        }
        line += W("Cotação do mercado local") + "|";
        records.push_back(std::move(line));
    }
    return records;
}

}  // namespace velmaro::bench

#include "DataGenerator.h"

#include <stdlib.h>
#include <algorithm>
#include <fstream>

#include <cstdlib>
#include <map>
#include <random>

#include "storage/Cp1252.h"
#include "storage/LineTable.h"
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

const std::filesystem::path& BenchFolder(const std::string& prefix) {
    static std::map<std::string, std::filesystem::path> folders;
    auto [it, fresh] = folders.try_emplace(prefix);
    if (fresh) {
        std::string tmpl = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(tmpl.data()) == nullptr) {
            std::abort();
        }
        it->second = tmpl;
    }
    return it->second;
}

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

namespace velmaro::bench {

namespace {

std::string Amount(long double value) {
    return FormatNumber(2, 9, value);
}

}  // namespace

std::string MakePreparationFolder(const std::filesystem::path& home,
                                  const PreparationFolderSetup& setup) {
    std::mt19937 rng(setup.seed);
    const std::string table = setup.table;
    std::string used = setup.ingredient;
    used.resize(60, ' ');
    const std::vector<std::string> others = MakeIngredientRecords(200, setup.seed + 1);
    const std::filesystem::path folder = home / "Dados" / table / "Ficha Tecnica";
    std::filesystem::create_directories(folder);
    const std::size_t every = setup.users == 0
                                  ? setup.preparations + 1
                                  : std::max<std::size_t>(1, setup.preparations / setup.users);
    std::size_t usersLeft = setup.users;

    std::vector<std::string> list;
    list.reserve(setup.preparations);
    for (std::size_t p = 0; p < setup.preparations; ++p) {
        std::string name = "Preparação " + std::to_string(p);
        const bool user = usersLeft > 0 && p % every == 0;
        usersLeft -= user ? 1 : 0;
        std::vector<std::string> lines;
        long double totals[11] = {};
        for (std::size_t l = 0; l < setup.linesPerPreparation; ++l) {
            const std::string& other = others[(p * 7 + l * 13) % others.size()];
            const std::string key = user && l == 0 ? used : other.substr(0, 60);
            const long double net = 10 + static_cast<long double>(rng() % 2000) / 10;
            const long double gross = net * 1.25L;
            const long double unitCost = 5 + static_cast<long double>(rng() % 1000) / 100;
            const long double cost = gross * unitCost / 1000;
            std::string line = key + "|" + FormatNumber(1, 8, gross) + "|" +
                               FormatNumber(1, 8, net) + "|      , |      , |  1,25|   ,  |" +
                               FormatNumber(2, 9, unitCost) + "|" + Amount(cost) +
                               "|10/12/26||   ,  |";
            for (int n = 0; n < 10; ++n) {
                const long double perHundred =
                    user && l == 0 ? 100 : TextToNumber(GetField(2 + n, other));
                const long double amount = net * perHundred / 100;
                totals[n] += TextToNumber(Amount(amount));
                line += Amount(amount) + "|";
            }
            totals[10] += TextToNumber(Amount(cost));
            lines.push_back(std::move(line));
        }
        std::sort(lines.begin(), lines.end());
        {
            std::ofstream out(folder / (name + ".dad"), std::ios::binary);
            for (const auto& line : lines) {
                out << line << "\r\n";
            }
        }
        std::string record = W(name);
        record.resize(40, ' ');
        record += "|  1000|";
        for (const long double t : totals) {
            record += Amount(t) + "|";
        }
        record += "    10|   100|";
        for (const long double t : totals) {
            record += Amount(t / 10) + "|";
        }
        record += "    15|";
        for (const long double t : totals) {
            record += Amount(t * 15 / 1000) + "|";
        }
        record += "|10/12/2026|   200|";
        for (const long double t : totals) {
            record += Amount(t / 5) + "|";
        }
        record += "Pratos preparados|200g|g|1 prato|";
        list.push_back(std::move(record));
    }
    std::ofstream out(folder / "ArqFicTec.dad", std::ios::binary);
    for (const auto& record : list) {
        out << record << "\r\n";
    }
    return used;
}

}  // namespace velmaro::bench

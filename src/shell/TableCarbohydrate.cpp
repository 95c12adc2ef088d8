#include "shell/TableCarbohydrate.h"

#include <algorithm>
#include <system_error>

#include "storage/Cp1252.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/IniFile.h"
#include "storage/Paths.h"
#include "storage/StorageError.h"
#include "storage/Text.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSection = "Tabela";
constexpr std::string_view kKey = "CarboidratoIncluiFibra";
constexpr long double kLargestValue = 9999.99L;

}  // namespace

fs::path CarbohydrateFibreFileLocation(const fs::path& home, std::string_view table) {
    return TableFolder(home, table) / kCarbohydrateFibreFileName;
}

std::optional<bool> StoredCarbohydrateIncludesFibre(const fs::path& home, std::string_view table) {
    const fs::path path = CarbohydrateFibreFileLocation(home, table);
    std::error_code ec;
    const bool exists = fs::exists(path, ec);
    if (ec) {
        throw StorageError("Não foi possível ler " + path.string() + " (" + ec.message() + ")");
    }
    if (!exists) {
        return std::nullopt;
    }
    const IniFile file(path);
    RefuseDamaged(file.Check());
    const std::string value = file.ReadString(kSection, kKey, "0");
    if (value != "0" && value != "1") {
        throw StorageError("O arquivo " + path.string() + " está danificado: " + std::string(kKey) +
                           " deve ser 0 ou 1, não \"" + Cp1252ToUtf8(value) + "\".");
    }
    return value == "1";
}

bool CarbohydrateIncludesFibre(const fs::path& home, std::string_view table) {
    return StoredCarbohydrateIncludesFibre(home, table).value_or(false);
}

std::string CarbohydrateFibreFileBytes(bool includesFibre) {
    return "[" + std::string(kSection) + "]\r\n" + std::string(kKey) + "=" +
           (includesFibre ? "1" : "0") + "\r\n";
}

void StoreCarbohydrateIncludesFibre(const fs::path& home, std::string_view table,
                                    bool includesFibre) {
    const fs::path path = CarbohydrateFibreFileLocation(home, table);
    EnsureFolder(path.parent_path());
    WriteFileAtomic(path, CarbohydrateFibreFileBytes(includesFibre));
}

std::string ConvertedCarbohydrate(std::string_view carbohydrate, std::string_view fibre,
                                  bool fromIncludesFibre) {
    const std::string_view mask = ing::ValueMask(ing::kCarbohydrate);
    const std::optional<long double> carb = ParseNumber(carbohydrate);
    const std::optional<long double> fib = ParseNumber(fibre);
    if (!carb || !fib) {
        return BlankMaskText(mask);
    }
    const long double value = fromIncludesFibre ? std::max(0.0L, *carb - std::max(0.0L, *fib))
                                                : std::min(kLargestValue, *carb + *fib);
    return FormatNumber(MaskDecimals(mask), MaskWidth(mask), value);
}

}  // namespace velmaro

#include "storage/FileDamage.h"

#include <algorithm>

#include "storage/Cp1252.h"
#include "storage/IngredientRecord.h"
#include "storage/PreparationRecord.h"
#include "storage/Scramble.h"

namespace velmaro {

namespace fs = std::filesystem;

namespace {

bool IsControl(unsigned char c) {
    return c < 32 && c != '\t';
}

int Separators(std::string_view line) {
    return static_cast<int>(std::count(line.begin(), line.end(), '|'));
}

// The cipher repeats its alphabets every 60 positions: these are all the indexes a line
// can have been enciphered under.
constexpr std::size_t kCipherPeriod = 60;

}  // namespace

void ReadCheck::Add(Damage damage) {
    if (damages.size() >= kMaxDamages) {
        ++omitted;
        return;
    }
    damages.push_back(std::move(damage));
}

void ReadCheck::SortByLine() {
    std::stable_sort(damages.begin(), damages.end(),
                     [](const Damage& a, const Damage& b) { return a.line < b.line; });
}

std::string DamageText(const Damage& damage, int expectedFields) {
    switch (damage.kind) {
        case DamageKind::Nul:
            return "contém um byte nulo";
        case DamageKind::Unreadable:
            return "contém caracteres de controle ilegíveis";
        case DamageKind::Undecipherable:
            return damage.other >= 0 ? "não se decifra na sua posição (foi trocada de lugar)"
                                     : "não se decifra";
        case DamageKind::DuplicateKey:
            return "o código \"" +
                   Cp1252ToUtf8(damage.key.substr(0, damage.key.find_last_not_of(' ') + 1)) +
                   "\" repete o da linha " + std::to_string(damage.other);
        case DamageKind::ShortRecord: {
            const std::string found =
                damage.other == 1 ? "1 campo" : std::to_string(damage.other) + " campos";
            return expectedFields > 0
                       ? "tem " + found + "; deveria ter " + std::to_string(expectedFields)
                       : "não é um registro (sem o separador \"|\")";
        }
    }
    return {};
}

std::string DamagedFileMessage(const ReadCheck& check) {
    if (check.Clean()) {
        return {};
    }
    const Damage& first = check.damages.front();
    return "O arquivo " + check.file.string() + " está danificado (linha " +
           std::to_string(first.line) + "): " + DamageText(first, RecordFieldsOf(check.file)) + ".";
}

DamagedFileError::DamagedFileError(const ReadCheck& check)
    : StorageError(DamagedFileMessage(check)), m_check(check) {}

void RefuseDamaged(const ReadCheck& check) {
    if (!check.Clean()) {
        throw DamagedFileError(check);
    }
}

bool IsIngredientFile(const fs::path& file) {
    return file.filename() == "ArqIng.dad" && file.parent_path().filename() == "Ingrediente";
}

int RecordFieldsOf(const fs::path& file) {
    const fs::path name = file.filename();
    const fs::path folder = file.parent_path().filename();
    if (IsIngredientFile(file)) {
        return ing::kFieldCount;
    }
    if (name == "ArqTab.dad" && folder == "Dados") {
        return 3;
    }
    if (name == "ArqGruIng.dad" || name == "ArqGruPre.dad") {
        return 1;
    }
    if (folder == "Ficha Tecnica") {
        return name == "ArqFicTec.dad" ? PreparationRecordField::kCount
                                       : IngredientLineField::kCount;
    }
    if (folder == "Medidas" && file.extension() == ".med") {
        return 2;
    }
    return 0;
}

std::vector<std::string> ReadCheckedLines(std::string_view bytes, ReadCheck& check) {
    std::vector<std::string> lines;
    std::string current;
    bool nul = false;
    auto endLine = [&] {
        const int number = static_cast<int>(lines.size()) + 1;
        if (nul) {
            check.Add({number, DamageKind::Nul, -1, {}});
        }
        lines.push_back(std::move(current));
        current.clear();
        nul = false;
    };
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0') {
            current.append(bytes.substr(start, i - start));
            start = i + 1;
            nul = true;
        } else if (c == '\r' || c == '\n') {
            current.append(bytes.substr(start, i - start));
            endLine();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    current.append(bytes.substr(start));
    if (!current.empty()) {
        endLine();
    } else if (nul) {
        // NUL bytes after the last line end: no line of their own, but damage all the same.
        check.Add({static_cast<int>(lines.size()) + 1, DamageKind::Nul, -1, {}});
    }
    return lines;
}

std::vector<std::string> ReadTextLines(std::string_view bytes, ReadCheck& check) {
    std::vector<std::string> lines = ReadCheckedLines(bytes, check);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (HasControl(lines[i])) {
            check.Add({static_cast<int>(i) + 1, DamageKind::Unreadable, -1, {}});
        }
    }
    check.SortByLine();
    return lines;
}

void CheckRecordLine(std::string_view line, int lineNumber, int fields, ReadCheck& check) {
    // An empty line holds nothing to lose: it is read and written back as it is.
    if (line.find_first_not_of(' ') == std::string_view::npos) {
        return;
    }
    if (HasControl(line)) {
        check.Add({lineNumber, DamageKind::Unreadable, -1, {}});
    }
    const int found = Separators(line);
    if (found < std::max(fields, 1)) {
        check.Add({lineNumber, DamageKind::ShortRecord, found, {}});
    }
}

bool HasControl(std::string_view line) {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return IsControl(static_cast<unsigned char>(c)); });
}

bool LooksDeciphered(std::string_view plain) {
    return !plain.empty() && plain.back() == '|' && !HasControl(plain);
}

int OtherCipherIndex(std::string_view enciphered, std::size_t index, int fields) {
    for (std::size_t k = 0; k < kCipherPeriod; ++k) {
        if (k == index % kCipherPeriod) {
            continue;
        }
        // A wrong index gives a control character within a few bytes: the line is
        // deciphered whole only when its start looks right.
        const std::string head = UnscrambleLine(k, enciphered.substr(0, 64));
        if (HasControl(head)) {
            continue;
        }
        const std::string plain = UnscrambleLine(k, enciphered);
        if (!plain.empty() && plain.back() == '|' && !HasControl(plain) &&
            Separators(plain) == fields) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

}  // namespace velmaro

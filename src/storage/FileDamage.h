#pragma once

// The reading rule of every data file: a reader tells whether the file read whole and
// clean. A file is damaged when it holds a NUL byte, a control character, a line of the
// ingredient file that does not decipher under its own index, a key twice (keys compared
// as the record store compares them), or a record with fewer fields than its format.
// What holds a damaged file in memory never writes it back (DamagedFileError).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/StorageError.h"

namespace velmaro {

enum class DamageKind {
    Nul,             // a NUL byte in the line (the byte is left out of what is read)
    Unreadable,      // a control character that no record holds
    Undecipherable,  // an ingredient line that does not decipher under its index
    DuplicateKey,    // the key of an earlier line again
    ShortRecord,     // fewer fields than the file's records have
};

struct Damage {
    int line = 0;  // 1-based line of the file
    DamageKind kind = DamageKind::Nul;
    // Duplicate key: the line that holds the key first. Undecipherable: the 0-based index
    // under which the line deciphers into a whole record, -1 for none. Short record: the
    // fields found.
    int other = -1;
    std::string key;  // duplicate key: the key (Windows-1252)
};

// What a reader found in one file.
struct ReadCheck {
    std::filesystem::path file;
    std::vector<Damage> damages;  // in line order; the first kMaxDamages found
    int omitted = 0;              // damage found beyond those
    static constexpr std::size_t kMaxDamages = 1000;
    bool Clean() const { return damages.empty(); }
    bool Full() const { return damages.size() >= kMaxDamages; }
    void Add(Damage damage);
    void SortByLine();
};

// "contém um byte nulo", "o código "X" repete o da linha 3", ... (UTF-8).
std::string DamageText(const Damage& damage, int expectedFields);
// "O arquivo <file> está danificado (linha N): <what>." for the first damage (UTF-8).
std::string DamagedFileMessage(const ReadCheck& check);

// Raised by every save of a line table or INI file that was read damaged.
class DamagedFileError : public StorageError {
  public:
    explicit DamagedFileError(const ReadCheck& check);
    const ReadCheck& Check() const { return m_check; }

  private:
    ReadCheck m_check;
};

// Throws DamagedFileError when the check found damage.
void RefuseDamaged(const ReadCheck& check);

// The number of fields of the records of a data file, known from its place in the data
// home (the table list 3, group files 1, the preparation list 56, a preparation's
// ingredient file 22, a household measures file 2, an ingredient file 30); 0 for a file of
// another kind, whose records need only one field.
int RecordFieldsOf(const std::filesystem::path& file);
// Whether the file is a table's ingredient file (scrambled).
bool IsIngredientFile(const std::filesystem::path& file);

// The lines of a text as the record store reads them (CR, LF or CR LF end a line; a final
// line without an end counts), with NUL bytes left out and noted in `check`.
std::vector<std::string> ReadCheckedLines(std::string_view bytes, ReadCheck& check);

// The lines of a free text (the method of preparation: no records, no keys), read as
// ReadCheckedLines reads them, with a control character other than the tab noted too.
std::vector<std::string> ReadTextLines(std::string_view bytes, ReadCheck& check);

// The check of one deciphered ingredient line (or a plain record): control characters,
// a missing final "|", too few fields. Adds nothing for a clean line or an empty one.
void CheckRecordLine(std::string_view line, int lineNumber, int fields, ReadCheck& check);

// Whether the line holds a control character (below 32, the tab aside) that no record holds.
bool HasControl(std::string_view line);

// Whether a deciphered line looks like a record: no control character, a final "|".
bool LooksDeciphered(std::string_view plain);

// The index (0..59) under which an enciphered line deciphers into a whole record of
// `fields` fields, other than `index`; -1 when none does.
int OtherCipherIndex(std::string_view enciphered, std::size_t index, int fields);

}  // namespace velmaro

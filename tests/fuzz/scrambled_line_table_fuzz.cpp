// An ingredient file of any bytes, unscrambled into a line table: the table holds together,
// and a table whose records hold no control characters (the only ones the screens write)
// is saved scrambled and loads back the same.

#include <algorithm>
#include <string>

#include "FuzzCheck.h"
#include "storage/FileDamage.h"
#include "storage/LineTable.h"

namespace {

// Counts the progress the loads report, to check its bounds.
class CheckedProgress : public velmaro::ProgressSink {
  public:
    void Begin(int maximum) override { m_maximum = maximum; }
    void SetPosition(int position) override { FUZZ_CHECK(position >= 0 && position <= m_maximum); }
    void End() override {}

  private:
    int m_maximum = 0;
};

bool HasControlCharacters(const std::string& line) {
    return std::any_of(line.begin(), line.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckedProgress progress;
    LineTable table;
    LoadScrambledLineTableFromBytes(bytes, table, progress);
    FUZZ_CHECK(table.keys.Count() <= table.lines.Count());
    for (int i = 1; i < table.lines.Count(); ++i) {
        FUZZ_CHECK(CompareLines(table.lines[i - 1], table.lines[i]) <= 0);
    }
    for (const std::string& line : table.lines.Items()) {
        FUZZ_CHECK(FindKey(table.keys, RecordKey(line)).found);
    }
    if (table.lines.Damaged()) {
        // A file that did not read whole is never written back.
        bool refused = false;
        try {
            (void)ScrambledLineTableBytes(table.lines);
        } catch (const DamagedFileError&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
    } else if (std::none_of(table.lines.Items().begin(), table.lines.Items().end(),
                            HasControlCharacters)) {
        LineTable again;
        LoadScrambledLineTableFromBytes(ScrambledLineTableBytes(table.lines), again, progress);
        FUZZ_CHECK(again.lines.Items() == table.lines.Items());
    }
    return 0;
}

// A data file of any bytes loaded as a line table: the table holds together (sorted
// lines, keys found where they stand), its fields can be read and written, records can
// be inserted, replaced and deleted, and what is saved loads back the same.

#include <string>

#include "FuzzCheck.h"
#include "storage/Collation.h"
#include "storage/FileDamage.h"
#include "storage/LineTable.h"

namespace velmaro::fuzz {

// The properties of a table however it was loaded.
void CheckTable(const LineTable& table) {
    FUZZ_CHECK(table.keys.Count() <= table.lines.Count());
    for (int i = 1; i < table.lines.Count(); ++i) {
        FUZZ_CHECK(CompareLines(table.lines[i - 1], table.lines[i]) <= 0);
    }
    for (int i = 0; i < table.keys.Count(); ++i) {
        const FindResult found = FindKey(table.keys, table.keys[i]);
        FUZZ_CHECK(found.found && found.index == i);
        if (i > 0) {
            FUZZ_CHECK(CompareText(table.keys[i - 1], table.keys[i]) < 0);
        }
    }
    for (const std::string& line : table.lines.Items()) {
        FUZZ_CHECK(FindKey(table.keys, RecordKey(line)).found);
    }
}

}  // namespace velmaro::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    fuzz::Input input(data, size);
    const int field = input.Byte() % 64;
    const std::string text(input.Until('\n'));
    const std::string_view bytes = input.Rest();

    LineTable table;
    LoadLineTableFromBytes(bytes, table);
    fuzz::CheckTable(table);
    if (table.lines.Damaged()) {
        // A table that did not read whole is never written back.
        bool refused = false;
        try {
            (void)LineTableBytes(table.lines);
        } catch (const DamagedFileError&) {
            refused = true;
        }
        FUZZ_CHECK(refused);
        return 0;
    }

    LineTable again;
    LoadLineTableFromBytes(LineTableBytes(table.lines), again);
    FUZZ_CHECK(again.lines.Items() == table.lines.Items());
    FUZZ_CHECK(again.keys.Items() == table.keys.Items());

    // A field set on a record, and the record stored as the screens store one.
    std::string record = table.lines.Empty() ? text : table.lines[0];
    const std::string plain = text.substr(0, text.find('|'));
    SetField(field, record, plain);
    if (field >= 1) {
        FUZZ_CHECK(GetField(field, record) == plain);
    }
    const FindResult found = FindKey(table.keys, RecordKey(record));
    if (found.found) {
        ReplaceRecord(table.lines, found.index, record);
    } else {
        InsertRecord(table, record);
    }
    fuzz::CheckTable(table);
    (void)GetRecordField(table.lines, -1, field);
    if (!table.lines.Empty()) {
        (void)GetRecordField(table.lines, table.lines.Count() - 1, field);
        const FindResult last = FindKey(table.keys, RecordKey(table.lines[0]));
        if (last.found && table.lines.Count() == table.keys.Count()) {
            DeleteRecord(table, last.index);
            fuzz::CheckTable(table);
        }
    }
    return 0;
}

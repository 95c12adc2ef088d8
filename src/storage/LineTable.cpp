#include "storage/LineTable.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <numeric>
#include <stdexcept>

#include "storage/Collation.h"
#include "storage/FileIo.h"
#include "storage/IngredientRecord.h"
#include "storage/Scramble.h"

namespace velmaro {

namespace {

std::string_view KeyView(std::string_view line) {
    const auto bar = line.find('|');
    return bar == std::string_view::npos ? std::string_view() : line.substr(0, bar);
}

void CheckIndex(int index, size_t count) {
    if (index < 0 || static_cast<size_t>(index) >= count) {
        throw std::out_of_range("line table index " + std::to_string(index) + " of " +
                                std::to_string(count));
    }
}

// Rounds halves to even, as the progress positions are computed.
int RoundHalfEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

}  // namespace

int CompareLines(std::string_view a, std::string_view b) {
    if (const int byKey = CompareText(KeyView(a), KeyView(b)); byKey != 0) {
        return byKey;
    }
    if (const int whole = CompareText(a, b); whole != 0) {
        return whole;
    }
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

const std::string& LineList::operator[](int index) const {
    CheckIndex(index, m_items.size());
    return m_items[static_cast<size_t>(index)];
}

void LineList::SetSorted(bool sorted) {
    if (sorted && !m_sorted) {
        Sort();
    }
    m_sorted = sorted;
}

void LineList::Sort() {
    LineTable scratch;
    scratch.lines.m_items = std::move(m_items);
    SortLineTable(scratch);
    m_items = std::move(scratch.lines.m_items);
}

int LineList::Add(std::string line) {
    if (!m_sorted) {
        m_items.push_back(std::move(line));
        return Count() - 1;
    }
    const auto it = std::upper_bound(
        m_items.begin(), m_items.end(), line,
        [](const std::string& a, const std::string& b) { return CompareLines(a, b) < 0; });
    const auto pos = it - m_items.begin();
    m_items.insert(it, std::move(line));
    return static_cast<int>(pos);
}

void LineList::Put(int index, std::string line) {
    CheckIndex(index, m_items.size());
    if (m_sorted) {
        throw std::logic_error("a sorted line list cannot be changed at an index");
    }
    m_items[static_cast<size_t>(index)] = std::move(line);
}

int LineList::Replace(int index, std::string line) {
    CheckIndex(index, m_items.size());
    if (!m_sorted) {
        m_items[static_cast<size_t>(index)] = std::move(line);
        return index;
    }
    m_items.erase(m_items.begin() + index);
    return Add(std::move(line));
}

void LineList::Delete(int index) {
    CheckIndex(index, m_items.size());
    m_items.erase(m_items.begin() + index);
}

void LineList::Assign(std::vector<std::string> lines) {
    m_items = std::move(lines);
    if (m_sorted) {
        Sort();
    }
}

const std::string& KeyList::operator[](int index) const {
    CheckIndex(index, m_items.size());
    return m_items[static_cast<size_t>(index)];
}

int KeyList::Add(std::string key) {
    const auto found = FindKey(*this, key);
    if (found.found) {
        return found.index;
    }
    m_items.insert(m_items.begin() + found.index, std::move(key));
    return found.index;
}

void KeyList::Delete(int index) {
    CheckIndex(index, m_items.size());
    m_items.erase(m_items.begin() + index);
}

void SortLineTable(LineTable& table) {
    ReadCheck ignored;
    SortLineTableFound(table, ignored);
}

void SortLineTableFound(LineTable& table, ReadCheck& check) {
    auto& lines = table.lines.m_items;
    if (lines.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("line table of " + std::to_string(lines.size()) + " lines");
    }
    const auto count = static_cast<uint32_t>(lines.size());
    // The collation key of each record key, made once for a run of lines with the same
    // key (a file of empty lines holds one): the sort then compares bytes.
    std::vector<std::string> sortKeys;
    std::vector<uint32_t> keyOf(count);
    for (uint32_t i = 0; i < count; ++i) {
        if (i == 0 || KeyView(lines[i]) != KeyView(lines[i - 1])) {
            sortKeys.push_back(CollationKey(KeyView(lines[i])));
        }
        keyOf[i] = static_cast<uint32_t>(sortKeys.size() - 1);
    }
    const auto sameKey = [&](uint32_t a, uint32_t b) {
        return keyOf[a] == keyOf[b] || sortKeys[keyOf[a]] == sortKeys[keyOf[b]];
    };
    std::vector<uint32_t> order(count);
    std::iota(order.begin(), order.end(), uint32_t{0});
    // A file the program saved is in order already: it is only checked.
    const auto byKey = [&](uint32_t a, uint32_t b) {
        return keyOf[a] != keyOf[b] && sortKeys[keyOf[a]] < sortKeys[keyOf[b]];
    };
    if (!std::is_sorted(order.begin(), order.end(), byKey)) {
        std::sort(order.begin(), order.end(), byKey);
    }
    // Lines of one key go by the collation of the whole line, then by their bytes (the
    // order of CompareLines). Their collation keys are made once per line, and only for
    // keys that several different lines share (a damaged file), so that such a file sorts
    // in n log n byte comparisons rather than as many collations.
    std::vector<std::string> lineKeys;
    for (uint32_t first = 0; first < count;) {
        uint32_t end = first + 1;
        bool alike = true;  // lines all the same need no order among them
        while (end < count && sameKey(order[end], order[first])) {
            alike = alike && lines[order[end]] == lines[order[first]];
            ++end;
        }
        if (!alike) {
            lineKeys.clear();
            for (uint32_t i = first; i < end; ++i) {
                const bool same = i > first && lines[order[i]] == lines[order[i - 1]];
                lineKeys.push_back(same ? lineKeys.back() : CollationKey(lines[order[i]]));
            }
            std::vector<uint32_t> run(end - first);
            std::iota(run.begin(), run.end(), uint32_t{0});
            const auto byLine = [&](uint32_t a, uint32_t b) {
                if (const int c = lineKeys[a].compare(lineKeys[b]); c != 0) {
                    return c < 0;
                }
                return lines[order[first + a]] < lines[order[first + b]];
            };
            if (!std::is_sorted(run.begin(), run.end(), byLine)) {
                std::sort(run.begin(), run.end(), byLine);
            }
            std::vector<uint32_t> sortedRun(run.size());
            for (size_t i = 0; i < run.size(); ++i) {
                sortedRun[i] = order[first + run[i]];
            }
            std::copy(sortedRun.begin(), sortedRun.end(), order.begin() + first);
        }
        first = end;
    }
    auto& keys = table.keys.m_items;
    keys.clear();
    for (uint32_t first = 0; first < count;) {
        keys.emplace_back(KeyView(lines[order[first]]));
        uint32_t end = first + 1;
        uint32_t earliest = order[first];
        while (end < count && sameKey(order[end], order[first])) {
            earliest = std::min(earliest, order[end]);
            ++end;
        }
        for (uint32_t i = first; i < end; ++i) {
            // Lines without a key (empty lines) are not records: no key of theirs repeats.
            if (order[i] != earliest && !KeyView(lines[order[i]]).empty()) {
                check.Add({static_cast<int>(order[i]) + 1, DamageKind::DuplicateKey,
                           static_cast<int>(earliest) + 1, std::string(KeyView(lines[order[i]]))});
            }
        }
        first = end;
    }
    // Lines already in order (a file the program saved) stay where they are.
    bool moved = false;
    for (uint32_t i = 0; i < count && !moved; ++i) {
        moved = order[i] != i;
    }
    if (moved) {
        std::vector<std::string> sorted;
        sorted.reserve(lines.size());
        for (uint32_t i : order) {
            sorted.push_back(std::move(lines[i]));
        }
        lines = std::move(sorted);
    }
    table.lines.m_sorted = true;
}

namespace {

// The last step of every load: the checked lines, in file order, sorted into the table,
// which keeps what the reading found.
void StoreCheckedLines(std::vector<std::string> lines, LineTable& table, ReadCheck check) {
    table.Clear();
    table.lines.SetSorted(false);
    table.lines.Assign(std::move(lines));
    SortLineTableFound(table, check);
    check.SortByLine();
    table.lines.SetCheck(std::move(check));
}

// The last steps of a load: the lines, in file order, checked and sorted into the table.
void FillLineTable(std::vector<std::string> lines, LineTable& table, ReadCheck check, int fields) {
    for (size_t i = 0; i < lines.size(); ++i) {
        CheckRecordLine(lines[i], static_cast<int>(i) + 1, fields, check);
    }
    StoreCheckedLines(std::move(lines), table, std::move(check));
}

// Each line deciphered under its index; a line that does not decipher there is noted with
// the index under which it would.
void UnscrambleLines(std::vector<std::string>& lines, ProgressSink& progress, int fields,
                     ReadCheck& check) {
    progress.Begin(100);
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i) {
        progress.SetPosition(
            RoundHalfEven(static_cast<double>(i) * 100.0 / static_cast<double>(count)));
        std::string plain = UnscrambleLine(i, lines[i]);
        // An empty line holds nothing to lose, as in a plain file.
        if (!lines[i].empty() && !LooksDeciphered(plain)) {
            const int other =
                check.Full() ? -1 : OtherCipherIndex(lines[i], i, std::max(fields, 1));
            check.Add({static_cast<int>(i) + 1, DamageKind::Undecipherable, other, {}});
        }
        lines[i] = std::move(plain);
    }
    progress.End();
}

// The deciphered lines are checked here for what is not a failed deciphering.
void FillScrambled(std::vector<std::string> lines, LineTable& table, ReadCheck check, int fields,
                   ProgressSink& progress) {
    UnscrambleLines(lines, progress, fields, check);
    std::vector<bool> undecipherable(lines.size(), false);
    for (const Damage& d : check.damages) {
        if (d.kind == DamageKind::Undecipherable) {
            undecipherable[static_cast<size_t>(d.line - 1)] = true;
        }
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!undecipherable[i]) {
            CheckRecordLine(lines[i], static_cast<int>(i) + 1, fields, check);
        }
    }
    StoreCheckedLines(std::move(lines), table, std::move(check));
}

}  // namespace

void LoadLineTableFromBytes(std::string_view bytes, LineTable& table, int fields) {
    ReadCheck check;
    std::vector<std::string> lines = ReadCheckedLines(bytes, check);
    FillLineTable(std::move(lines), table, std::move(check), fields);
}

void LoadLineTable(const std::filesystem::path& path, LineTable& table) {
    // The bytes of the file go before the lines are sorted: a large file is not held twice
    // while its keys are collated.
    ReadCheck check;
    check.file = path;
    std::vector<std::string> lines = ReadCheckedLines(ReadFileBytes(path), check);
    FillLineTable(std::move(lines), table, std::move(check), RecordFieldsOf(path));
}

void LoadScrambledLineTableFromBytes(std::string_view bytes, LineTable& table,
                                     ProgressSink& progress, int fields) {
    ReadCheck check;
    std::vector<std::string> lines = ReadCheckedLines(bytes, check);
    FillScrambled(std::move(lines), table, std::move(check), fields, progress);
}

void LoadScrambledLineTable(const std::filesystem::path& path, LineTable& table,
                            ProgressSink& progress) {
    ReadCheck check;
    check.file = path;
    std::vector<std::string> lines = ReadCheckedLines(ReadFileBytes(path), check);
    FillScrambled(std::move(lines), table, std::move(check), ing::kFieldCount, progress);
}

std::vector<std::string> CleanLinesOf(const std::filesystem::path& path, std::string_view bytes) {
    ReadCheck check;
    check.file = path;
    std::vector<std::string> lines = ReadCheckedLines(bytes, check);
    LineTable table;
    FillLineTable(lines, table, std::move(check), RecordFieldsOf(path));
    RefuseDamaged(table.lines.Check());
    return lines;
}

std::vector<std::string> ReadCleanLines(const std::filesystem::path& path) {
    return CleanLinesOf(path, ReadFileBytes(path));
}

std::string LineTableBytes(const LineList& list) {
    RefuseDamaged(list.Check());
    return JoinLinesCrLf(list.Items());
}

std::string ScrambledLineTableBytes(const LineList& list) {
    RefuseDamaged(list.Check());
    std::vector<std::string> scrambled;
    scrambled.reserve(static_cast<size_t>(list.Count()));
    for (size_t i = 0; i < list.Items().size(); ++i) {
        scrambled.push_back(ScrambleLine(i, list.Items()[i]));
    }
    return JoinLinesCrLf(scrambled);
}

void SaveLineTable(const std::filesystem::path& path, const LineList& list) {
    WriteFileAtomic(path, LineTableBytes(list));  // refuses a damaged list
}

void SaveScrambledLineTable(const std::filesystem::path& path, LineList& list,
                            ProgressSink& progress) {
    // The lines are written in their sorted order; each line's place in the file is its
    // cipher index. The list in memory stays plain.
    RefuseDamaged(list.Check());
    const size_t count = list.Items().size();
    progress.Begin(100);
    std::string bytes;
    for (size_t i = 0; i < count; ++i) {
        progress.SetPosition(
            RoundHalfEven(static_cast<double>(i) * 50.0 / static_cast<double>(count)));
        bytes += ScrambleLine(i, list.Items()[i]);
        bytes += "\r\n";
    }
    try {
        WriteFileAtomic(path, bytes);
    } catch (...) {
        progress.End();
        throw;
    }
    for (size_t i = 0; i < count; ++i) {
        progress.SetPosition(
            RoundHalfEven(static_cast<double>(i) * 50.0 / static_cast<double>(count)) + 50);
    }
    progress.End();
    list.SetSorted(true);
}

std::string RecordKey(std::string_view line) {
    return std::string(KeyView(line));
}

std::string GetField(int n, std::string_view line) {
    std::string_view rest = line;
    std::string_view result;
    for (int i = 0; i < n; ++i) {
        const auto bar = rest.find('|');
        if (bar == std::string_view::npos) {
            result = rest;
        } else {
            result = rest.substr(0, bar);
            rest = rest.substr(bar + 1);
        }
    }
    return std::string(result);
}

void SetField(int n, std::string& line, std::string_view text) {
    if (n < 1) {
        return;
    }
    const auto bars = static_cast<int>(std::count(line.begin(), line.end(), '|'));
    if (bars < n) {
        line.append(static_cast<size_t>(n - bars), '|');
    }
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        start = line.find('|', start) + 1;
    }
    const size_t end = line.find('|', start);
    line.replace(start, end - start, text);
}

std::string GetRecordField(const LineList& list, int index, int n) {
    if (index < 0) {
        return kNoSuchRecordText;
    }
    return GetField(n, list[index]);
}

void SetRecordField(LineList& list, int index, int n, std::string_view text) {
    if (index < 0) {
        return;
    }
    std::string line = list[index];
    SetField(n, line, text);
    list.Replace(index, std::move(line));
}

FindResult FindKey(const KeyList& keys, std::string_view key) {
    const auto& items = keys.Items();
    int low = 0;
    int high = static_cast<int>(items.size()) - 1;
    bool found = false;
    while (high >= low) {
        const int mid = (low + high) / 2;
        const int c = CompareText(items[static_cast<size_t>(mid)], key);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0) {
                found = true;
                low = mid;
            }
        }
    }
    return {found, low};
}

void InsertRecord(LineTable& table, std::string line) {
    std::string key = RecordKey(line);
    table.lines.Add(std::move(line));
    table.keys.Add(std::move(key));
}

void ReplaceRecord(LineList& list, int index, std::string line) {
    list.SetSorted(true);
    list.Replace(index, std::move(line));
}

void DeleteRecord(LineTable& table, int index) {
    table.lines.Delete(index);
    table.keys.Delete(index);
}

}  // namespace velmaro

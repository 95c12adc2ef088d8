#include "storage/LineTable.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numeric>
#include <stdexcept>

#include "storage/Collation.h"
#include "storage/FileIo.h"
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
    auto& lines = table.lines.m_items;
    // One collation key per record key, computed once: the sort then compares bytes.
    std::vector<std::string> sortKeys;
    sortKeys.reserve(lines.size());
    for (const auto& line : lines) {
        sortKeys.push_back(CollationKey(KeyView(line)));
    }
    std::vector<size_t> order(lines.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (const int c = sortKeys[a].compare(sortKeys[b]); c != 0) {
            return c < 0;
        }
        return CompareLines(lines[a], lines[b]) < 0;
    });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    auto& keys = table.keys.m_items;
    keys.clear();
    const std::string* lastSortKey = nullptr;
    for (size_t i : order) {
        if (lastSortKey == nullptr || *lastSortKey != sortKeys[i]) {
            keys.emplace_back(KeyView(lines[i]));
            lastSortKey = &sortKeys[i];
        }
        sorted.push_back(std::move(lines[i]));
    }
    lines = std::move(sorted);
    table.lines.m_sorted = true;
}

namespace {

// The last steps of a load: the lines, in file order, sorted into the table.
void FillLineTable(std::vector<std::string> lines, LineTable& table) {
    table.Clear();
    table.lines.SetSorted(false);
    table.lines.Assign(std::move(lines));
    SortLineTable(table);
}

void UnscrambleLines(std::vector<std::string>& lines, ProgressSink& progress) {
    progress.Begin(100);
    const size_t count = lines.size();
    for (size_t i = 0; i < count; ++i) {
        progress.SetPosition(
            RoundHalfEven(static_cast<double>(i) * 100.0 / static_cast<double>(count)));
        lines[i] = UnscrambleLine(i, lines[i]);
    }
    progress.End();
}

}  // namespace

void LoadLineTableFromBytes(std::string_view bytes, LineTable& table) {
    FillLineTable(SplitLines(bytes), table);
}

void LoadLineTable(const std::filesystem::path& path, LineTable& table) {
    // The bytes of the file go before the lines are sorted: a large file is not held twice
    // while its keys are collated.
    std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    FillLineTable(std::move(lines), table);
}

void LoadScrambledLineTableFromBytes(std::string_view bytes, LineTable& table,
                                     ProgressSink& progress) {
    std::vector<std::string> lines = SplitLines(bytes);
    UnscrambleLines(lines, progress);
    FillLineTable(std::move(lines), table);
}

void LoadScrambledLineTable(const std::filesystem::path& path, LineTable& table,
                            ProgressSink& progress) {
    std::vector<std::string> lines = SplitLines(ReadFileBytes(path));
    UnscrambleLines(lines, progress);
    FillLineTable(std::move(lines), table);
}

std::string LineTableBytes(const LineList& list) {
    return JoinLinesCrLf(list.Items());
}

std::string ScrambledLineTableBytes(const LineList& list) {
    std::vector<std::string> scrambled;
    scrambled.reserve(static_cast<size_t>(list.Count()));
    for (size_t i = 0; i < list.Items().size(); ++i) {
        scrambled.push_back(ScrambleLine(i, list.Items()[i]));
    }
    return JoinLinesCrLf(scrambled);
}

void SaveLineTable(const std::filesystem::path& path, const LineList& list) {
    WriteFileAtomic(path, LineTableBytes(list));
}

void SaveScrambledLineTable(const std::filesystem::path& path, LineList& list,
                            ProgressSink& progress) {
    // The lines are written in their sorted order; each line's place in the file is its
    // cipher index. The list in memory stays plain.
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

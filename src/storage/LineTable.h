#pragma once

// The record store: a "|"-field data file held in memory as a sorted line list and a
// sorted key list (key = the text before the first "|"); index i of the key list names
// line i of the line list. Field numbers are 1-based, list indexes 0-based.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/FileDamage.h"
#include "storage/Progress.h"

namespace velmaro {

inline constexpr const char* kNoSuchRecordText = "Erro! Codigo n\xE3o existe!";

// Lines ordered by their keys with the collation of CompareText, then by the rest.
int CompareLines(std::string_view a, std::string_view b);

class LineList {
  public:
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const std::string& operator[](int index) const;
    const std::vector<std::string>& Items() const { return m_items; }

    bool Sorted() const { return m_sorted; }
    // Switching sorting on sorts the whole list.
    void SetSorted(bool sorted);
    // Sorted: the line goes to its place; otherwise it is appended. Gives its index.
    int Add(std::string line);
    // Stores a line at an index; only while sorting is off.
    void Put(int index, std::string line);
    // Replaces line `index` and moves it to its sorted place when sorting is on (the
    // same result as storing with sorting off and sorting again).
    int Replace(int index, std::string line);
    void Delete(int index);
    // Emptying the list also forgets the damage of the file it was read from.
    void Clear() {
        m_items.clear();
        m_check = ReadCheck();
    }
    void Assign(std::vector<std::string> lines);

    // What the load found in the file; a damaged list is never written (the saves and the
    // byte forms below throw DamagedFileError).
    const ReadCheck& Check() const { return m_check; }
    bool Damaged() const { return !m_check.Clean(); }
    void SetCheck(ReadCheck check) { m_check = std::move(check); }

  private:
    friend void SortLineTable(class LineTable& table);
    friend void SortLineTableFound(class LineTable& table, ReadCheck& check);
    void Sort();
    std::vector<std::string> m_items;
    bool m_sorted = true;
    ReadCheck m_check;
};

class KeyList {
  public:
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const std::string& operator[](int index) const;
    const std::vector<std::string>& Items() const { return m_items; }
    // A key equal (by collation) to one already present is not added again; gives the
    // index of the key in the list.
    int Add(std::string key);
    void Delete(int index);
    void Clear() { m_items.clear(); }

  private:
    friend void SortLineTable(class LineTable& table);
    friend void SortLineTableFound(class LineTable& table, ReadCheck& check);
    std::vector<std::string> m_items;
};

class LineTable {
  public:
    LineList lines;
    KeyList keys;
    void Clear() {
        lines.Clear();
        keys.Clear();
    }
};

struct FindResult {
    bool found = false;
    int index = 0;  // the record's index when found, else the insertion point
};

// The loads follow the reading rule of FileDamage.h: the table holds every line of the
// file (NUL bytes left out) and its line list the check of the file; the records of a file
// are checked for the number of fields its place in the data home gives (RecordFieldsOf).
void LoadLineTable(const std::filesystem::path& path, LineTable& table);
void LoadScrambledLineTable(const std::filesystem::path& path, LineTable& table,
                            ProgressSink& progress);
void SaveLineTable(const std::filesystem::path& path, const LineList& list);
void SaveScrambledLineTable(const std::filesystem::path& path, LineList& list,
                            ProgressSink& progress);
// In-memory forms of the same, for formats and tests.
// `fields`: the fields of the records (0: one at least).
void LoadLineTableFromBytes(std::string_view bytes, LineTable& table, int fields = 0);
void LoadScrambledLineTableFromBytes(std::string_view bytes, LineTable& table,
                                     ProgressSink& progress, int fields = 0);
std::string LineTableBytes(const LineList& list);
// The lines of a plain data file in file order, for a caller that rewrites it line by
// line; DamagedFileError when the file did not read whole and clean (the same rule as
// LoadLineTable). `bytes`: the file's content, already read.
std::vector<std::string> ReadCleanLines(const std::filesystem::path& path);
std::vector<std::string> CleanLinesOf(const std::filesystem::path& path, std::string_view bytes);
std::string ScrambledLineTableBytes(const LineList& list);

std::string RecordKey(std::string_view line);
std::string GetField(int n, std::string_view line);
void SetField(int n, std::string& line, std::string_view text);
std::string GetRecordField(const LineList& list, int index, int n);
void SetRecordField(LineList& list, int index, int n, std::string_view text);
FindResult FindKey(const KeyList& keys, std::string_view key);
void InsertRecord(LineTable& table, std::string line);
void ReplaceRecord(LineList& list, int index, std::string line);
void DeleteRecord(LineTable& table, int index);

// Sorts the line list and rebuilds the key list from it (the last steps of a load).
void SortLineTable(LineTable& table);
// The same, adding to `check` every line whose key an earlier line of the file (by the
// order of the lines before sorting) already holds.
void SortLineTableFound(LineTable& table, ReadCheck& check);

}  // namespace velmaro

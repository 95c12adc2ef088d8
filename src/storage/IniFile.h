#pragma once

// Sectioned key=value files (the configuration file and the label data files):
// Windows-1252 on disk, CR LF lines, section and key names compared without regard to
// case. Every write rewrites the whole file at once through WriteFileAtomic.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "storage/FileDamage.h"

namespace velmaro {

class IniFile {
  public:
    // Reads the file; a missing file is an empty one. A file holding a NUL byte, a control
    // character or a key twice in one section is damaged (Check()): it is read all the same
    // (NUL bytes left out, the first of two equal keys counting) but never saved.
    explicit IniFile(std::filesystem::path path);
    static IniFile FromBytes(std::string_view bytes);  // in memory; writes are not saved

    // Missing keys give the default; leading and trailing spaces of a value are lost.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // A value that is not an integer gives the default.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // True when the integer value is not 0.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Read with "," (or ".") as decimal sign; a value that does not parse, or is beyond
    // the range of a double, gives the default.
    double ReadFloat(std::string_view section, std::string_view key, double def) const;
    bool SectionExists(std::string_view section) const;
    bool ValueExists(std::string_view section, std::string_view key) const;

    // Creates the section and key as needed and saves the file.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    void WriteFloat(std::string_view section, std::string_view key, double value);

    // Groups several writes into one save: while held, writes change the file in memory
    // only; Commit() then writes it whole, once (all the keys or, on a failure, none).
    void Hold() { m_held = true; }
    void Commit();

    std::string Bytes() const;
    const std::filesystem::path& Path() const { return m_path; }
    const ReadCheck& Check() const { return m_check; }

  private:
    IniFile() = default;
    const std::string* Find(std::string_view section, std::string_view key) const;
    void Save() const;
    void ReadLines(std::string_view bytes);

    std::filesystem::path m_path;
    std::vector<std::string> m_lines;
    ReadCheck m_check;
    bool m_held = false;
};

// Padded names (table, group and column names) keep their trailing spaces by a "|"
// appended on writing; the reader drops the last character of what it reads.
std::string ReadPaddedName(const IniFile& ini, std::string_view section, std::string_view key);
void WritePaddedName(IniFile& ini, std::string_view section, std::string_view key,
                     std::string_view name);

}  // namespace velmaro

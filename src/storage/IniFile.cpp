#include "storage/IniFile.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "storage/FileIo.h"
#include "storage/Paths.h"
#include "storage/Text.h"

namespace velmaro {

namespace {

unsigned char FoldCase(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return static_cast<unsigned char>(c + 0x20);
    }
    return c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

// The name of a "[section]" line, or nothing.
bool SectionName(std::string_view line, std::string_view& name) {
    const auto t = Trim(line);
    if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
        name = Trim(t.substr(1, t.size() - 2));
        return true;
    }
    return false;
}

bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
        return false;
    }
    key = Trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : m_path(std::move(path)) {
    m_check.file = m_path;
    std::error_code ec;
    if (std::filesystem::exists(m_path, ec)) {
        ReadLines(ReadFileBytes(m_path));
    }
}

IniFile IniFile::FromBytes(std::string_view bytes) {
    IniFile ini;
    ini.ReadLines(bytes);
    return ini;
}

void IniFile::ReadLines(std::string_view bytes) {
    m_lines = ReadCheckedLines(bytes, m_check);
    // A key twice in a section (or in two sections of one name, which read as one): the
    // second is never read, and a save would keep a value nobody sees.
    struct Seen {
        std::string section;
        std::string key;
        int line;
    };
    std::vector<Seen> seen;
    std::string section;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        const int number = static_cast<int>(i) + 1;
        std::string_view name;
        std::string_view k;
        std::string_view v;
        if (SectionName(m_lines[i], name)) {
            section = std::string(name);
        } else if (KeyValue(m_lines[i], k, v)) {
            const auto earlier = std::find_if(seen.begin(), seen.end(), [&](const Seen& s) {
                return SameName(s.section, section) && SameName(s.key, k);
            });
            if (earlier != seen.end()) {
                m_check.Add({number, DamageKind::DuplicateKey, earlier->line, std::string(k)});
            } else {
                seen.push_back({section, std::string(k), number});
            }
        }
        if (HasControl(m_lines[i])) {
            m_check.Add({number, DamageKind::Unreadable, -1, {}});
        }
    }
    m_check.SortByLine();
}

const std::string* IniFile::Find(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const auto& line : m_lines) {
        std::string_view name;
        if (SectionName(line, name)) {
            inSection = SameName(name, section);
            continue;
        }
        std::string_view k;
        std::string_view v;
        if (inSection && KeyValue(line, k, v) && SameName(k, key)) {
            return &line;
        }
    }
    return nullptr;
}

bool IniFile::SectionExists(std::string_view section) const {
    for (const auto& line : m_lines) {
        std::string_view name;
        if (SectionName(line, name) && SameName(name, section)) {
            return true;
        }
    }
    return false;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Find(section, key) != nullptr;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view def) const {
    const std::string* line = Find(section, key);
    if (line == nullptr) {
        return std::string(def);
    }
    std::string_view k;
    std::string_view v;
    KeyValue(*line, k, v);
    return std::string(Trim(v));
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::string text = ReadString(section, key, "");
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+') {
        ++begin;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return def;
    }
    return value;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def) const {
    const auto parsed = ParseNumber(ReadString(section, key, ""));
    // A number beyond what a double holds (1e400 in a damaged file) does not parse either.
    if (!parsed || std::fabs(*parsed) > std::numeric_limits<double>::max()) {
        return def;
    }
    return static_cast<double>(*parsed);
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string entry(key);
    entry.append("=").append(value);
    bool inSection = false;
    size_t sectionEnd = 0;  // one past the last non-empty line of the section
    bool sectionFound = false;
    for (size_t i = 0; i < m_lines.size(); ++i) {
        std::string_view name;
        if (SectionName(m_lines[i], name)) {
            if (inSection) {
                break;
            }
            inSection = SameName(name, section);
            if (inSection) {
                sectionFound = true;
                sectionEnd = i + 1;
            }
            continue;
        }
        if (!inSection) {
            continue;
        }
        std::string_view k;
        std::string_view v;
        if (KeyValue(m_lines[i], k, v) && SameName(k, key)) {
            std::string replaced(k);  // the key keeps its spelling
            replaced.append("=").append(value);
            m_lines[i] = std::move(replaced);
            Save();
            return;
        }
        if (!Trim(m_lines[i]).empty()) {
            sectionEnd = i + 1;
        }
    }
    if (sectionFound) {
        m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
    } else {
        if (!m_lines.empty() && !Trim(m_lines.back()).empty()) {
            m_lines.emplace_back();
        }
        std::string header = "[";
        header.append(section).append("]");
        m_lines.push_back(std::move(header));
        m_lines.push_back(entry);
    }
    Save();
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value) {
    WriteString(section, key, FloatToText(value));
}

std::string IniFile::Bytes() const {
    return JoinLinesCrLf(m_lines);
}

void IniFile::Commit() {
    m_held = false;
    Save();
}

void IniFile::Save() const {
    if (!m_path.empty() && !m_held) {
        RefuseDamaged(m_check);
        EnsureFolder(m_path.parent_path());
        WriteFileAtomic(m_path, Bytes());
    }
}

std::string ReadPaddedName(const IniFile& ini, std::string_view section, std::string_view key) {
    std::string value = ini.ReadString(section, key, "");
    if (!value.empty()) {
        value.pop_back();
    }
    return value;
}

void WritePaddedName(IniFile& ini, std::string_view section, std::string_view key,
                     std::string_view name) {
    ini.WriteString(section, key, std::string(name) + "|");
}

}  // namespace velmaro

#include "ingredients/CsvReader.h"

#include <iterator>

#include "ingredients/CsvFormulaCells.h"
#include "storage/Cp1252.h"

namespace velmaro {

namespace {
constexpr int kEnd = -1;
}

CsvReader::CsvReader(std::istream& in, char separator)
    : m_text(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()),
      m_separator(separator) {
    if (m_text.starts_with("\xEF\xBB\xBF")) {
        m_pos = 3;
    }
}

int CsvReader::Get() {
    return m_pos < m_text.size() ? static_cast<unsigned char>(m_text[m_pos++]) : kEnd;
}

int CsvReader::Peek() const {
    return m_pos < m_text.size() ? static_cast<unsigned char>(m_text[m_pos]) : kEnd;
}

std::optional<CsvRecord> CsvReader::Next() {
    // Empty lines between records are skipped.
    for (;;) {
        const int c = Peek();
        if (c == kEnd) {
            return std::nullopt;
        }
        if (c == '\n') {
            Get();
            ++m_line;
        } else if (c == '\r') {
            Get();
            if (Peek() == '\n') {
                Get();
            }
            ++m_line;
        } else {
            break;
        }
    }

    CsvRecord record;
    record.line = m_line;
    std::string field;
    for (;;) {
        int c = Get();
        if (c == '"' && field.empty()) {
            // A quoted field: up to the closing quote; "" stands for one quote.
            for (;;) {
                c = Get();
                if (c == kEnd) {
                    throw CsvError(record.line, W("aspas sem fechamento."));
                }
                if (c == '"') {
                    if (Peek() == '"') {
                        Get();
                        field += '"';
                        continue;
                    }
                    break;
                }
                if (c == '\n' || (c == '\r' && Peek() != '\n')) {
                    ++m_line;
                }
                field += static_cast<char>(c);
            }
            c = Get();
            if (c != static_cast<unsigned char>(m_separator) && c != '\n' && c != '\r' &&
                c != kEnd) {
                throw CsvError(m_line, W("texto depois das aspas que fecham um campo."));
            }
        }
        if (c == static_cast<unsigned char>(m_separator)) {
            record.fields.push_back(UnguardFormulaCell(field));
            field.clear();
            continue;
        }
        if (c == '\n' || c == '\r' || c == kEnd) {
            if (c == '\r' && Peek() == '\n') {
                Get();
            }
            if (c != kEnd) {
                ++m_line;
            }
            record.fields.push_back(UnguardFormulaCell(field));
            return record;
        }
        field += static_cast<char>(c);
    }
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        size_t extra = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (i + extra >= text.size()) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0u) != 0x80u) {
                return false;
            }
            cp = (cp << 6) | (d & 0x3Fu);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

char DetectCsvSeparator(std::string_view text) {
    bool quoted = false;
    bool seen = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            if (seen) {
                break;
            }
        } else if (!quoted && c == ';') {
            return ';';
        } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            seen = true;
        }
    }
    return ',';
}

std::string SpreadsheetTextAsUtf8(std::string bytes) {
    if (IsValidUtf8(bytes)) {
        return bytes;
    }
    return Cp1252ToUtf8(bytes);
}

}  // namespace velmaro

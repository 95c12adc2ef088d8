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

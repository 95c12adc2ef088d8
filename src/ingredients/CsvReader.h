#pragma once

// A reader of comma-separated text (RFC 4180): fields separated by one character, a field
// in double quotes may hold the separator, line breaks and doubled quotes. Lines end with
// LF or CR LF. A UTF-8 byte-order mark at the start is skipped. Bytes are passed through
// as they are; the caller decides their encoding. A field written with an apostrophe in
// front so that spreadsheets show it as text loses that apostrophe (CsvFormulaCells.h).

#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

struct CsvRecord {
    int line = 0;  // 1-based line of the text where the record starts
    std::vector<std::string> fields;
};

class CsvReader {
  public:
    // Reads the whole text at once.
    explicit CsvReader(std::istream& in, char separator = ',');

    // The next record, or nothing at the end of the text. Lines that are empty are
    // skipped. Throws CsvError for a quoted field that is never closed or text after a
    // closing quote.
    std::optional<CsvRecord> Next();

  private:
    int Get();
    int Peek() const;

    std::string m_text;
    size_t m_pos = 0;
    char m_separator;
    int m_line = 1;
};

// A text that is not well-formed CSV; the message is Portuguese, in Windows-1252.
class CsvError : public std::runtime_error {
  public:
    CsvError(int atLine, const std::string& message) : std::runtime_error(message), line(atLine) {}
    int line;
};

// The text of a spreadsheet file as UTF-8: as it stands when it is valid UTF-8, else read
// as Windows-1252 (every byte is a character there).
std::string SpreadsheetTextAsUtf8(std::string bytes);

// The separator of a spreadsheet's text: ";" when the first line that holds anything has
// one outside quotes, else ",".
char DetectCsvSeparator(std::string_view text);

}  // namespace velmaro

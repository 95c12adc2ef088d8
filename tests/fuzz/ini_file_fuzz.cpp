// A configuration or label data file of any bytes: every kind of value reads without
// harm, and a value written (as the program writes them: section and key names of its
// own, a value on one line) reads back as written, also from the bytes saved.

#include <cmath>
#include <string>

#include "FuzzCheck.h"
#include "storage/IniFile.h"

namespace {

// A section or key name as the program's are: letters, digits and inner spaces.
std::string Name(std::string_view raw, const char* fallback) {
    std::string name;
    for (char c : raw) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
            (c == ' ' && !name.empty())) {
            name += c;
        }
    }
    while (!name.empty() && name.back() == ' ') {
        name.pop_back();
    }
    return name.empty() ? fallback : name;
}

// A value as a field gives it: one line, without the spaces at its ends.
std::string Value(std::string_view raw) {
    std::string value;
    for (char c : raw) {
        if (c != '\r' && c != '\n' && c != '\0') {
            value += c;
        }
    }
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return value.substr(first, value.find_last_not_of(" \t") - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    fuzz::Input input(data, size);
    const std::string section = Name(input.Until('\n'), "CfgEti");
    const std::string key = Name(input.Until('\n'), "LarEti");
    const std::string value = Value(input.Until('\n'));
    IniFile ini = IniFile::FromBytes(input.Rest());

    (void)ini.ReadString(section, key, "x");
    (void)ini.ReadInteger(section, key, 7);
    (void)ini.ReadBool(section, key, true);
    const double number = ini.ReadFloat(section, key, 1.5);
    FUZZ_CHECK(std::isfinite(number));
    (void)ini.SectionExists(section);
    (void)ReadPaddedName(ini, section, key);

    ini.WriteString(section, key, value);
    FUZZ_CHECK(ini.ReadString(section, key, "<nada>") == value);
    FUZZ_CHECK(ini.ValueExists(section, key) && ini.SectionExists(section));
    const IniFile saved = IniFile::FromBytes(ini.Bytes());
    FUZZ_CHECK(saved.ReadString(section, key, "<nada>") == value);

    ini.Hold();
    ini.WriteInteger(section, "Numero-Fuzz", static_cast<int>(size));
    WritePaddedName(ini, "Nomes-Fuzz", key, value);
    ini.WriteFloat(section, "Real-Fuzz", number);
    ini.Commit();
    const IniFile again = IniFile::FromBytes(ini.Bytes());
    FUZZ_CHECK(again.ReadInteger(section, "Numero-Fuzz", -1) == static_cast<int>(size));
    FUZZ_CHECK(ReadPaddedName(again, "Nomes-Fuzz", key) == value);
    FUZZ_CHECK(again.ReadString(section, key, "<nada>") == value);
    return 0;
}

// Numbers as the texts of their fields: any text parses or counts as 0 without harm; a
// number written with its decimals reads back as that number rounded; the numeric field
// rule (a comma typed, the field left) keeps a field's width.

#include <cmath>
#include <string>

#include "FuzzCheck.h"
#include "storage/Text.h"

namespace {

// The masks of the numeric fields of the screens.
constexpr std::string_view kMasks[] = {
    "9999,99;1;_", "99999,99;1;_", "999,99;1;_", "999999,99;1;_", "999999,9;1;_",
    "999999,9",    "999,99",       "999999,99",  "99999;1;_",     "999;1;_"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    fuzz::Input input(data, size);
    const int decimals = input.Byte() % 10;
    const int width = input.Byte() % 24;
    const std::string_view mask = kMasks[input.Byte() % std::size(kMasks)];
    const char key = static_cast<char>(input.Byte());
    const std::string text(input.Rest());

    const long double value = TextToNumber(text);
    FUZZ_CHECK(std::isfinite(value));
    const auto parsed = ParseNumber(text);
    FUZZ_CHECK(parsed ? *parsed == value : value == 0);

    const std::string written = FormatNumber(decimals, width, value);
    FUZZ_CHECK(width == 0 || written.size() == static_cast<size_t>(width));
    if (std::fabs(value) < 1e12L) {
        // Written in full (15 significant digits, then the decimals rounded), read back,
        // and written again the same.
        const std::string full = FormatNumber(decimals, 40, value);
        const long double back = TextToNumber(full);
        FUZZ_CHECK(std::fabs(back - value) <=
                   0.5L * std::pow(10.0L, -decimals) + std::fabs(value) * 1e-14L + 1e-18L);
        FUZZ_CHECK(FormatNumber(decimals, 40, back) == full);
    }
    (void)FloatToText(value);

    // A field of the mask's width, as typed so far.
    std::string field = text.substr(0, static_cast<size_t>(MaskWidth(mask)));
    field.resize(static_cast<size_t>(MaskWidth(mask)), ' ');
    const char got = NumericFieldKeyPress(field, key);
    FUZZ_CHECK(field.size() == static_cast<size_t>(MaskWidth(mask)));
    FUZZ_CHECK(got == (key == '.' ? ',' : key));
    const std::string left = NumericFieldExit(field, mask);
    FUZZ_CHECK(left.size() == field.size());
    FUZZ_CHECK(WholeNumberFieldExit(field).size() == field.size());
    (void)AlignIntegerText(text);
    (void)ZeroFillDecimals(text);
    (void)MaskDecimals(text);
    (void)BlankMaskText(text);
    return 0;
}

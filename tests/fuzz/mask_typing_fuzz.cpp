// Typing into a masked entry field, as the keyboard and the screens do it: characters,
// Backspace, Delete, the caret and the selection moved, the whole text replaced (by a
// screen showing a record, which may come from a damaged file, or by pasting). The
// field never breaks: the caret stays in the field, a masked field keeps its width once
// typed into, and what it shows reads back as its text.

#include <string>

#include "FuzzCheck.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Interaction.h"
#include "platform/MaskLogic.h"

namespace {

// The masks of the screens' fields, and none (a free text field).
constexpr std::string_view kMasks[] = {
    "9999,99;1;_",
    "99999,99;1;_",
    "999999,9;1;_",
    "99/99/99;1;_",
    "99999;0;_",
    "ccccc;0;_",
    "999;1;_",
    "999,99",
    "99/99/99",
    "",
    "cccccccccccccccccccccccccccccccccccccccccccccccccccccccccccc;1;_",
    ">cccccccccc;1;_",
    "(99) 9999-9999;0;_"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace velmaro;
    fuzz::Input input(data, size);
    const uint8_t choice = input.Byte();
    // Masks of the screens, or one made of the input (the mask language at its edges).
    const std::string mask = choice < 200 ? std::string(kMasks[choice % std::size(kMasks)])
                                          : std::string(input.Until('\n').substr(0, 80));
    Form form("TFuzForm");
    MaskEdit edit(form, "FuzMaskEdit", mask);
    form.SetFocus(&edit);
    const std::string empty = mask.empty() ? std::string() : MaskEmptyText(mask);

    while (!input.Empty()) {
        const uint8_t op = input.Byte();
        const uint8_t arg = input.Byte();
        const int width = edit.DisplayWidth();
        switch (op % 8) {
            case 0:
            case 1:
            case 2:
                TypeChar(form, edit, static_cast<char>(arg));
                break;
            case 3:
                TypeChar(form, edit, '\b');
                break;
            case 4:
                PressDelete(edit);
                break;
            case 5:  // a click or an arrow key: the caret anywhere in the field
                edit.caret = arg % (width + 1);
                edit.selLength = 0;
                break;
            case 6:  // a selection from the caret on
                edit.caret = arg % (width + 1);
                edit.selLength = input.Byte() % (width - edit.caret + 1);
                break;
            default:  // a screen puts a text of any length in the field
                UserSetText(edit, std::string(input.Until('\n').substr(0, arg % 100)));
                edit.caret = 0;
                edit.selLength = 0;
                break;
        }
        FUZZ_CHECK(edit.caret >= 0 && edit.caret <= edit.DisplayWidth());
        FUZZ_CHECK(edit.selLength >= 0);
        if (!mask.empty() && (op % 8) <= 2 && arg >= 32) {
            // A field typed into has the mask's width, whatever it held.
            FUZZ_CHECK(edit.text.size() == empty.size());
        }
        if (!mask.empty() && edit.text.size() == empty.size()) {
            const std::string shown = MaskDisplayText(mask, edit.text);
            FUZZ_CHECK(static_cast<int>(shown.size()) == edit.DisplayWidth());
            (void)MaskTextFromDisplay(mask, shown);
        }
    }
    return 0;
}

#pragma once

// The mask language of the entry fields: "9" a digit or empty, "c" any character or
// empty, ">" upper-cases what is typed after it, other characters are literals;
// ";1" keeps the literals in the field's text, ";0" leaves them out; ";_" shows empty
// positions as "_". A field's text always has the full width; empty positions are
// spaces. Typing overwrites at the caret.

#include <string>
#include <string_view>
#include <vector>

namespace velmaro {

struct MaskSlot {
    enum class Kind { Digit, Any, Literal };
    Kind kind = Kind::Any;
    char literal = 0;
    bool upper = false;
};

struct MaskInfo {
    std::vector<MaskSlot> slots;  // one per displayed position
    bool saveLiterals = true;
    char blankChar = ' ';
};

MaskInfo ParseMask(std::string_view mask);
// The text of the empty field.
std::string MaskEmptyText(std::string_view mask);
// What the field shows: literals in place, blanks as the mask's blank character.
std::string MaskDisplayText(std::string_view mask, std::string_view text);
// The field's text from a displayed text (the inverse of MaskDisplayText).
std::string MaskTextFromDisplay(std::string_view mask, std::string_view display);

// The keys below first bring a text of another width than the mask's (one a screen put
// in the field) to the mask's width: the missing positions added blank (literals in
// place), or the surplus dropped.

// Typing one character at the caret (a display position). A literal typed where the
// next literal of the mask stands moves the caret past it. Returns false when the
// character is refused (a letter in a digit position, a full field).
bool MaskTypeChar(std::string_view mask, std::string& text, int& caret, char ch);
// Backspace clears the position before the caret; Delete the one at it.
void MaskBackspace(std::string_view mask, std::string& text, int& caret);
void MaskDelete(std::string_view mask, std::string& text, int caret);

// Where a click at display position `clicked` puts the caret: there, unless it lies
// beyond the last position that holds a character, when it goes just after that one (the
// start of an empty field), so that what is typed follows what is there and never opens
// with blanks. A field without a mask counts its text's positions.
int MaskClickCaret(std::string_view mask, std::string_view text, int clicked);

}  // namespace velmaro

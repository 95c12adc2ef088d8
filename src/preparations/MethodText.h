#pragma once

// The method-of-preparation text as it is edited: lines of at most a given width, each
// line break either made by the wrap (soft) or typed by the user (hard). An edit is taken
// whole or not at all: the paragraph being edited is flowed again (soft breaks joined,
// wrapped anew), and a text that would then go beyond the limits is refused.

#include <string>
#include <vector>

namespace velmaro {

struct MethodText {
    std::vector<std::string> lines;
    // softBreaks[i]: the break after lines[i] was made by the wrap. One fewer than lines.
    std::vector<bool> softBreaks;
};

struct MethodTextLimits {
    int width = 70;
    int maxLines = 32;
    int maxChars = 2240;  // the characters of the lines, breaks not counted
};

// A text as read from its file: every break typed by the user.
MethodText MethodTextFromLines(std::vector<std::string> lines);

// Takes the lines as the user's edit left them, with the caret where it left it
// (`backspace`: the edit was a Backspace, which over a soft break takes the character
// before it rather than the break, as the user sees no break there). The paragraph of the
// caret is flowed again and any other line longer than the width is wrapped; the caret
// keeps its place in the text. When the result would hold more lines or characters than
// the limits allow (and more than the text held before), nothing changes, the caret goes
// back to where the edit began, and the result is false.
bool ApplyMethodEdit(MethodText& text, const std::vector<std::string>& edited, int& caretLine,
                     int& caretColumn, bool backspace, const MethodTextLimits& limits);

}  // namespace velmaro

#include "platform/MaskLogic.h"

#include <algorithm>

namespace velmaro {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

char ToUpper1252(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) {
        return static_cast<char>(u - 0x20);
    }
    return c;
}

// Index into the text of display position `pos`, or -1 for a literal left out of it.
int TextIndex(const MaskInfo& info, int pos) {
    if (info.saveLiterals) {
        return pos;
    }
    int index = 0;
    for (int i = 0; i < pos; ++i) {
        if (info.slots[static_cast<size_t>(i)].kind != MaskSlot::Kind::Literal) {
            ++index;
        }
    }
    return info.slots[static_cast<size_t>(pos)].kind == MaskSlot::Kind::Literal ? -1 : index;
}

std::string Display(const MaskInfo& info, std::string_view text) {
    std::string out;
    size_t t = 0;
    for (const auto& slot : info.slots) {
        if (slot.kind == MaskSlot::Kind::Literal) {
            out += slot.literal;
            if (info.saveLiterals) {
                ++t;
            }
        } else {
            out += t < text.size() ? text[t] : ' ';
            ++t;
        }
    }
    return out;
}

// The field's text at the width of its mask: a screen may have put a shorter or longer
// text in it (a record of a damaged file), which a key must not write past.
void FitText(std::string_view mask, std::string& text) {
    const std::string empty = MaskEmptyText(mask);
    if (text.size() < empty.size()) {
        text += empty.substr(text.size());  // the positions missing, literals in place
    } else if (text.size() > empty.size()) {
        text.resize(empty.size());
    }
}

}  // namespace

MaskInfo ParseMask(std::string_view mask) {
    MaskInfo info;
    std::string_view pattern = mask;
    const auto semi = mask.find(';');
    if (semi != std::string_view::npos) {
        pattern = mask.substr(0, semi);
        const std::string_view rest = mask.substr(semi + 1);
        info.saveLiterals = rest.empty() || rest[0] != '0';
        const auto semi2 = rest.find(';');
        if (semi2 != std::string_view::npos && semi2 + 1 < rest.size()) {
            info.blankChar = rest[semi2 + 1];
        }
    }
    bool upper = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '>') {
            upper = true;
            continue;
        }
        if (c == '<') {
            upper = false;
            continue;
        }
        MaskSlot slot;
        slot.upper = upper;
        if (c == '9' || c == '0') {
            slot.kind = MaskSlot::Kind::Digit;
        } else if (c == 'c' || c == 'C' || c == 'a' || c == 'A' || c == 'l' || c == 'L') {
            slot.kind = MaskSlot::Kind::Any;
        } else {
            slot.kind = MaskSlot::Kind::Literal;
            slot.literal = (c == '\\' && i + 1 < pattern.size()) ? pattern[++i] : c;
        }
        info.slots.push_back(slot);
    }
    return info;
}

std::string MaskEmptyText(std::string_view mask) {
    const MaskInfo info = ParseMask(mask);
    std::string out;
    for (const auto& slot : info.slots) {
        if (slot.kind == MaskSlot::Kind::Literal) {
            if (info.saveLiterals) {
                out += slot.literal;
            }
        } else {
            out += ' ';
        }
    }
    return out;
}

std::string MaskDisplayText(std::string_view mask, std::string_view text) {
    const MaskInfo info = ParseMask(mask);
    std::string out = Display(info, text);
    // Spaces between typed characters of one stretch of positions (words of a name) are
    // shown as spaces; the empty positions around them as the blank character.
    size_t start = 0;
    while (start < out.size()) {
        if (info.slots[start].kind == MaskSlot::Kind::Literal) {
            ++start;
            continue;
        }
        size_t end = start;
        while (end < out.size() && info.slots[end].kind != MaskSlot::Kind::Literal) {
            ++end;
        }
        const size_t first = out.find_first_not_of(' ', start);
        const size_t last = out.find_last_not_of(' ', end - 1);
        for (size_t i = start; i < end; ++i) {
            const bool inside =
                first < end && last != std::string::npos && last >= start && i > first && i < last;
            if (out[i] == ' ' && !inside) {
                out[i] = info.blankChar;
            }
        }
        start = end;
    }
    return out;
}

std::string MaskTextFromDisplay(std::string_view mask, std::string_view display) {
    const MaskInfo info = ParseMask(mask);
    std::string out;
    for (size_t i = 0; i < info.slots.size(); ++i) {
        const auto& slot = info.slots[i];
        const char c = i < display.size() ? display[i] : ' ';
        if (slot.kind == MaskSlot::Kind::Literal) {
            if (info.saveLiterals) {
                out += slot.literal;
            }
        } else {
            out += (c == info.blankChar) ? ' ' : c;
        }
    }
    return out;
}

bool MaskTypeChar(std::string_view mask, std::string& text, int& caret, char ch) {
    const MaskInfo info = ParseMask(mask);
    const int width = static_cast<int>(info.slots.size());
    FitText(mask, text);
    if (caret < 0) {
        caret = 0;
    }
    // A literal typed: the caret jumps past the next literal of the mask when it is
    // that character ("12" then "," in "9999,99" lands on the decimals).
    for (int pos = caret; pos < width; ++pos) {
        const auto& slot = info.slots[static_cast<size_t>(pos)];
        if (slot.kind == MaskSlot::Kind::Literal) {
            if (slot.literal == ch) {
                caret = pos + 1;
                return true;
            }
            break;
        }
    }
    int pos = caret;
    while (pos < width && info.slots[static_cast<size_t>(pos)].kind == MaskSlot::Kind::Literal) {
        ++pos;
    }
    if (pos >= width) {
        return false;
    }
    const auto& slot = info.slots[static_cast<size_t>(pos)];
    if (slot.kind == MaskSlot::Kind::Digit && !IsDigit(ch) && ch != ' ') {
        return false;
    }
    text[static_cast<size_t>(TextIndex(info, pos))] = slot.upper ? ToUpper1252(ch) : ch;
    caret = pos + 1;
    return true;
}

void MaskBackspace(std::string_view mask, std::string& text, int& caret) {
    const MaskInfo info = ParseMask(mask);
    FitText(mask, text);
    caret = std::clamp(caret, 0, static_cast<int>(info.slots.size()));
    int pos = caret - 1;
    while (pos >= 0 && info.slots[static_cast<size_t>(pos)].kind == MaskSlot::Kind::Literal) {
        --pos;
    }
    if (pos < 0) {
        return;
    }
    text[static_cast<size_t>(TextIndex(info, pos))] = ' ';
    caret = pos;
}

void MaskDelete(std::string_view mask, std::string& text, int caret) {
    const MaskInfo info = ParseMask(mask);
    const int width = static_cast<int>(info.slots.size());
    FitText(mask, text);
    int pos = std::max(caret, 0);
    while (pos < width && info.slots[static_cast<size_t>(pos)].kind == MaskSlot::Kind::Literal) {
        ++pos;
    }
    if (pos < width) {
        text[static_cast<size_t>(TextIndex(info, pos))] = ' ';
    }
}

int MaskClickCaret(std::string_view mask, std::string_view text, int clicked) {
    int end = 0;
    if (mask.empty()) {
        const size_t last = text.find_last_not_of(' ');
        end = last == std::string_view::npos ? 0 : static_cast<int>(last) + 1;
    } else {
        const MaskInfo info = ParseMask(mask);
        std::string fitted(text);
        FitText(mask, fitted);
        for (int pos = 0; pos < static_cast<int>(info.slots.size()); ++pos) {
            if (info.slots[static_cast<size_t>(pos)].kind != MaskSlot::Kind::Literal &&
                fitted[static_cast<size_t>(TextIndex(info, pos))] != ' ') {
                end = pos + 1;
            }
        }
    }
    return std::clamp(clicked, 0, end);
}

}  // namespace velmaro

#include "preparations/MethodText.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace velmaro {

namespace {

int Size(const std::vector<std::string>& v) {
    return static_cast<int>(v.size());
}

size_t CharCount(const std::vector<std::string>& lines) {
    size_t n = 0;
    for (const auto& line : lines) {
        n += line.size();
    }
    return n;
}

// Greedy wrap of one paragraph: after the last space that leaves at most `width`
// characters on a line, or at `width` when a word is longer. Nothing is dropped, so the
// pieces joined give the paragraph back.
std::vector<std::string> Wrap(const std::string& paragraph, size_t width) {
    std::vector<std::string> pieces;
    std::string rest = paragraph;
    while (rest.size() > width) {
        const size_t space = rest.find_last_of(' ', width - 1);
        const size_t cut = space != std::string::npos && space > 0 ? space + 1 : width;
        pieces.push_back(rest.substr(0, cut));
        rest.erase(0, cut);
    }
    pieces.push_back(std::move(rest));
    return pieces;
}

// Replaces lines [first, last] by the paragraph they hold, wrapped; the breaks inside are
// soft, the one after keeps its kind. The caret, when on those lines, keeps its place.
void Reflow(MethodText& t, int first, int last, size_t width, int& caretLine, int& caretColumn) {
    std::string joined;
    int caretOffset = -1;
    for (int i = first; i <= last; ++i) {
        const std::string& line = t.lines[static_cast<size_t>(i)];
        if (i == caretLine) {
            caretOffset = static_cast<int>(joined.size()) +
                          std::clamp(caretColumn, 0, static_cast<int>(line.size()));
        }
        joined += line;
    }
    std::vector<std::string> pieces = Wrap(joined, width);
    const auto firstAt = t.lines.begin() + first;
    t.lines.erase(firstAt, t.lines.begin() + last + 1);
    t.lines.insert(t.lines.begin() + first, pieces.begin(), pieces.end());
    const auto breaksAt = t.softBreaks.begin() + first;
    t.softBreaks.erase(breaksAt, t.softBreaks.begin() + last);
    t.softBreaks.insert(t.softBreaks.begin() + first, pieces.size() - 1, true);
    const int shift = Size(pieces) - (last - first + 1);
    if (caretOffset >= 0) {
        int start = 0;
        for (int k = 0; k < Size(pieces); ++k) {
            const int length = static_cast<int>(pieces[static_cast<size_t>(k)].size());
            if (caretOffset < start + length || k == Size(pieces) - 1) {
                caretLine = first + k;
                caretColumn = caretOffset - start;
                break;
            }
            start += length;
        }
    } else if (caretLine > last) {
        caretLine += shift;
    }
}

}  // namespace

MethodText MethodTextFromLines(std::vector<std::string> lines) {
    MethodText t;
    t.lines = std::move(lines);
    t.softBreaks.assign(t.lines.empty() ? 0 : t.lines.size() - 1, false);
    return t;
}

bool ApplyMethodEdit(MethodText& text, const std::vector<std::string>& edited, int& caretLine,
                     int& caretColumn, bool backspace, const MethodTextLimits& limits) {
    const std::vector<std::string>& old = text.lines;
    const int oldN = Size(old);
    const int newN = Size(edited);
    // The lines the edit left alone, before and after what it changed.
    int prefix = 0;
    while (prefix < std::min(oldN, newN) &&
           old[static_cast<size_t>(prefix)] == edited[static_cast<size_t>(prefix)]) {
        ++prefix;
    }
    int suffix = 0;
    while (suffix < std::min(oldN, newN) - prefix &&
           old[static_cast<size_t>(oldN - 1 - suffix)] ==
               edited[static_cast<size_t>(newN - 1 - suffix)]) {
        ++suffix;
    }
    // Where the edit began, for a refusal.
    int startLine = std::min(prefix, std::max(oldN - 1, 0));
    int startColumn = 0;
    if (prefix < oldN && prefix < newN) {
        const std::string& a = old[static_cast<size_t>(prefix)];
        const std::string& b = edited[static_cast<size_t>(prefix)];
        while (static_cast<size_t>(startColumn) < std::min(a.size(), b.size()) &&
               a[static_cast<size_t>(startColumn)] == b[static_cast<size_t>(startColumn)]) {
            ++startColumn;
        }
    } else if (prefix >= oldN && oldN > 0) {
        startColumn = static_cast<int>(old.back().size());
    }

    MethodText next;
    next.lines = edited;
    // A soft break taken away (Backspace at the start of a wrapped line, Delete at the end
    // of one) takes the character beside it instead.
    const bool joinedSoft =
        oldN == newN + 1 && prefix + suffix == newN - 1 &&
        text.softBreaks[static_cast<size_t>(prefix)] &&
        edited[static_cast<size_t>(prefix)] ==
            old[static_cast<size_t>(prefix)] + old[static_cast<size_t>(prefix) + 1];
    if (joinedSoft) {
        const std::string& before = old[static_cast<size_t>(prefix)];
        const std::string& after = old[static_cast<size_t>(prefix) + 1];
        std::string& line = next.lines[static_cast<size_t>(prefix)];
        if (backspace && !before.empty()) {
            line = before.substr(0, before.size() - 1) + after;
            caretLine = prefix;
            caretColumn = static_cast<int>(before.size()) - 1;
        } else if (!backspace && !after.empty()) {
            line = before + after.substr(1);
            caretLine = prefix;
            caretColumn = static_cast<int>(before.size());
        }
    }
    // The kinds of the breaks: those of the lines left alone stay; inside the changed
    // lines they stay when the edit kept the number of lines, and are typed otherwise.
    next.softBreaks.assign(newN > 0 ? static_cast<size_t>(newN - 1) : 0, false);
    const int oldRegion = oldN - prefix - suffix;
    const int newRegion = newN - prefix - suffix;
    for (int i = 0; i + 1 < newN; ++i) {
        int from = -1;
        if (i < prefix) {
            from = i;
        } else if (i >= newN - suffix - 1) {
            from = i - (newN - oldN);
        } else if (oldRegion == newRegion) {
            from = i;
        }
        if (from >= 0 && from + 1 < oldN) {
            next.softBreaks[static_cast<size_t>(i)] = text.softBreaks[static_cast<size_t>(from)];
        }
    }

    const auto width = static_cast<size_t>(std::max(limits.width, 1));
    if (newN > 0) {
        caretLine = std::clamp(caretLine, 0, newN - 1);
        // The paragraph being edited: the lines joined to the caret's by soft breaks.
        int first = caretLine;
        while (first > 0 && next.softBreaks[static_cast<size_t>(first - 1)]) {
            --first;
        }
        int last = caretLine;
        while (last + 1 < Size(next.lines) && next.softBreaks[static_cast<size_t>(last)]) {
            ++last;
        }
        Reflow(next, first, last, width, caretLine, caretColumn);
        // Any other line too long (a text pasted in lines) is wrapped where it stands.
        for (int i = 0; i < Size(next.lines); ++i) {
            if (next.lines[static_cast<size_t>(i)].size() > width) {
                Reflow(next, i, i, width, caretLine, caretColumn);
            }
        }
    }

    const bool tooManyLines = Size(next.lines) > limits.maxLines && Size(next.lines) > oldN;
    const size_t chars = CharCount(next.lines);
    const bool tooManyChars =
        chars > static_cast<size_t>(limits.maxChars) && chars > CharCount(old);
    if (tooManyLines || tooManyChars) {
        caretLine = startLine;
        caretColumn = startColumn;
        return false;
    }
    text = std::move(next);
    return true;
}

}  // namespace velmaro

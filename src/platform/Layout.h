#pragma once

// How a screen arranges its controls, told to the Qt skin as a small tree: rows,
// columns, grids and titled group boxes. Sizes come from the controls themselves.

#include <string>
#include <vector>

namespace velmaro {

class Control;

struct LayoutItem {
    // Absolute: the children are controls placed at their own left, top, width and height
    // in the form's client area (the form gives its width and height).
    // Scroll: one child shown at its own size in an area of the form's size, with scroll
    // bars when it is larger.
    enum class Kind { Control, Row, Column, Grid, Group, Stretch, Spacing, Absolute, Scroll };
    Kind kind = Kind::Column;
    Control* control = nullptr;
    std::vector<LayoutItem> children;
    std::string title;  // group boxes (Windows-1252)
    int columns = 1;    // grids: children fill row by row
    int size = 0;       // spacing in pixels

    static LayoutItem Of(Control& c) {
        LayoutItem i;
        i.kind = Kind::Control;
        i.control = &c;
        return i;
    }
    static LayoutItem Row(std::vector<LayoutItem> items) {
        return Make(Kind::Row, std::move(items));
    }
    static LayoutItem Column(std::vector<LayoutItem> items) {
        return Make(Kind::Column, std::move(items));
    }
    static LayoutItem Grid(int columns, std::vector<LayoutItem> items) {
        LayoutItem i = Make(Kind::Grid, std::move(items));
        i.columns = columns;
        return i;
    }
    static LayoutItem Group(std::string title, std::vector<LayoutItem> items) {
        LayoutItem i = Make(Kind::Group, std::move(items));
        i.title = std::move(title);
        return i;
    }
    static LayoutItem Absolute(std::vector<LayoutItem> items) {
        return Make(Kind::Absolute, std::move(items));
    }
    static LayoutItem Scroll(LayoutItem content) {
        return Make(Kind::Scroll, {std::move(content)});
    }
    static LayoutItem Stretch() { return Make(Kind::Stretch, {}); }
    static LayoutItem Spacing(int pixels) {
        LayoutItem i = Make(Kind::Spacing, {});
        i.size = pixels;
        return i;
    }

  private:
    static LayoutItem Make(Kind k, std::vector<LayoutItem> items) {
        LayoutItem i;
        i.kind = k;
        i.children = std::move(items);
        return i;
    }
};

}  // namespace velmaro

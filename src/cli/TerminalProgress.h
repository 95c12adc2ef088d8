#pragma once

// The progress of a walk over many items on the error stream: on a terminal one bar
// redrawn in place ("[#####-----]  50% 250/500 Arroz") at the pace of a ProgressPacer,
// and once more at the end if its last state was not drawn; elsewhere one plain line
// per item ("50% 250/500 Arroz"), so a log keeps every step.

#include <ostream>
#include <string>
#include <string_view>

#include "storage/Progress.h"

namespace velmaro::cli {

class TerminalProgress final : public ProgressSink {
  public:
    // `columns`: the width of the terminal; the line never goes beyond it.
    TerminalProgress(std::ostream& out, bool terminal, int columns = 80,
                     ProgressPacer::Clock clock = {});

    void Begin(int maximum) override;
    void SetPosition(int position) override;
    void End() override;
    // The position and the name of the item now being done.
    void Step(int position, std::string_view label);

  private:
    void Draw();

    std::ostream& m_out;
    bool m_terminal;
    int m_columns;
    int m_maximum = 0;
    int m_position = 0;
    std::string m_label;  // UTF-8
    bool m_open = false;
    ProgressPacer m_pacer;
};

// "[" + filled and empty cells + "] " + percentage + " " + count: the text of one state of
// the bar, `width` cells wide.
std::string ProgressBarText(int position, int maximum, int width);

}  // namespace velmaro::cli

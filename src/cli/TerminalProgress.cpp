#include "cli/TerminalProgress.h"

#include <algorithm>
#include <utility>

namespace velmaro::cli {

namespace {

constexpr int kBarCells = 30;

std::string Count(int position, int maximum) {
    std::string percent = std::to_string(ProgressPercent(position, maximum)) + "%";
    percent.insert(0, 4 - std::min<size_t>(percent.size(), 4), ' ');
    return percent + " " + std::to_string(std::clamp(position, 0, std::max(maximum, 0))) + "/" +
           std::to_string(std::max(maximum, 0));
}

// The first `count` characters of a UTF-8 text (a character never cut in two).
std::string FirstCharacters(std::string_view text, size_t count) {
    size_t end = 0;
    size_t seen = 0;
    while (end < text.size() && seen < count) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) {
            ++end;
        }
        ++seen;
    }
    return std::string(text.substr(0, end));
}

size_t Characters(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

}  // namespace

std::string ProgressBarText(int position, int maximum, int width) {
    const int filled =
        maximum <= 0 ? width
                     : static_cast<int>(static_cast<long long>(std::clamp(position, 0, maximum)) *
                                        width / maximum);
    return "[" + std::string(static_cast<size_t>(filled), '#') +
           std::string(static_cast<size_t>(width - filled), '-') + "] " + Count(position, maximum);
}

TerminalProgress::TerminalProgress(std::ostream& out, bool terminal, int columns,
                                   ProgressPacer::Clock clock)
    : m_out(out),
      m_terminal(terminal),
      m_columns(std::max(columns, 20)),
      m_pacer(std::move(clock)) {}

void TerminalProgress::Begin(int maximum) {
    m_maximum = std::max(maximum, 0);
    m_position = 0;
    m_label.clear();
    m_open = true;
    m_pacer.Begin(m_maximum);
    if (m_terminal) {
        Draw();
    }
}

void TerminalProgress::SetPosition(int position) {
    m_position = position;
    if (!m_terminal || m_pacer.Due(position)) {
        Draw();
    }
}

void TerminalProgress::Step(int position, std::string_view label) {
    m_label = std::string(label);
    SetPosition(position);
}

void TerminalProgress::Draw() {
    if (!m_open) {
        return;
    }
    if (!m_terminal) {
        m_out << Count(m_position, m_maximum) << (m_label.empty() ? "" : " ") << m_label << "\n";
        m_out.flush();
        return;
    }
    std::string line = ProgressBarText(m_position, m_maximum, kBarCells);
    if (!m_label.empty()) {
        line += " " + m_label;
    }
    const auto width = static_cast<size_t>(m_columns - 1);
    line = FirstCharacters(line, width);
    line.append(width - std::min(width, Characters(line)), ' ');
    m_out << "\r" << line;
    m_out.flush();
}

void TerminalProgress::End() {
    if (m_open && m_terminal) {
        if (m_pacer.DrawnPosition() != m_position) {
            Draw();  // the bar stays on the screen as the walk ended
        }
        m_out << "\n";
        m_out.flush();
    }
    m_open = false;
}

}  // namespace velmaro::cli

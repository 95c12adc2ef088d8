#pragma once

#include <chrono>
#include <functional>

namespace velmaro {

// What a long storage operation reports while it works; the shell shows it as the
// progress window "Aguarde Processamento ...".
class ProgressSink {
  public:
    virtual ~ProgressSink() = default;
    virtual void Begin(int maximum) = 0;
    virtual void SetPosition(int position) = 0;
    virtual void End() = 0;
};

class NullProgress final : public ProgressSink {
  public:
    void Begin(int) override {}
    void SetPosition(int) override {}
    void End() override {}
};

// The whole percentage a position stands for (100 when there is nothing to do).
int ProgressPercent(int position, int maximum);

// When a progress display is worth drawing again: only when the percentage it shows
// changes, and at most about 30 times a second, whichever is rarer. A walk over 50,000
// records thus draws a few dozen times instead of 50,000, and the work never waits on
// the screen or the terminal.
class ProgressPacer {
  public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;
    static constexpr std::chrono::milliseconds kInterval{33};

    // Without a clock the system's steady clock.
    explicit ProgressPacer(Clock clock = {});
    void SetClock(Clock clock);

    // A new walk; its first state counts as drawn now.
    void Begin(int maximum);
    // Whether `position` should be drawn now; when it is, it counts as drawn.
    bool Due(int position);
    // The position drawn last.
    int DrawnPosition() const { return m_drawnPosition; }

  private:
    TimePoint Now() const;

    Clock m_clock;
    int m_maximum = 0;
    int m_drawnPosition = 0;
    int m_drawnPercent = 0;
    TimePoint m_drawnAt{};
};

}  // namespace velmaro

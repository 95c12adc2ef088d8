#pragma once

// A piece of a test run in a forked copy of the test process: to hold a lock while the
// test looks on, or to be killed (SIGKILL) in the middle of a save. The child tells the
// parent when it reached its moment; it never returns into the test framework.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <random>

namespace velmaro::test {

class ChildProcess {
  public:
    // The child runs `body`, which calls `ready()` once (or never) to wake WaitReady, then
    // ends with status 0, or 1 when `body` throws.
    using Body = std::function<void(const std::function<void()>& ready)>;
    explicit ChildProcess(const Body& body);
    ~ChildProcess();  // a child still running is killed
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits until the child called ready(); false when it ended without doing so.
    bool WaitReady();
    // SIGKILL, then waits for the child to be gone.
    void Kill();
    // Waits for the child to end; its exit status, or -1 when it was killed by a signal.
    int Wait();
    pid_t Pid() const { return m_pid; }

  private:
    pid_t m_pid = -1;
    int m_readyFd = -1;  // the parent's end of the pipe the child writes one byte to
    bool m_reaped = false;
    int m_status = 0;
};

// Interrupts a piece of work at random moments, as a crash or a power cut of the program
// would. Each round forks a child that runs `work(round, ready)`; once the child called
// ready() (just before the part to interrupt), it is killed with SIGKILL after a random
// delay of up to `maxDelay` (less for work that often ends before its kill), and
// `check(round)` looks at what it left on disk. A child that ends without calling ready(),
// or whose work throws, fails the test.
struct KillCount {
    int rounds = 0;
    int interrupted = 0;  // the child was still at work when it was killed
};
KillCount KillAtRandomMoments(
    int rounds, std::chrono::microseconds maxDelay, std::mt19937& random,
    const std::function<void(int round, const std::function<void()>& ready)>& work,
    const std::function<void(int round)>& check);

}  // namespace velmaro::test

#include "support/ChildProcess.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <stdexcept>

namespace velmaro::test {

ChildProcess::ChildProcess(const Body& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    m_pid = ::fork();
    if (m_pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        throw std::runtime_error("fork failed");
    }
    if (m_pid == 0) {
        ::close(fds[0]);
        const int writeFd = fds[1];
        int status = 0;
        try {
            body([writeFd] {
                const char byte = 1;
                while (::write(writeFd, &byte, 1) < 0 && errno == EINTR) {
                }
            });
        } catch (...) {
            status = 1;
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    m_readyFd = fds[0];
}

ChildProcess::~ChildProcess() {
    if (!m_reaped) {
        Kill();
    }
    if (m_readyFd >= 0) {
        ::close(m_readyFd);
    }
}

bool ChildProcess::WaitReady() {
    char byte = 0;
    ssize_t n = 0;
    do {
        n = ::read(m_readyFd, &byte, 1);
    } while (n < 0 && errno == EINTR);
    return n == 1;
}

void ChildProcess::Kill() {
    if (!m_reaped) {
        ::kill(m_pid, SIGKILL);
        Wait();
    }
}

int ChildProcess::Wait() {
    if (!m_reaped) {
        while (::waitpid(m_pid, &m_status, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
    }
    return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}

KillCount KillAtRandomMoments(
    int rounds, std::chrono::microseconds maxDelay, std::mt19937& random,
    const std::function<void(int round, const std::function<void()>& ready)>& work,
    const std::function<void(int round)>& check) {
    KillCount count;
    // The delays are drawn up to a limit that follows the work: it shrinks when the work
    // ended before its kill and grows back (up to maxDelay) when it was cut short, so that
    // about two kills in three come during the work, spread over all of it, however fast
    // the machine is.
    const double most = static_cast<double>(maxDelay.count());
    double limit = most;
    for (int round = 0; round < rounds; ++round) {
        {
            ChildProcess child(
                [&work, round](const std::function<void()>& ready) { work(round, ready); });
            if (!child.WaitReady()) {
                ADD_FAILURE() << "round " << round << ": the child ended before its work began";
                return count;
            }
            const long us =
                std::uniform_int_distribution<long>(0, static_cast<long>(limit))(random);
            const timespec pause{0, us * 1000};
            ::nanosleep(&pause, nullptr);
            ::kill(child.Pid(), SIGKILL);
            ++count.rounds;
            const int status = child.Wait();
            if (status < 0) {
                ++count.interrupted;
                limit = std::min(most, limit * 1.05);
            } else {
                limit = std::max(most / 50, limit * 0.9);
                if (status != 0) {
                    ADD_FAILURE() << "round " << round << ": the work failed in the child";
                }
            }
        }
        check(round);
        if (::testing::Test::HasFatalFailure()) {
            break;
        }
    }
    return count;
}

}  // namespace velmaro::test

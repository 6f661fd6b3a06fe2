#pragma once

#include <functional>
#include <string>

namespace rules {
class MessageBox;
}

namespace rules {

// The one place where a failed handler is caught: nothing thrown by the rules
// ever reaches Qt's event loop. The player is told what failed and where, then
// the program ends with a non-zero status; what the handler changed stays.
class ErrorBoundary
{
public:
    using EndProgram = std::function<void(int exitCode)>;
    static constexpr int FailureExitCode = 1;

    ErrorBoundary(rules::MessageBox &messages, EndProgram endProgram);

    // Runs a handler of the game; after a failure, no handler runs any more.
    void run(const std::string &handler, const std::function<void()> &procedure) noexcept;

private:
    void fail(const std::string &text) noexcept;

    rules::MessageBox &m_messages;
    EndProgram m_endProgram;
    bool m_failed = false;
};

} // namespace rules

#include "rules/error_boundary.h"

#include "rules/controls.h"
#include "rules/error.h"
#include "rules/message_box.h"

#include <exception>
#include <utility>

namespace rules {

namespace {

std::string failureText(
        const std::string &what, const std::string &handler, const std::string &where)
{
    std::string text = "Tornel has met an error and must close.\n\nWhat failed: " + what
            + ".\nWhere: " + handler;
    if (!where.empty())
        text += ", " + where;
    return text + ".";
}

} // namespace

ErrorBoundary::ErrorBoundary(rules::MessageBox &messages, EndProgram endProgram)
    : m_messages(messages),
      m_endProgram(std::move(endProgram))
{
}

void ErrorBoundary::run(const std::string &handler, const std::function<void()> &procedure) noexcept
{
    if (m_failed)
        return;
    try {
        procedure();
    } catch (const rules::GameError &error) {
        fail(failureText(error.what(), handler, error.where()));
    } catch (const std::exception &error) {
        fail(failureText(error.what(), handler, {}));
    } catch (...) {
        fail(failureText("an unknown error", handler, {}));
    }
}

void ErrorBoundary::fail(const std::string &text) noexcept
{
    m_failed = true;
    try {
        m_messages.show(rules::ApplicationTitle, text);
    } catch (...) {
        // The program ends below whether or not the player could be told.
    }
    m_endProgram(FailureExitCode);
}

} // namespace rules

#pragma once

#include <stdexcept>
#include <string>

namespace rules {

// The kinds of failure a turn can meet; none of them arises from captions the game wrote itself.
enum class ErrorKind {
    TypeMismatch,
    Overflow,
    SubscriptOutOfRange,
    FloatingPoint,
    NoSuchControl,
};

[[nodiscard]] const char *describe(ErrorKind kind);

// Ends the running handler at the point of failure; changes made before it stay in effect.
class GameError : public std::runtime_error
{
public:
    GameError(ErrorKind kind, const std::string &detail);

    [[nodiscard]] ErrorKind kind() const { return m_kind; }
    [[nodiscard]] const std::string &detail() const { return m_detail; }
    [[nodiscard]] const std::string &where() const { return m_where; }
    // Names an enclosing place, outermost last: "scoring the roll: reading the caption of L5".
    void addWhere(const std::string &place);

private:
    ErrorKind m_kind;
    std::string m_detail;
    std::string m_where;
};

} // namespace rules

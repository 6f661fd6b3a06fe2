#include "rules/error.h"

namespace rules {

const char *describe(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::TypeMismatch:
        return "type mismatch";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::FloatingPoint:
        return "floating-point error";
    case ErrorKind::NoSuchControl:
        return "control does not exist";
    }
    return "unknown error";
}

GameError::GameError(ErrorKind kind, const std::string &detail)
    : std::runtime_error(std::string(describe(kind)) + ": " + detail), m_kind(kind),
      m_detail(detail)
{
}

void GameError::addWhere(const std::string &place)
{
    m_where = m_where.empty() ? place : place + ": " + m_where;
}

} // namespace rules

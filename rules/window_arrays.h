#pragma once

#include "rules/error.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rules {

// A window-level array with the bounds 0 to Size - 1; any other index is a
// subscript-out-of-range error.
template<typename T, std::size_t Size>
class CheckedArray
{
public:
    explicit constexpr CheckedArray(std::string_view name) : m_name(name) { }

    [[nodiscard]] T &operator()(int index) { return m_slots[checked(index)]; }
    [[nodiscard]] const T &operator()(int index) const { return m_slots[checked(index)]; }

    std::size_t checked(int index) const
    {
        if (index < 0 || static_cast<std::size_t>(index) >= Size)
            throw GameError(ErrorKind::SubscriptOutOfRange,
                    std::string(m_name) + "(" + std::to_string(index) + ") has no slot");
        return static_cast<std::size_t>(index);
    }

private:
    std::string_view m_name;
    std::array<T, Size> m_slots{};
};

// The data that belongs to the window object rather than to its controls:
// it outlives every unload and reload of the window.
struct WindowArrays
{
    CheckedArray<float, 7> DieValue{"DieValue"};         // slots 1..6: the latest roll
    CheckedArray<std::int16_t, 3> GainValue{"GainValue"}; // slots 1, 2: each player's latest gain
};

} // namespace rules

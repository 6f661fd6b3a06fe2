#pragma once

#include <QWidget>

#include <array>
#include <memory>

class QLabel;

namespace bench {

// A bare window with the same 38 widgets as the game's (36 QLabels, 2
// QPushButtons) with the same geometry, fonts, captions, colours, frames and
// alignment, built straight from the layout table with no game code: what any
// window of this kind costs, to compare the real one with.
class BaselineForm
{
public:
    BaselineForm();

    [[nodiscard]] QWidget *window() const { return m_form.get(); }

    // The comparison update: 20 captions (the 12 dice, the 5 hidden sums,
    // player 1's score and both gains) and 10 background colours (both players'
    // 5 categories), all to values that differ from the current ones, as a turn
    // changes about that many.
    void update();

private:
    std::unique_ptr<QWidget> m_form;
    std::array<QWidget *, 38> m_widgets{};
    std::array<QLabel *, 20> m_captioned{};
    std::array<QLabel *, 10> m_coloured{};
    long m_updates = 0;
};

} // namespace bench

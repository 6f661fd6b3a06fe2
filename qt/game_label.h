#pragma once

#include <QLabel>

namespace qt {

// A label of the window. Its single-line border is drawn one device pixel thin
// at every scale, along its first and last logical pixel rows and columns, so
// that neighbours overlapping by one logical pixel share one line.
class GameLabel : public QLabel
{
public:
    explicit GameLabel(QWidget *parent);

    void setBorder(bool border);
    [[nodiscard]] bool hasBorder() const { return m_border; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_border = false;
};

} // namespace qt

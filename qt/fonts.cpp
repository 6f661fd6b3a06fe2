#include "qt/fonts.h"

#include <QFont>
#include <QStringList>

namespace qt {

namespace {

// A plain sans face that most desktops have, from the closest match down to the
// generic sans serif family.
QFont sansFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
            QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

QFont largeFont()
{
    return sansFont(18.0);
}

// At 7.5 points the whole rules text, word-wrapped, fits its box at every
// supported density, and is still readable.
QFont windowFont()
{
    return sansFont(7.5);
}

} // namespace qt

#include "core/fonts.h"

#include <QStringList>

namespace velaro {

void installFontSubstitutions() {
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {"Liberation Serif", "Tinos", "DejaVu Serif"});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {"Liberation Sans", "Arimo", "DejaVu Sans"});
}

QFont serifFont(int pixelHeight, bool bold, bool italic) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont sansFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    return font;
}

} // namespace velaro

#pragma once
// The program's two type faces, by the names the windows' pixel sizes are made for. Liberation
// Serif and Sans are metric-compatible stand-ins where those faces are missing.

#include <QFont>

namespace velaro {

void installFontSubstitutions();

// "Times New Roman" at a character height in pixels (titles, prompts, units, buttons).
QFont serifFont(int pixelHeight = 13, bool bold = false, bool italic = false);

// "MS Sans Serif" 8 pt: the windows' default font, used by the fields and sunken cells.
QFont sansFont();

} // namespace velaro

#pragma once
// What a calculator's result is to the estimate sheet's walls: a window or door opening, whose
// area (the field the estimator types it in) comes off its room's walls, or nothing of the kind.
// Each calculator says it of itself in the catalogue; the sheet knows no calculator by name.

#include <string>

namespace velaro {

enum class Opening { None, Window, Door };

struct OpeningSource {
    Opening kind = Opening::None;
    std::string areaField;         // the field that holds the openings' area
    bool deductedFromWalls = true; // when recorded; cupboard doors stand in a partition
};

} // namespace velaro

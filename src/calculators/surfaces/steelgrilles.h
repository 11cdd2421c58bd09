#pragma once
// The three steel-grille windows share their caption, title line, prompt and result caption;
// each class of grille gives its size, its two description lines, its picture and coefficient.

#include "calculators/common/oneinput.h"

namespace velaro {

struct GrilleClass {
    QString className;
    QString module;
    int clientHeight;
    QStringList description; // the two lines under the title
    QSize picture;
    long double coefficient;
};

OneInputDescription grilleDescription(const GrilleClass& grilles);

} // namespace velaro

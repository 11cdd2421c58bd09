#pragma once
// The two МС-140 radiator windows share their prompts and units; each gives its captions, the
// line with its section size, its picture and the painted area of one section.

#include "calculators/common/oneinput.h"

namespace velaro {

struct RadiatorModel {
    WindowDescription window;
    QString title;
    QString sectionSize; // the line under the prompt
    QSize picture;
    long double areaPerSection; // м2
};

OneInputDescription radiatorDescription(const RadiatorModel& model);

} // namespace velaro

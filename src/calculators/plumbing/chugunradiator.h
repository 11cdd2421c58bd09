#pragma once
// Cast-iron radiators МС-140 500: 0.244 м2 a section.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm8 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm8(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

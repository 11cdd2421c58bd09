#pragma once
// Cast-iron radiators МС-140 300: 0.208 м2 a section.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm9 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm9(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Corrugated sheets: the plain area times 1.2 for the wave.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm19 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm19(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

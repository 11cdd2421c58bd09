#pragma once
// Ceilings of ribbed floor slabs: the horizontal surface times 1.6.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm12 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm12(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Baths: three times their horizontal projection.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm6 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm6(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Coffered ceilings: the horizontal projection times 1.75.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm11 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm11(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

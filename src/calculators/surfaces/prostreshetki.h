#pragma once
// Simple steel grilles, filled up to 20 %: the vertical projection times 0.5.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm16 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm16(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

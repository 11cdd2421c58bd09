#pragma once
// Clapboard: the surface without mouldings and rebates times 1.2.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm13 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm13(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

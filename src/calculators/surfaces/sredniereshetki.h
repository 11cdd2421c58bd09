#pragma once
// Steel grilles of medium complexity, filled up to 30 %: the vertical projection times 1.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm17 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm17(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Complex steel grilles, filled over 30 %: the vertical projection times 2.5.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm18 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm18(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

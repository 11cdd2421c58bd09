#pragma once
// Log walls: the wall area measured flat times 1.05.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm14 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm14(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Sinks and washbasins: twice their horizontal projection.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm5 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm5(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

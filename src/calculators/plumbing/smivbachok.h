#pragma once
// Flush cisterns: 0.7 м2 a cistern, protruding parts and brackets included.

#include "calculators/common/oneinput.h"

namespace velaro {

class TForm7 : public OneInputWindow {
    Q_OBJECT
public:
    explicit TForm7(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

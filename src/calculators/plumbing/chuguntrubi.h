#pragma once
// Cast-iron pipelines, with the protrusions of sockets and the fasteners.

#include "calculators/plumbing/pipeline.h"

namespace velaro {

namespace chuguntrubi {
Outcome compute(const FormState& state);
} // namespace chuguntrubi

class TForm4 : public pipeline::Window {
  public:
    explicit TForm4(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Steel pipelines, with the protrusions of fittings and hooks and the fasteners.

#include "calculators/plumbing/pipeline.h"

namespace velaro {

namespace trubisfason {
Outcome compute(const FormState& state);
} // namespace trubisfason

class TForm3 : public pipeline::Window {
  public:
    explicit TForm3(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

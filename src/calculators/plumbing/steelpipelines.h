#pragma once
// Steel pipelines, with the protrusions of fittings and hooks and the fasteners.

#include "calculators/plumbing/pipeline.h"

namespace velaro {

namespace steelpipelines {
Outcome compute(const FormState& state);
} // namespace trubisfason

class SteelPipelinesWindow : public pipeline::Window {
  public:
    explicit SteelPipelinesWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

#pragma once
// Cast-iron pipelines, with the protrusions of sockets and the fasteners.

#include "calculators/plumbing/pipeline.h"

namespace velaro {

namespace castironpipelines {
Outcome compute(const FormState& state);
} // namespace chuguntrubi

class CastIronPipelinesWindow : public pipeline::Window {
  public:
    explicit CastIronPipelinesWindow(char decimalSeparator, QWidget* parent = nullptr);
};

} // namespace velaro

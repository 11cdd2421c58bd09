#include "calculators/plumbing/castironpipelines.h"

#include <array>

namespace velaro {
namespace {

// Painted area per running metre of pipes and fittings, sockets and fasteners included.
constexpr std::array<pipeline::Row, 5> kRows{{{50, "Edit3", 0.28L},
                                              {75, "Edit2", 0.37L},
                                              {100, "Edit4", 0.48L},
                                              {125, "Edit5", 0.59L},
                                              {150, "Edit6", 0.72L}}};

pipeline::Design design() {
    return {{"TForm4", "chuguntrubi", QStringLiteral("Калькулятор окраски чугунных трубопроводов"),
             QSize(492, 433)},
            QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ ЧУГУННЫХ ТРУБОПРОВОДОВ"),
            QStringLiteral("включая площади выступов от раструбов и креплений:"),
            QStringLiteral("Введите м.п. чугунных труб и фасонных частей:"),
            QStringLiteral("Суммарная площадь окраски чугунных трубопроводов:"),
            kRows};
}

} // namespace

Outcome castironpipelines::compute(const FormState& state) {
    return pipeline::compute(kRows, state);
}

CastIronPipelinesWindow::CastIronPipelinesWindow(char decimalSeparator, QWidget* parent)
    : pipeline::Window(design(), decimalSeparator, parent) {}

} // namespace velaro

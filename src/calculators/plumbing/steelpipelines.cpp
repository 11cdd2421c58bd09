#include "calculators/plumbing/steelpipelines.h"

#include <array>

namespace velaro {
namespace {

// Painted area per running metre, fittings and fasteners included.
constexpr std::array<pipeline::Row, 9> kRows{{{15, "Edit3", 0.11L},
                                              {20, "Edit2", 0.13L},
                                              {25, "Edit4", 0.16L},
                                              {32, "Edit5", 0.18L},
                                              {40, "Edit6", 0.21L},
                                              {50, "Edit7", 0.26L},
                                              {63, "Edit8", 0.31L},
                                              {75, "Edit9", 0.36L},
                                              {100, "Edit10", 0.46L}}};

pipeline::Design design() {
    return {{"TForm3", "trubisfason", QStringLiteral("Калькулятор окраски стальных трубопроводов"),
             QSize(492, 569)},
            QStringLiteral("ОПРЕДЕЛЕНИЕ ПЛОЩАДИ ОКРАСКИ СТАЛЬНЫХ ТРУБОПРОВОДОВ"),
            QStringLiteral("включая площади выступов от фасонных частей и крючьев, и крепления:"),
            QStringLiteral("Введите м.п. стальных трубопроводов:"),
            QStringLiteral("Суммарная площадь окраски стальных трубопроводов:"),
            kRows};
}

} // namespace

Outcome steelpipelines::compute(const FormState& state) {
    return pipeline::compute(kRows, state);
}

SteelPipelinesWindow::SteelPipelinesWindow(char decimalSeparator, QWidget* parent)
    : pipeline::Window(design(), decimalSeparator, parent) {}

} // namespace velaro

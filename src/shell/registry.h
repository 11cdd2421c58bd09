#pragma once
// The window registry: Form1 … Form27, one window each. The calculators are registered with the
// means to build them and built when first reached for (their button), so that start-up and
// memory at rest carry only the main window. The registry owns the calculators; the program owns
// the main window.

#include <QWidget>

#include <array>
#include <functional>

namespace velaro {

class WindowRegistry {
  public:
    static constexpr int kFirstCalculator = 2;
    static constexpr int kLastForm = 27;
    using Factory = std::function<QWidget*()>;

    WindowRegistry() = default;
    WindowRegistry(const WindowRegistry&) = delete;
    WindowRegistry& operator=(const WindowRegistry&) = delete;
    ~WindowRegistry();

    void add(int formNumber, QWidget* window);
    void addFactory(int formNumber, Factory factory);

    // The window of class TForm<n>, built now if need be; nullptr for a number without one.
    QWidget* Form(int formNumber);
    // The window if it has been built already, else nullptr: one not built yet is hidden.
    QWidget* builtForm(int formNumber) const;

  private:
    std::array<QWidget*, kLastForm + 1> forms_{};
    std::array<Factory, kLastForm + 1> factories_{};
};

} // namespace velaro

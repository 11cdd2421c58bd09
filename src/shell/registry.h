#pragma once
// The window registry: one reference per window, Form1 … Form27, each to the one instance of its
// class. The calculators are registered at start-up with the means to build them, and each is
// built the first time something reaches for it (its button), so that start-up and memory at
// rest carry only the main window. A calculator built on its first opening looks and behaves
// exactly as one built earlier: it starts with empty fields and keeps them from then on.
// The registry owns the calculator windows; the main window is owned by the program.

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

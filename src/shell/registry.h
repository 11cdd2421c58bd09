#pragma once
// The window registry: one reference per window, Form1 … Form27, each to the one instance of its
// class. The registry owns the calculator windows; the main window is owned by the program.

#include <QWidget>

#include <array>
#include <memory>

namespace velaro {

class WindowRegistry {
public:
    static constexpr int kFirstCalculator = 2;
    static constexpr int kLastForm = 27;

    void add(int formNumber, QWidget* window);
    // The window of class TForm<n>, or nullptr.
    QWidget* Form(int formNumber) const;

    ~WindowRegistry();

private:
    std::array<QWidget*, kLastForm + 1> forms_{};
};

} // namespace velaro

#include "shell/registry.h"

namespace velaro {

void WindowRegistry::add(int formNumber, QWidget* window) {
    Q_ASSERT(formNumber >= 1 && formNumber <= kLastForm && !forms_[formNumber]);
    forms_[formNumber] = window;
}

void WindowRegistry::addFactory(int formNumber, Factory factory) {
    Q_ASSERT(formNumber >= kFirstCalculator && formNumber <= kLastForm);
    factories_[formNumber] = std::move(factory);
}

QWidget* WindowRegistry::Form(int formNumber) {
    if (formNumber < 1 || formNumber > kLastForm)
        return nullptr;
    if (!forms_[formNumber] && factories_[formNumber])
        forms_[formNumber] = factories_[formNumber]();
    return forms_[formNumber];
}

QWidget* WindowRegistry::builtForm(int formNumber) const {
    if (formNumber < 1 || formNumber > kLastForm)
        return nullptr;
    return forms_[formNumber];
}

WindowRegistry::~WindowRegistry() {
    for (int n = kLastForm; n >= kFirstCalculator; --n)
        delete forms_[n];
}

} // namespace velaro

#include "calculators/catalog.h"
#include "calculators/surfaces/brevno.h"
#include "calculators/surfaces/kessonpotolok.h"
#include "calculators/surfaces/lepizdeliya.h"
#include "calculators/surfaces/leppotolok.h"
#include "calculators/surfaces/prostreshetki.h"
#include "calculators/surfaces/rebristperekritiya.h"
#include "calculators/surfaces/slozhniereshetki.h"
#include "calculators/surfaces/sredniereshetki.h"
#include "calculators/surfaces/vagonka.h"
#include "calculators/surfaces/volnistlisti.h"

namespace velaro {

std::vector<CalculatorEntry> surfaceCalculators() {
    return {
        calculatorEntry<10, TForm10>(),
        calculatorEntry<11, TForm11>(),
        calculatorEntry<12, TForm12>(),
        calculatorEntry<13, TForm13>(),
        calculatorEntry<14, TForm14>(),
        calculatorEntry<15, TForm15>(),
        calculatorEntry<16, TForm16>(),
        calculatorEntry<17, TForm17>(),
        calculatorEntry<18, TForm18>(),
        calculatorEntry<19, TForm19>(),
    };
}

} // namespace velaro

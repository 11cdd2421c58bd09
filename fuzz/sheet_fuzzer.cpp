// Any bytes may be opened as a sheet: the loader gives a sheet or a reason, and never crashes,
// hangs or overflows. A sheet it gives is written and read back unchanged, with the document it
// belongs to, and its figures and totals can be worked out.

#include "estimate/columns.h"
#include "estimate/sheetfile.h"

#include <QHash>

#include <cstdint>
#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    auto loaded = velaro::sheetFromJson(bytes);
    if (std::holds_alternative<velaro::LoadError>(loaded)) {
        if (std::get<velaro::LoadError>(loaded).reason.isEmpty())
            std::abort();
        return 0;
    }
    const auto& [sheet, document] = std::get<velaro::LoadedSheet>(loaded);
    auto again = velaro::sheetFromJson(velaro::sheetToJson(sheet, document));
    if (!std::holds_alternative<velaro::LoadedSheet>(again))
        std::abort();
    const auto& [sheetAgain, documentAgain] = std::get<velaro::LoadedSheet>(again);
    if (!(sheetAgain == sheet) || documentAgain.path != document.path ||
        documentAgain.modified != document.modified)
        std::abort();

    QHash<int, velaro::MaterialRates> rates;
    for (const velaro::Material& material : sheet.materials)
        if (const auto found = velaro::MaterialRates::of(material))
            rates.insert(material.id, *found);
    velaro::Totals totals;
    for (const velaro::Line& line : sheet.lines) {
        const auto figures =
            velaro::LineFigures::of(line, velaro::systemOf(sheet.systems, line.system), rates);
        totals.add(line, figures);
        if (figures.area)
            figures.area->text(u',', 0, true);
    }
    for (auto sum = totals.paint().begin(); sum != totals.paint().end(); ++sum) {
        const auto found = rates.find(sum.key());
        velaro::MaterialTotal::of(sum.value().value, found == rates.end() ? nullptr : &*found);
    }
    totals.area().text(u'.', 2, true);
    return 0;
}

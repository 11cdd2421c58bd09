// Any bytes may be a supplier's price list: reading it gives rows or named problems and never
// crashes or hangs, and taking it into a catalogue leaves a catalogue its file takes back whole.
// The same bytes as a catalogue file: refused with a reason, or written and read back unchanged.

#include "estimate/pricecatalogue.h"
#include "estimate/priceupdate.h"

#include <cstdint>
#include <cstdlib>
#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const velaro::PriceList list = velaro::priceListOf(velaro::csvRecords(bytes));
    for (const QChar separator : {u',', u'.'}) {
        const velaro::CatalogueImport taken = velaro::importPriceList({}, list, separator);
        const auto again = velaro::catalogueFromJson(velaro::catalogueToJson(taken.catalogue));
        if (!std::holds_alternative<velaro::PriceCatalogue>(again) ||
            !(std::get<velaro::PriceCatalogue>(again) == taken.catalogue))
            std::abort();
    }

    const auto read = velaro::catalogueFromJson(bytes);
    if (const QString* reason = std::get_if<QString>(&read)) {
        if (reason->isEmpty())
            std::abort();
        return 0;
    }
    const auto& catalogue = std::get<velaro::PriceCatalogue>(read);
    const auto again = velaro::catalogueFromJson(velaro::catalogueToJson(catalogue));
    if (!std::holds_alternative<velaro::PriceCatalogue>(again) ||
        !(std::get<velaro::PriceCatalogue>(again) == catalogue))
        std::abort();
    return 0;
}

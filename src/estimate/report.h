#pragma once
// The sheet as every document reads it, worked out in one place: the title block; the rooms in
// the estimator's order, each with its lines in the sheet's order and its subtotal; the materials
// with their quantities, cans and cost; the money and the sum in words. The grouped view, the
// paper, the workbook and the CSV file all read it; none groups lines or adds paint on its own.
// Lines are numbered as printed: room by room, from 1.

#include "estimate/export.h"

#include <QDate>

#include <optional>
#include <vector>

namespace velaro {

// The lines of each room, in the order the estimator gives the rooms (a room the list lacks
// after them, in the order its lines first come), each room's lines in the sheet's order.
struct RoomLines {
    QString room;
    std::vector<int> lines; // rows of the sheet
};
std::vector<RoomLines> linesByRoom(const SheetView& view);

// A material some line takes, with what the sheet takes of it. Every figure can be checked by
// hand: of one size, cans = quantity ÷ can size, rounded up; of several, the cheapest whole cans
// that hold the quantity; cost = each size's cans × its price, summed.
struct ReportMaterial {
    const Material* material;
    const MaterialRates* rates;
    Decimal quantity; // the lines' paint summed, each layer rounded to hundredths
    std::vector<long long> cans; // of each of the material's sizes; empty: not known
    std::optional<Decimal> cost;
};

struct ReportRoom {
    QString room;
    QString title; // as documents name it: «(без помещения)» for a line without a room
    std::vector<int> lines; // rows of the sheet, in the order printed
    Decimal area;           // м2
    Decimal work;
    std::vector<Decimal> paint; // per material of the report, in its order
};

// The title block: the object and who is who; the date as typed, or the day given. Above it the
// approval block, where either side's signatory is given.
struct TitleBlock {
    QString object, address, client, contractor, estimator, date;
    Signatory clientSignatory, contractorSignatory;
    // The documents' title: the object, or «Ведомость окраски» without one.
    QString title() const;
    bool hasApproval() const {
        return !clientSignatory.isEmpty() || !contractorSignatory.isEmpty();
    }
};

class Report {
  public:
    static Report of(const SheetView& view, const QDate& today = QDate::currentDate());

    const SheetView& view() const { return view_; }
    const TitleBlock& titleBlock() const { return titleBlock_; }
    const std::vector<ReportRoom>& rooms() const { return rooms_; }
    const std::vector<ReportMaterial>& materials() const { return materials_; }
    const Money& money() const { return money_; }
    const Decimal& area() const { return view_.totals.area(); }
    const Decimal& work() const { return view_.totals.work(); }
    QString sumInWords() const;

    // A line's number as printed, from its row in the sheet.
    int numberOf(int row) const { return numbers_[std::size_t(row)]; }
    // What the line takes of the material at `material` in materials(), its layers' rounded
    // amounts summed; nullopt where it takes none.
    std::optional<Decimal> paintOf(int row, std::size_t material) const;
    // The place in materials() of the material of that id, or -1.
    int materialPlace(int id) const;

  private:
    explicit Report(const SheetView& view) : view_(view) {}

    SheetView view_; // references to the sheet, which outlives the report
    TitleBlock titleBlock_;
    std::vector<ReportRoom> rooms_;
    std::vector<ReportMaterial> materials_;
    Money money_;
    std::vector<int> numbers_;
};

// The sum in Russian words, as a payment document writes it: «Сорок семь тысяч шестьсот рублей
// 40 копеек».
QString roublesInWords(const Decimal& sum);

} // namespace velaro

#include "estimate/report.h"

#include <QHash>

#include <array>

namespace velaro {

std::vector<RoomLines> linesByRoom(const SheetView& view) {
    std::vector<RoomLines> rooms;
    QHash<QString, std::size_t> place;
    rooms.reserve(std::size_t(view.rooms.size()));
    for (const QString& room : view.rooms) {
        place.insert(room, rooms.size());
        rooms.push_back({room, {}});
    }
    for (qsizetype row = 0; row < view.sheet.lines.size(); ++row) {
        const QString& room = view.sheet.lines[row].room;
        auto found = place.constFind(room);
        if (found == place.cend()) {
            found = place.insert(room, rooms.size());
            rooms.push_back({room, {}});
        }
        rooms[*found].lines.push_back(int(row));
    }
    std::erase_if(rooms, [](const RoomLines& room) { return room.lines.empty(); });
    return rooms;
}

QString TitleBlock::title() const {
    return object.isEmpty() ? QStringLiteral("Ведомость окраски") : object;
}

Report Report::of(const SheetView& view, const QDate& today) {
    Report report(view);
    const SheetProperties& p = view.sheet.properties;
    const auto signatory = [](const Signatory& s) {
        return Signatory{s.position.trimmed(), s.name.trimmed()};
    };
    report.titleBlock_ = {p.object.trimmed(),           p.address.trimmed(),
                          p.client.trimmed(),           p.contractor.trimmed(),
                          p.estimator.trimmed(),        p.date.trimmed(),
                          signatory(p.clientSignatory), signatory(p.contractorSignatory)};
    if (report.titleBlock_.date.isEmpty())
        report.titleBlock_.date = today.toString(QStringLiteral("dd.MM.yyyy"));

    // The materials some line takes, in the sheet's order.
    for (const Material& material : view.sheet.materials) {
        const auto rates = view.rates.find(material.id);
        if (!view.totals.paint().contains(material.id) || rates == view.rates.end())
            continue;
        const MaterialTotal total =
            MaterialTotal::of(view.totals.paint().value(material.id).value, &*rates);
        report.materials_.push_back({&material, &*rates, total.quantity, total.cans, total.cost});
    }

    report.numbers_.assign(std::size_t(view.sheet.lines.size()), 0);
    int number = 0;
    for (RoomLines& room : linesByRoom(view)) {
        ReportRoom printed{room.room, roomTitle(room.room), std::move(room.lines), {}, {},
                           std::vector<Decimal>(report.materials_.size())};
        for (int row : printed.lines) {
            report.numbers_[std::size_t(row)] = ++number;
            for (const LineFigures::Paint& layer : view.figures[std::size_t(row)].paint)
                if (const int at = report.materialPlace(layer.material); at >= 0)
                    printed.paint[std::size_t(at)] += layer.amount;
        }
        const Totals::Sum sum = view.totals.rooms().value(room.room);
        printed.area = sum.value;
        printed.work = sum.work;
        report.rooms_.push_back(std::move(printed));
    }
    // The materials' cost as the report has it: their totals are not worked out twice.
    Decimal materials;
    for (const ReportMaterial& material : report.materials_)
        materials += material.cost.value_or(Decimal());
    report.money_ = moneyOf(materials, view.totals.work(), view.sheet.vatRate,
                            view.sheet.overheadRate, view.sheet.profitRate);
    return report;
}

int Report::materialPlace(int id) const {
    for (std::size_t i = 0; i < materials_.size(); ++i)
        if (materials_[i].material->id == id)
            return int(i);
    return -1;
}

std::optional<Decimal> Report::paintOf(int row, std::size_t material) const {
    std::optional<Decimal> sum;
    for (const LineFigures::Paint& layer : view_.figures[std::size_t(row)].paint)
        if (layer.material == materials_[material].material->id)
            sum = sum.value_or(Decimal()) + layer.amount;
    return sum;
}

QString Report::sumInWords() const {
    return roublesInWords(money_.total);
}

// ---- The sum in words ----

namespace {

using Forms = std::array<const char16_t*, 3>; // 1 рубль, 2 рубля, 5 рублей

const char16_t* formOf(long long n, const Forms& forms) {
    const long long tens = n % 100;
    const long long ones = n % 10;
    if (tens >= 11 && tens <= 14)
        return forms[2];
    return ones == 1 ? forms[0] : ones >= 2 && ones <= 4 ? forms[1] : forms[2];
}

// 1…999 in words; `feminine` for thousands: «одна тысяча», «две тысячи».
QString hundredsInWords(int n, bool feminine) {
    static const char16_t* const hundreds[] = {u"",          u"сто",      u"двести",   u"триста",
                                               u"четыреста", u"пятьсот",  u"шестьсот", u"семьсот",
                                               u"восемьсот", u"девятьсот"};
    static const char16_t* const tens[] = {
        u"",          u"",           u"двадцать",  u"тридцать",    u"сорок",
        u"пятьдесят", u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
    static const char16_t* const teens[] = {
        u"десять",     u"одиннадцать", u"двенадцать", u"тринадцать",   u"четырнадцать",
        u"пятнадцать", u"шестнадцать", u"семнадцать", u"восемнадцать", u"девятнадцать"};
    static const char16_t* const ones[] = {u"",     u"один",  u"два",  u"три",    u"четыре",
                                           u"пять", u"шесть", u"семь", u"восемь", u"девять"};
    QStringList words;
    if (n >= 100)
        words << QString::fromUtf16(hundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 10 && rest < 20) {
        words << QString::fromUtf16(teens[rest - 10]);
    } else {
        if (rest >= 20)
            words << QString::fromUtf16(tens[rest / 10]);
        const int one = rest % 10;
        if (one == 1 || one == 2)
            words << (feminine ? QString::fromUtf16(one == 1 ? u"одна" : u"две")
                               : QString::fromUtf16(ones[one]));
        else if (one)
            words << QString::fromUtf16(ones[one]);
    }
    return words.join(u' ');
}

} // namespace

QString roublesInWords(const Decimal& sum) {
    const Decimal rounded = sum.rounded(2);
    QString digits = rounded.text(u'.', 2);
    const bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    const qsizetype point = digits.indexOf(u'.');
    const QString whole = digits.left(point);
    const int kopecks = digits.mid(point + 1, 2).toInt();
    static const Forms kopeckForms{u"копейка", u"копейки", u"копеек"};
    const QString kopeckText =
        QStringLiteral("%1 %2").arg(kopecks, 2, 10, QChar(u'0')).arg(formOf(kopecks, kopeckForms));
    // Past hundreds of trillions no estimate goes; such a sum keeps its figures.
    if (whole.size() > 15)
        return QStringLiteral("%1%2 руб. %3").arg(negative ? "минус " : "", whole, kopeckText);

    struct Scale {
        long long size;
        Forms forms;
        bool feminine;
    };
    static const Scale scales[] = {
        {1'000'000'000'000LL, {u"триллион", u"триллиона", u"триллионов"}, false},
        {1'000'000'000LL, {u"миллиард", u"миллиарда", u"миллиардов"}, false},
        {1'000'000LL, {u"миллион", u"миллиона", u"миллионов"}, false},
        {1'000LL, {u"тысяча", u"тысячи", u"тысяч"}, true}};
    const long long roubles = whole.toLongLong();
    QStringList words;
    if (negative)
        words << QStringLiteral("минус");
    long long rest = roubles;
    for (const Scale& scale : scales) {
        const int count = int(rest / scale.size);
        rest %= scale.size;
        if (count)
            words << hundredsInWords(count, scale.feminine)
                  << QString::fromUtf16(formOf(count, scale.forms));
    }
    if (rest)
        words << hundredsInWords(int(rest), false);
    if (roubles == 0)
        words << QStringLiteral("ноль");
    words << QString::fromUtf16(formOf(roubles, {u"рубль", u"рубля", u"рублей"})) << kopeckText;
    QString text = words.join(u' ');
    text[0] = text[0].toUpper();
    return text;
}


} // namespace velaro

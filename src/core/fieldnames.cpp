#include "core/fieldnames.h"

#include <QLabel>

namespace velaro {

QString oneLine(const QString& shown) {
    return shown.simplified();
}

void nameAfter(QWidget* field, QLabel* label, const QString& qualifier) {
    if (!label->buddy())
        label->setBuddy(field); // a heading over several fields is the buddy of the first
    QString name = oneLine(label->text());
    if (!qualifier.isEmpty()) {
        if (name.endsWith(QLatin1Char(':')))
            name.chop(1);
        name += QStringLiteral(", ") + qualifier;
    }
    field->setAccessibleName(name);
}

} // namespace velaro

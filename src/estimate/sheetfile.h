#pragma once
// The sheet's file: JSON with a format name and a version, figures stored as the texts shown so
// that reopening shows the same digits. Reading refuses anything it cannot take whole, with a
// sentence saying what is wrong, and never half-reads a sheet.

#include "estimate/sheet.h"

#include <QByteArray>
#include <QJsonObject>

#include <variant>

namespace velaro {

inline const QString kSheetFormat = QStringLiteral("velaro-estimate");
inline constexpr int kSheetVersion = 1;
inline const QString kSheetSuffix = QStringLiteral("velaro-estimate");

// `extra` adds members of the caller's (the recovery file keeps the document's path in them).
QByteArray sheetToJson(const Sheet& sheet, const QJsonObject& extra = {});

struct LoadedSheet {
    Sheet sheet;
    QJsonObject object; // the whole file, for the caller's own members
};
struct LoadError {
    QString reason; // a sentence in the user's language, without the file's name
};

std::variant<LoadedSheet, LoadError> sheetFromJson(const QByteArray& bytes);

} // namespace velaro

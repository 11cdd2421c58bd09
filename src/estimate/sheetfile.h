#pragma once
// The sheet's file: JSON with a format name and a version, figures stored as the texts shown so
// that reopening shows the same digits. Reading refuses anything it cannot take whole, with a
// sentence saying what is wrong, and never half-reads a sheet.

#include "estimate/sheet.h"

#include <QByteArray>

#include <optional>
#include <variant>

namespace velaro {

inline const QString kSheetFormat = QStringLiteral("velaro-estimate");
// 2: materials known by an id; 3: paint systems of layers, rooms' walls and ceilings, lines typed
// by hand, prices of work, VAT; 4: openings shared by two rooms, overhead and profit rates, the
// signatories of the approval block, each layer's work priced with its norm (a layer may be work
// without a material), materials in several can sizes, the catalogue the materials came from.
inline constexpr int kSheetVersion = 4;
inline const QString kSheetSuffix = QStringLiteral("velaro-estimate");
// The largest file opening reads: kMaxLines lines of a busy sheet fit.
inline constexpr qint64 kLargestSheetFile = qint64(128) << 20;

// What the recovery file keeps beside the sheet: the document it belongs to.
struct DocumentState {
    QString path;
    bool modified = false;
};

QByteArray sheetToJson(const Sheet& sheet, const std::optional<DocumentState>& document = {});

struct LoadedSheet {
    Sheet sheet;
    DocumentState document; // empty where the file keeps none
};
struct LoadError {
    QString reason;      // a sentence in the user's language, without the file's name
    int newerFormat = 0; // the file's format, where a newer program wrote it
};

std::variant<LoadedSheet, LoadError> sheetFromJson(const QByteArray& bytes);

} // namespace velaro

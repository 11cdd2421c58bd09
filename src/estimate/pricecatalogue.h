#pragma once
// A firm's price list: materials with their can sizes and prices, and paint systems with their
// priced layers, kept in one file that many sheets take copies from. A sheet never refers to it
// for its figures (it must open the same on any machine); it keeps its own copies and the path
// of the catalogue they came from.
//
// The file may sit on a shared folder: it is written whole (safefile), by one program at a time
// (a QLockFile beside it), and read again whenever it changed since it was last read.

#include "estimate/sheet.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <variant>

namespace velaro {

struct PriceCatalogue {
    QList<Material> materials; // ids unique in the catalogue; layers refer to them
    QList<PaintSystem> systems;
    bool operator==(const PriceCatalogue&) const = default;

    // The material or system of that name, matched as a person reads names: blanks and letter
    // case aside. nullptr where there is none.
    const Material* material(const QString& name) const;
    const PaintSystem* system(const QString& name) const;
};

// Names compared as an estimator reads them: «Эмаль  ПФ-115» is «эмаль пф-115».
QString nameKey(const QString& name);

inline const QString kCatalogueFormat = QStringLiteral("velaro-catalogue");
inline constexpr int kCatalogueVersion = 1;
inline const QString kCatalogueSuffix = QStringLiteral("velaro-catalogue");
// A catalogue is a few thousand materials at most; a larger file is not one.
inline constexpr qint64 kLargestCatalogueFile = qint64(16) << 20;

QByteArray catalogueToJson(const PriceCatalogue& catalogue);
// The catalogue, or what is wrong with the file in a sentence.
std::variant<PriceCatalogue, QString> catalogueFromJson(const QByteArray& bytes);

// The catalogue file at one path, as this program last read it.
class CatalogueStore {
  public:
    explicit CatalogueStore(QString path);

    // AppDataLocation/catalogue.velaro-catalogue: the user's own, where no shared one is set.
    static QString defaultPath();
    const QString& path() const { return path_; }

    // The catalogue as its file holds it now, read again where the file changed since the last
    // read; a file not there yet is an empty catalogue. Empty where read, else why not (the
    // catalogue kept is then the last one read).
    QString refresh();
    const PriceCatalogue& catalogue() const { return catalogue_; }

    // Reads the file afresh under its lock, lets `edit` change it and writes it whole, so that
    // two estimators changing a shared catalogue never lose each other's changes. Empty where
    // written, else why not: held by another program, unreadable, the disk. `edit` returning
    // false writes nothing.
    QString change(const std::function<bool(PriceCatalogue&)>& edit);

  private:
    QString read();

    // What tells one version of the file from another: each write replaces the file whole, so
    // a new file (inode) as much as a new time or size; zero where none was read.
    struct Stamp {
        quint64 inode = 0, device = 0;
        qint64 modifiedNs = 0, size = -1;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp stampOf(const QString& path);

    QString path_;
    PriceCatalogue catalogue_;
    Stamp read_; // of the file as last read
};

} // namespace velaro

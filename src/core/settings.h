#pragma once
// The user's settings of the program, in ~/.config/velaro/velaro-paint.conf (the organization and
// the program named, as a desktop expects). Settings an earlier version kept under Qt's stand-in
// organization («Unknown Organization») are moved here once, at the first use, without loss.

#include <QSettings>

#include <memory>

namespace velaro {

std::unique_ptr<QSettings> programSettings();

} // namespace velaro

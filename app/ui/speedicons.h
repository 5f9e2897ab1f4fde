// The pictures of the speed buttons that no icon theme has: the record editor's and the
// barograph's, drawn for the 25 x 25 buttons.
#pragma once

#include <QIcon>

namespace speedicon {

/// A sheet of lines with a pencil: edit the selected flights.
QIcon edit();
/// A small barograph trace: show the selected flights' barographs.
QIcon graph();

} // namespace speedicon

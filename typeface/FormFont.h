#pragma once
// The typeface of Palettor's forms, the main window and the About box alike.
#include <QFont>

namespace palettor {

// An 8-point sans serif drawn 11 pixels high at every screen density: the forms place their
// controls at fixed pixels, measured for that face. Of the families named, the first one
// installed is used. Liberation Sans (Arial's widths) comes before the wider faces a Linux
// desktop falls back to, in which captions such as "Blue tail percent" outgrow their controls.
QFont FormFont();

}  // namespace palettor

// SPDX-License-Identifier: GPL-3.0-or-later
// Reads the user's date and time patterns from a QLocale into the core's plain format struct.
#pragma once

#include "core/datetimeformat.h"

#include <QLocale>

namespace vendle::widgets {

// Short date order, separator and padding from the locale's short date pattern (the year is always
// written with four digits); the hour's form and the morning/afternoon marker from its long time
// pattern; minutes and seconds always follow as ":mm:ss" with the locale's time separator.
DateTimeFormat dateTimeFormatFromLocale(const QLocale& locale);

} // namespace vendle::widgets

#pragma once

// The number a text starts with, read the way the C library's atoi and atof read it: leading
// blanks, an optional sign, then digits; whatever follows is ignored ("150KB" is 150). A text
// without a leading number counts as 0.

#include <QStringView>
#include <cstdint>

namespace korvana {

std::int64_t LeadingInteger(QStringView text);

// Accepts '.' and the user's own decimal separator.
double LeadingDecimal(QStringView text);

}  // namespace korvana

#include "controls/LeadingNumber.h"

#include <QLocale>
#include <charconv>
#include <limits>
#include <string>

namespace korvana {

namespace {

qsizetype SkipBlanks(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) {
        ++i;
    }
    return i;
}

}  // namespace

std::int64_t LeadingInteger(QStringView text) {
    qsizetype i = SkipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // Accumulated as a negative number so that the most negative value still fits.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative) {
        return value;
    }
    return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

double LeadingDecimal(QStringView text) {
    const QChar localPoint = QLocale().decimalPoint().front();
    std::string number;
    qsizetype i = SkipBlanks(text);
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') {
            number += '-';
        }
        ++i;
    }
    bool seenPoint = false;
    bool seenExponent = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            number += static_cast<char>(c.unicode());
        } else if (!seenPoint && !seenExponent && (c == u'.' || c == localPoint)) {
            number += '.';
            seenPoint = true;
        } else if (!seenExponent && (c == u'e' || c == u'E') && !number.empty() &&
                   number.back() >= '0' && number.back() <= '9') {
            number += 'e';
            seenExponent = true;
            if (i + 1 < text.size() && (text[i + 1] == u'+' || text[i + 1] == u'-')) {
                number += static_cast<char>(text[++i].unicode());
            }
        } else {
            break;
        }
    }
    double value = 0.0;
    // from_chars stops at the longest valid prefix, so a dangling "e" or "." is simply ignored.
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

}  // namespace korvana

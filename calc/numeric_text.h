#pragma once

#include <string>
#include <string_view>

namespace vorlith {

// Reads the longest number at the start of `text`, as the run-time's Val does:
// blanks (space, tab, line feed) are skipped everywhere, then an optional sign,
// decimal digits with at most one point, an optional exponent (E or D, either
// case), or an &H / &O integer. Full-width forms read as their ASCII twins,
// U+3000 as a blank and U+3002 as the point. Text without a number gives 0.
// A number beyond the range of a double raises RuntimeError 6 (overflow); one
// too small for a double gives the nearest double.
double Val(std::u16string_view text);

// Whether Val finds a number at the start of `text`: at least one digit after
// the blanks and the sign (or the &H / &O). "", "abc", "-", "." and "&H" hold
// none, and Val reads them as 0. Scans as Val does, but never raises.
bool val_reads_number(std::u16string_view text);

// Where Val stops reading `text`: the number of UTF-16 code units before the
// first character it leaves unread, text.size() when it reads all of it
// (blanks after the number included). "12abc" gives 2, "abc" 0, " 1 2 " 5.
// Never raises.
std::size_t val_stop(std::u16string_view text);

// Writes `value` as the run-time's Str does: rounded to 15 significant digits
// (ties to even), trailing zeros removed, no zero before the point, a blank in
// front of zero and positive values and a minus sign in front of negative ones,
// and exponent form (" 1E+15", " 3.33333333333333E-02") when the plain form
// would need more than 15 digits before or after the point.
std::string Str(double value);

// Str's text without its leading blank: how a number stands in a sentence.
std::string plain(double value);

// plain's text with a zero before a bare point, as a student writes a number
// out by hand: "0.74", "-0.6", "2.08", "1E-20".
std::string written(double value);

}  // namespace vorlith

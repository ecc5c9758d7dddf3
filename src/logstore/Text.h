// Fixed-width text fields and the number-to-text conventions shared by every screen and file.
#pragma once

#include <string>
#include <string_view>

namespace vl {

// Pads with blanks or cuts so the result is exactly `width` characters.
std::string fit(std::string_view text, std::size_t width);

// Removes leading and trailing blanks.
std::string_view trim(std::string_view text);
std::string_view trim_right(std::string_view text);

std::string to_upper(std::string_view text);

// Takes the first line off `text` and returns it without its CR LF, LF or CR ending. The
// program's text files are read line by line with this.
std::string_view take_line(std::string_view& text);

// A line of a file quoted in a message: cut to 80 characters, control bytes shown as blanks,
// so a screen reader reads it in a moment whatever the file holds.
std::string quoted_line(std::string_view line);

// The plain conversion: a number that is not negative gets one leading blank (" 12").
std::string plain_number(long value);

// Last two characters of (value + 100): 7 gives "07".
std::string two_digits(int value);

// The leading number of a text, as a lenient numeric read: blanks are skipped, then an
// optional sign, digits and one decimal point; anything else ends the number. No number is 0.
double leading_number(std::string_view text);

}  // namespace vl

#pragma once
// Decimal numbers with a fraction, as the program reads and writes them: temperatures on
// palettor-cli's command line and in the stored settings.
#include <optional>
#include <string>
#include <string_view>

namespace palettor {

// An optional '+' or '-', digits with an optional '.' and fraction (at least one digit in
// all), an optional exponent ("e-3"), and nothing else: no spaces, no "inf" or "nan", no hex.
// The value must be finite as a double.
std::optional<double> ParseDecimal(std::string_view text);

// The shortest decimal text that ParseDecimal reads back as exactly `value` ("40", "-0.5",
// "12.25"); a value that is not finite gives "nan", "inf" or "-inf", which it does not read.
std::string FormatDecimal(double value);

}  // namespace palettor

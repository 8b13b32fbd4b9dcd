#include "text/NumberText.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace wavora {

namespace {

// Formats |value| given as `digits` significant digits in scientific form
// without exponent notation.
std::string fixedFromScientific(double value, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, value);
    std::string s(buf);
    bool negative = false;
    std::size_t pos = 0;
    if (s[pos] == '-') {
        negative = true;
        ++pos;
    }
    std::string mantissa;
    std::size_t e = s.find('e');
    for (std::size_t i = pos; i < e; ++i)
        if (s[i] != '.') mantissa.push_back(s[i]);
    int exponent = std::atoi(s.c_str() + e + 1);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
    if (mantissa == "0") return "0";

    std::string out;
    if (exponent >= 0) {
        std::size_t intLen = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= intLen) {
            out = mantissa + std::string(intLen - mantissa.size(), '0');
        } else {
            out = mantissa.substr(0, intLen) + "." + mantissa.substr(intLen);
        }
    } else {
        out = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + mantissa;
    }
    return negative ? "-" + out : out;
}

} // namespace

std::string numberText(double value) {
    if (!std::isfinite(value) || value == 0.0) return "0";
    return fixedFromScientific(value, 15);
}

std::string floatText(float value) {
    if (!std::isfinite(value) || value == 0.0f) return "0";
    for (int digits = 1; digits < 9; ++digits) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*e", digits - 1, static_cast<double>(value));
        if (std::strtof(buf, nullptr) == value) return fixedFromScientific(value, digits);
    }
    return fixedFromScientific(value, 9);
}

std::string intText(std::int64_t value) { return std::to_string(value); }

double textToNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string digits;
    bool any = false;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        digits.push_back(text[i++]);
        any = true;
    }
    if (i < text.size() && text[i] == '.') {
        digits.push_back('.');
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            digits.push_back(text[i++]);
            any = true;
        }
    }
    if (!any) return 0.0;
    double v = std::strtod(digits.c_str(), nullptr);
    return negative ? -v : v;
}

int cutToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

std::string firstChars(std::string_view text, std::size_t n) {
    std::size_t i = 0, count = 0;
    while (i < text.size() && count < n) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        i += len;
        ++count;
    }
    return std::string(text.substr(0, i < text.size() ? i : text.size()));
}

} // namespace wavora

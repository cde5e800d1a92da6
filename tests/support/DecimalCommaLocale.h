#pragma once
// A C locale whose decimal separator is a comma, for as long as the object lives: the program runs
// in such a locale wherever the user's is German or French (Qt takes the user's locale at start on
// Linux). Not every machine has one installed; Windows always has.
#include <clocale>
#include <string>

namespace mr3x::test {

class DecimalCommaLocale {
public:
    DecimalCommaLocale() : before_(std::setlocale(LC_NUMERIC, nullptr))
    {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "German_Germany.1252"}) {
            if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
                active_ = true;
                return;
            }
        }
        std::setlocale(LC_NUMERIC, before_.c_str());
    }
    ~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, before_.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;

    bool active() const { return active_; }

private:
    std::string before_;
    bool active_ = false;
};

} // namespace mr3x::test

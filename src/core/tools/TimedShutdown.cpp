#include "tools/TimedShutdown.h"

#include <cwchar>

namespace mivra {
namespace {

constexpr long long kDay = 24 * 60 * 60;
constexpr long long kMinute = 60;

std::wstring TwoDigits(int value) {
    wchar_t text[8];
    std::swprintf(text, 8, L"%02d", value);
    return text;
}

std::optional<int> ParseTwoDigits(std::wstring_view text) {
    if (text.size() != 2 || text[0] < L'0' || text[0] > L'9' || text[1] < L'0' || text[1] > L'9') return {};
    return (text[0] - L'0') * 10 + (text[1] - L'0');
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, unsigned month, unsigned day) {
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<long long>(dayOfEra) - 719468;
}

long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

std::vector<std::wstring> ShutdownHours() {
    std::vector<std::wstring> hours;
    for (int hour = 0; hour < 24; ++hour) hours.push_back(TwoDigits(hour));
    return hours;
}

std::vector<std::wstring> ShutdownMinutes() {
    std::vector<std::wstring> minutes;
    for (int minute = 0; minute < 60; minute += 5) minutes.push_back(TwoDigits(minute));
    return minutes;
}

std::wstring ClockText(ClockTime at) { return TwoDigits(at.hour) + L":" + TwoDigits(at.minute); }

std::optional<ClockTime> ParseClockTime(std::wstring_view hour, std::wstring_view minute) {
    const auto h = ParseTwoDigits(hour), m = ParseTwoDigits(minute);
    if (!h || !m || *h > 23 || *m > 59) return {};
    return ClockTime{*h, *m};
}

std::wstring ShutdownArmedBalloon(ClockTime at) { return L"系统将在下一个 " + ClockText(at) + L" 自动关机。"; }

long long LocalSeconds(const LocalTime& time) {
    const unsigned month = time.month >= 1 && time.month <= 12 ? static_cast<unsigned>(time.month) : 1;
    // Days run on past the month's end (the 32nd of December is the 1st of January).
    const unsigned day = time.day >= 1 && time.day <= 62 ? static_cast<unsigned>(time.day) : 1;
    return DaysFromCivil(time.year, month, day) * kDay + time.hour * 3600LL + time.minute * kMinute + time.second;
}

long long ShutdownSchedule::NextAfter(long long now) const {
    const long long ofDay = armed_->hour * 3600LL + armed_->minute * kMinute;
    long long next = FloorDiv(now, kDay) * kDay + ofDay;
    if (next <= now) next += kDay;
    return next;
}

void ShutdownSchedule::Arm(ClockTime at, const LocalTime& now) {
    armed_ = at;
    target_ = NextAfter(LocalSeconds(now));
    warned_ = false;
}

ShutdownStep ShutdownSchedule::Check(const LocalTime& time) {
    if (!armed_) return ShutdownStep::Wait;
    const long long now = LocalSeconds(time);
    // The armed minute went by unheeded (the machine slept, or the clock was
    // set), or the clock went back by more than a day: the time counts from
    // now again, as the next one that matches.
    if (now >= target_ + kMinute || now < target_ - kDay) {
        target_ = NextAfter(now);
        warned_ = false;
    }
    if (!warned_ && now >= target_ - kMinute) {
        // Also when the warning minute was missed: never a shutdown without a warning first.
        warned_ = true;
        return ShutdownStep::Warn;
    }
    return warned_ && now >= target_ ? ShutdownStep::ShutDown : ShutdownStep::Wait;
}

}  // namespace mivra

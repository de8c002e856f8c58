#pragma once
// The timed shutdown's rules: the hours and minutes it offers, its texts,
// and when it warns and when it acts. The main panel's 15-second timer asks
// `Check` and carries out what it answers.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/Backups.h"

namespace mivra {

// A reading of the local clock.
using LocalTime = CalendarTime;

// A time of day to shut down at.
struct ClockTime {
    int hour = 0, minute = 0;
    bool operator==(const ClockTime&) const = default;
};

// "00".."23", and "00".."55" in steps of five: the lists of the window.
std::vector<std::wstring> ShutdownHours();
std::vector<std::wstring> ShutdownMinutes();
// "HH:MM"; the parse of the two list texts, nullopt for anything else.
std::wstring ClockText(ClockTime at);
std::optional<ClockTime> ParseClockTime(std::wstring_view hour, std::wstring_view minute);

std::wstring ShutdownArmedBalloon(ClockTime at);
inline constexpr std::wstring_view kShutdownWarningBalloon =
    L"系统将在 1 分钟后自动关机。可在主菜单“更多工具”中取消。";
inline constexpr unsigned kShutdownCheckMs = 15000;

enum class ShutdownStep { Wait, Warn, ShutDown };

// The armed time as a moment of the local clock: the next one that matches,
// today or tomorrow. The warning comes in the minute before it, and the
// shutdown only after the warning, within the armed minute.
class ShutdownSchedule {
public:
    // Arms `at`; a time of day that has begun already (this very minute too)
    // comes tomorrow.
    void Arm(ClockTime at, const LocalTime& now);
    void Cancel() { armed_.reset(); }
    bool Armed() const { return armed_.has_value(); }
    // The armed time; meaningful only while armed.
    ClockTime At() const { return armed_.value_or(ClockTime{}); }

    // What to do at a check. Asked again after ShutDown (the system may have
    // refused), it answers ShutDown again until the armed minute is over.
    ShutdownStep Check(const LocalTime& now);

private:
    // The next moment > `now` (seconds of the local clock) at the armed time of day.
    long long NextAfter(long long now) const;

    std::optional<ClockTime> armed_;
    long long target_ = 0;  // seconds of the local clock
    bool warned_ = false;
};

// Seconds of the local clock since 1970-01-01 00:00 (no time zone: the
// arithmetic of the wall clock, days of the proleptic Gregorian calendar).
long long LocalSeconds(const LocalTime& time);

}  // namespace mivra

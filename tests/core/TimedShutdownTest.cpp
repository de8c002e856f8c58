// The timed shutdown's lists, texts and clock: when it warns and when it acts.

#include <gtest/gtest.h>

#include <vector>

#include "tools/TimedShutdown.h"

namespace mivra {
namespace {

TEST(TimedShutdown, TheListsOfferEveryHourAndEveryFiveMinutesInTwoDigits) {
    const auto hours = ShutdownHours();
    ASSERT_EQ(hours.size(), 24u);
    EXPECT_EQ(hours.front(), L"00");
    EXPECT_EQ(hours[9], L"09");
    EXPECT_EQ(hours.back(), L"23");
    const std::vector<std::wstring> minutes = {L"00", L"05", L"10", L"15", L"20", L"25",
                                               L"30", L"35", L"40", L"45", L"50", L"55"};
    EXPECT_EQ(ShutdownMinutes(), minutes);
}

TEST(TimedShutdown, TextsAndParsing) {
    EXPECT_EQ(ClockText({7, 5}), L"07:05");
    EXPECT_EQ(ShutdownArmedBalloon({23, 30}), L"系统将在下一个 23:30 自动关机。");
    EXPECT_EQ(ParseClockTime(L"23", L"55"), (ClockTime{23, 55}));
    for (auto [hour, minute] : {std::pair{L"24", L"00"}, {L"1", L"00"}, {L"00", L"60"}, {L"", L""}, {L"0a", L"00"}})
        EXPECT_FALSE(ParseClockTime(hour, minute)) << hour << L":" << minute;
}

LocalTime At(int day, int hour, int minute, int second, int month = 12, int year = 2026) {
    return {year, month, day, hour, minute, second};
}

struct Case {
    const char* what;
    ClockTime armed;
    LocalTime armedAt;
    LocalTime warnsAt;  // the first 15-second check that warns
    LocalTime actsAt;   // the first check that shuts down
};

// Runs the 15-second checks from the arming on (the first one at once) and
// notes the first warning and the first shutdown.
void RunChecks(const Case& c) {
    ShutdownSchedule schedule;
    schedule.Arm(c.armed, c.armedAt);
    long long warned = -1, acted = -1;
    const long long start = LocalSeconds(c.armedAt);
    const long long warnsAt = LocalSeconds(c.warnsAt), actsAt = LocalSeconds(c.actsAt);
    for (long long t = start; t <= actsAt + 120 && acted < 0; t += 15) {
        // The clock reading of second t, from the start's date on.
        const long long day = t / 86400 - start / 86400;
        const long long ofDay = t % 86400;
        LocalTime now = c.armedAt;
        now.day += static_cast<int>(day);  // the cases stay within their month
        now.hour = static_cast<int>(ofDay / 3600);
        now.minute = static_cast<int>(ofDay / 60 % 60);
        now.second = static_cast<int>(ofDay % 60);
        const ShutdownStep step = schedule.Check(now);
        if (step == ShutdownStep::Warn) {
            EXPECT_LT(warned, 0) << c.what << ": one warning";
            warned = t;
        }
        if (step == ShutdownStep::ShutDown) acted = t;
    }
    EXPECT_EQ(warned, warnsAt) << c.what;
    EXPECT_EQ(acted, actsAt) << c.what;
}

TEST(TimedShutdown, WarnsInTheMinuteBeforeAndActsWithinTheFirst15SecondsOfTheArmedMinute) {
    const Case cases[] = {
        {"00:00 armed at 23:59:50 acts in the first 15 s of midnight", {0, 0}, At(10, 23, 59, 50),
         At(10, 23, 59, 50), At(11, 0, 0, 5)},
        {"the warning minute of 00:00 is 23:59 of the day before", {0, 0}, At(10, 12, 0, 7), At(10, 23, 59, 7),
         At(11, 0, 0, 7)},
        {"00:01 warns at midnight", {0, 1}, At(10, 23, 0, 0), At(11, 0, 0, 0), At(11, 0, 1, 0)},
        {"a later time today", {18, 30}, At(10, 18, 0, 3), At(10, 18, 29, 3), At(10, 18, 30, 3)},
        {"a time just passed waits until tomorrow", {18, 25}, At(10, 18, 30, 0), At(11, 18, 24, 0),
         At(11, 18, 25, 0)},
        {"the minute that has begun counts as passed", {18, 30}, At(10, 18, 30, 10), At(11, 18, 29, 10),
         At(11, 18, 30, 10)},
        {"armed inside the warning minute, it warns at once", {18, 30}, At(10, 18, 29, 40), At(10, 18, 29, 40),
         At(10, 18, 30, 10)},
        {"across the end of a month", {0, 5}, At(31, 23, 0, 0), At(32, 0, 4, 0), At(32, 0, 5, 0)},
    };
    for (const Case& c : cases) RunChecks(c);
}

// Checks at the given moments (not every 15 seconds): what the machine's
// sleep, a moved clock or a refused shutdown look like to the schedule.
TEST(TimedShutdown, UnevenChecks) {
    using enum ShutdownStep;
    struct Check {
        LocalTime now;
        ShutdownStep step;
    };
    struct {
        const char* what;
        LocalTime armedAt;
        std::vector<Check> checks;
    } const cases[] = {
        {"a refused shutdown is asked again within the armed minute only, then the next day",
         At(10, 7, 0, 0),
         {{At(10, 7, 59, 0), Warn}, {At(10, 8, 0, 0), ShutDown}, {At(10, 8, 0, 45), ShutDown},
          {At(10, 8, 1, 0), Wait}, {At(11, 7, 59, 0), Warn}, {At(11, 8, 0, 0), ShutDown}}},
        {"asleep through the warning minute: the warning comes first, the shutdown at the next check",
         At(10, 7, 0, 0),
         {{At(10, 8, 0, 20), Warn}, {At(10, 8, 0, 35), ShutDown}}},
        {"asleep past the armed minute: nothing now, the next 08:00 instead",
         At(10, 7, 0, 0),
         {{At(10, 9, 30, 0), Wait}, {At(11, 7, 59, 30), Warn}, {At(11, 8, 0, 0), ShutDown}}},
        {"the clock set back by days: the next 08:00 of the new date",
         At(20, 7, 0, 0),
         {{At(10, 7, 0, 0), Wait}, {At(10, 7, 59, 0), Warn}, {At(10, 8, 0, 0), ShutDown}}},
    };
    for (const auto& c : cases) {
        ShutdownSchedule schedule;
        schedule.Arm({8, 0}, c.armedAt);
        for (const Check& check : c.checks)
            EXPECT_EQ(schedule.Check(check.now), check.step)
                << c.what << " at " << check.now.day << " " << check.now.hour << ":" << check.now.minute << ":"
                << check.now.second;
    }
}

TEST(TimedShutdown, CancelledOrNeverArmedItWaits) {
    ShutdownSchedule schedule;
    EXPECT_EQ(schedule.Check(At(10, 0, 0, 0)), ShutdownStep::Wait);
    schedule.Arm({0, 0}, At(10, 23, 59, 50));
    EXPECT_TRUE(schedule.Armed());
    EXPECT_EQ(schedule.At(), (ClockTime{0, 0}));
    schedule.Cancel();
    EXPECT_FALSE(schedule.Armed());
    EXPECT_EQ(schedule.Check(At(10, 23, 59, 55)), ShutdownStep::Wait);
    EXPECT_EQ(schedule.Check(At(11, 0, 0, 5)), ShutdownStep::Wait);
}

TEST(TimedShutdown, LocalSecondsCountCalendarDays) {
    EXPECT_EQ(LocalSeconds({1970, 1, 1, 0, 0, 0}), 0);
    EXPECT_EQ(LocalSeconds({2024, 3, 1, 0, 0, 0}) - LocalSeconds({2024, 2, 28, 0, 0, 0}), 2 * 86400) << "leap day";
    EXPECT_EQ(LocalSeconds({2027, 1, 1, 0, 0, 0}) - LocalSeconds({2026, 12, 31, 23, 59, 50}), 10);
}

}  // namespace
}  // namespace mivra

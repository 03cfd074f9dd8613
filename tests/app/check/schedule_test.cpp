// When the next automatic check falls due, from the interval and the
// no-check window.
#include "app/check/schedule.h"

#include <gtest/gtest.h>

#include "app/general/check_status.h"
#include "app/options/option_values.h"

namespace {

struct ScheduleRow {
    const char* name;
    const char* now;  // "yyyy-MM-dd HH:mm:ss"
    int16_t interval;
    int16_t extra;
    bool window;
    const char* begin;
    const char* end;
    bool alreadyDeferred;
    const char* previous;  // the stamp computed before
    const char* stamp;
    const char* text;
    bool deferred;
};

class Schedule : public testing::TestWithParam<ScheduleRow> {};

TEST_P(Schedule, NextCheckStampTextAndDeferral) {
    const ScheduleRow& row = GetParam();
    modGeneral::gIntervalMinutes = row.interval;
    modOptions::gOptNoCheck = row.window ? 1 : 0;
    modOptions::gOptNoCheckTime[0] = QString::fromLatin1(row.begin);
    modOptions::gOptNoCheckTime[1] = QString::fromLatin1(row.end);
    // The Options page's pending edits never move a check.
    modOptions::gEditOptNoCheckTime = {QStringLiteral("00:00"), QStringLiteral("23:59"), QString()};
    modGeneral::gNoCheckDeferred = row.alreadyDeferred;
    modGeneral::gNextCheckStamp = QString::fromLatin1(row.previous);
    modCheck::SetNextAutoCheckTime(
        row.extra, QDateTime::fromString(QString::fromLatin1(row.now), "yyyy-MM-dd HH:mm:ss"));
    EXPECT_EQ(modGeneral::gNextCheckStamp, QString::fromLatin1(row.stamp));
    EXPECT_EQ(modGeneral::gAutoCheckText, QString::fromLatin1(row.text));
    EXPECT_EQ(modGeneral::gNoCheckDeferred, row.deferred);
    EXPECT_EQ(modGeneral::gNextCheckStampSaved, modGeneral::gNextCheckStamp);
    EXPECT_EQ(modGeneral::gAutoCheckTextSaved, modGeneral::gAutoCheckText);
}

const ScheduleRow kRows[] = {
    {"PlainInterval", "2026-03-04 10:15:30", 30, 0, false, "", "", false, "", "04/03/26-10:45",
     "Auto Check at 10:45 AM", false},
    {"ExtraMinute", "2026-03-04 10:15:30", 15, 1, false, "", "", false, "", "04/03/26-10:31",
     "Auto Check at 10:31 AM", false},
    {"PastMidnight", "2026-03-04 23:50:00", 30, 0, false, "", "", false, "", "05/03/26-00:20",
     "Auto Check at 12:20 AM", false},
    {"PastMonthEnd", "2026-01-31 23:50:00", 30, 0, false, "", "", false, "", "01/02/26-00:20",
     "Auto Check at 12:20 AM", false},
    {"PastYearEnd", "2029-12-31 23:50:00", 30, 0, false, "", "", false, "", "01/01/30-00:20",
     "Auto Check at 12:20 AM", false},
    {"NoonIsPm", "2026-03-04 11:45:00", 15, 0, false, "", "", false, "", "04/03/26-12:00",
     "Auto Check at 12:00 PM", false},
    {"InsideWindowBeforeMidnight", "2026-03-04 22:40:00", 30, 0, true, "22:00", "06:00", false, "",
     "05/03/26-06:00", "Auto Check at 6:00 AM", true},
    {"InsideWindowAfterMidnight", "2026-03-05 01:00:00", 30, 0, true, "22:00", "06:00", false, "",
     "05/03/26-06:00", "Auto Check at 6:00 AM", true},
    {"AfterWindowAcrossMidnight", "2026-03-05 06:10:00", 30, 0, true, "22:00", "06:00", true, "05/03/26-06:00",
     "05/03/26-06:40", "Auto Check at 6:40 AM", false},
    {"SecondAccountOfTheRunKeepsTheDeferral", "2026-03-04 22:41:00", 30, 0, true, "22:00", "06:00", true,
     "05/03/26-06:00", "05/03/26-06:00", "Auto Check at 6:00 AM", true},
    {"DeferredOnceIsNotDeferredAgain", "2026-03-04 22:40:00", 30, 0, true, "22:00", "06:00", true,
     "04/03/26-22:40", "04/03/26-23:10", "Auto Check at 11:10 PM", false},
    {"EqualTimesDeferNothing", "2026-03-04 08:45:00", 15, 0, true, "09:00", "09:00", false, "", "04/03/26-09:00",
     "Auto Check at 9:00 AM", false},
    {"HalfTypedTimeDefersNothing", "2026-03-04 08:45:00", 15, 0, true, "2", "10:00", false, "", "04/03/26-09:00",
     "Auto Check at 9:00 AM", false},
    {"OutsideWindow", "2026-03-04 12:00:00", 30, 0, true, "13:00", "14:00", false, "", "04/03/26-12:30",
     "Auto Check at 12:30 PM", false},
    {"OnTheWindowsFirstMinute", "2026-03-04 12:30:10", 30, 0, true, "13:00", "14:00", false, "",
     "04/03/26-14:00", "Auto Check at 2:00 PM", true},
};

INSTANTIATE_TEST_SUITE_P(Rows, Schedule, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<ScheduleRow>& info) {
                             return std::string(info.param.name);
                         });

TEST(CheckStamps, CompareByTheMinuteTheyName) {
    struct Row {
        const char* a;
        const char* b;
        bool notLater;
    };
    const Row rows[] = {
        {"04/03/26-10:45", "04/03/26-10:45", true},  {"04/03/26-10:44", "04/03/26-10:45", true},
        {"05/03/26-00:20", "04/03/26-23:59", false}, {"31/12/26-23:59", "01/01/27-00:00", true},
        {"01/02/26-00:00", "31/01/26-23:00", false},  // as text "01/02" sorts first
        {"not a stamp", "04/03/26-10:45", false},    {"04/03/26-10:45", "", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(modCheck::StampNotLater(QString::fromLatin1(row.a), QString::fromLatin1(row.b)),
                  row.notLater)
            << row.a << " vs " << row.b;
}

}  // namespace

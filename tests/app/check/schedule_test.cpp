// When the next automatic check falls due, from the interval and the
// no-check window, in a zone whose clock changes twice a year.
#include "app/check/schedule.h"

#include <gtest/gtest.h>

#include "app/general/check_status.h"
#include "app/options/option_values.h"
#include "tests/support/time_zone.h"

namespace {

struct ScheduleRow {
    const char* name;
    const char* now;  // ISO 8601: the wall clock, or with the offset in force
    int16_t interval;
    int16_t extra;
    bool window;
    const char* begin;
    const char* end;
    bool alreadyDeferred;
    const char* previous;  // the check computed before, as now
    const char* next;
    const char* text;
    bool deferred;
};

QDateTime At(const char* iso) {
    if (*iso == 0) return {};
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

class Schedule : public testing::TestWithParam<ScheduleRow> {
    const TimeZone berlin_{"Europe/Berlin"};
};

TEST_P(Schedule, NextCheckStampTextAndDeferral) {
    const ScheduleRow& row = GetParam();
    modOptions::gOpt.Hours = static_cast<int16_t>(row.interval / 60);
    modOptions::gOpt.Minutes = static_cast<int16_t>(row.interval % 60);
    modGeneral::CheckRunState run;
    modOptions::gOpt.NoCheck = row.window ? 1 : 0;
    modOptions::gOpt.NoCheckTime[0] = QString::fromLatin1(row.begin);
    modOptions::gOpt.NoCheckTime[1] = QString::fromLatin1(row.end);
    // The Options page's pending edits never move a check.
    modOptions::gEditOpt.NoCheckTime = {QStringLiteral("00:00"), QStringLiteral("23:59"), QString()};
    run.NoCheckDeferred = row.alreadyDeferred;
    run.NextCheckStamp = At(row.previous);
    modCheck::SetNextAutoCheckTime(run, row.extra, At(row.now));
    EXPECT_EQ(run.NextCheckStamp, At(row.next))
        << run.NextCheckStamp.toLocalTime().toString(Qt::ISODateWithMs).toStdString();
    EXPECT_EQ(run.AutoCheckText, QString::fromLatin1(row.text));
    EXPECT_EQ(run.NoCheckDeferred, row.deferred);
    EXPECT_EQ(run.NextCheckStampSaved, run.NextCheckStamp);
    EXPECT_EQ(run.AutoCheckTextSaved, run.AutoCheckText);
}

const ScheduleRow kRows[] = {
    {"PlainInterval", "2026-03-04T10:15:30", 30, 0, false, "", "", false, "", "2026-03-04T10:45:00",
     "Auto Check at 10:45 AM", false},
    {"ExtraMinute", "2026-03-04T10:15:30", 15, 1, false, "", "", false, "", "2026-03-04T10:31:00",
     "Auto Check at 10:31 AM", false},
    {"PastMidnight", "2026-03-04T23:50:00", 30, 0, false, "", "", false, "", "2026-03-05T00:20:00",
     "Auto Check at 12:20 AM", false},
    {"PastMonthEnd", "2026-01-31T23:50:00", 30, 0, false, "", "", false, "", "2026-02-01T00:20:00",
     "Auto Check at 12:20 AM", false},
    {"PastYearEnd", "2029-12-31T23:50:00", 30, 0, false, "", "", false, "", "2030-01-01T00:20:00",
     "Auto Check at 12:20 AM", false},
    {"NoonIsPm", "2026-03-04T11:45:00", 15, 0, false, "", "", false, "", "2026-03-04T12:00:00",
     "Auto Check at 12:00 PM", false},
    {"InsideWindowBeforeMidnight", "2026-03-04T22:40:00", 30, 0, true, "22:00", "06:00", false, "",
     "2026-03-05T06:00:00", "Auto Check at 6:00 AM", true},
    {"InsideWindowAfterMidnight", "2026-03-05T01:00:00", 30, 0, true, "22:00", "06:00", false, "",
     "2026-03-05T06:00:00", "Auto Check at 6:00 AM", true},
    {"AfterWindowAcrossMidnight", "2026-03-05T06:10:00", 30, 0, true, "22:00", "06:00", true,
     "2026-03-05T06:00:00", "2026-03-05T06:40:00", "Auto Check at 6:40 AM", false},
    {"SecondAccountOfTheRunKeepsTheDeferral", "2026-03-04T22:41:00", 30, 0, true, "22:00", "06:00", true,
     "2026-03-05T06:00:00", "2026-03-05T06:00:00", "Auto Check at 6:00 AM", true},
    {"DeferredOnceIsNotDeferredAgain", "2026-03-04T22:40:00", 30, 0, true, "22:00", "06:00", true,
     "2026-03-04T22:40:00", "2026-03-04T23:10:00", "Auto Check at 11:10 PM", false},
    {"EqualTimesDeferNothing", "2026-03-04T08:45:00", 15, 0, true, "09:00", "09:00", false, "",
     "2026-03-04T09:00:00", "Auto Check at 9:00 AM", false},
    {"HalfTypedTimeDefersNothing", "2026-03-04T08:45:00", 15, 0, true, "2", "10:00", false, "",
     "2026-03-04T09:00:00", "Auto Check at 9:00 AM", false},
    {"OutsideWindow", "2026-03-04T12:00:00", 30, 0, true, "13:00", "14:00", false, "", "2026-03-04T12:30:00",
     "Auto Check at 12:30 PM", false},
    {"OnTheWindowsFirstMinute", "2026-03-04T12:30:10", 30, 0, true, "13:00", "14:00", false, "",
     "2026-03-04T14:00:00", "Auto Check at 2:00 PM", true},
    // On 29 March 2026 the clock jumps from 02:00 to 03:00; on 25 October it
    // goes back from 03:00 to 02:00 and reads the hour from 02:00 twice.
    {"SpringIntervalAcrossTheSkippedHour", "2026-03-29T01:50:00+01:00", 30, 0, false, "", "", false, "",
     "2026-03-29T03:20:00+02:00", "Auto Check at 3:20 AM", false},
    {"SpringWindowEndingInTheSkippedHourEndsAtTheJump", "2026-03-29T01:30:00+01:00", 15, 0, true, "01:00",
     "02:30", false, "", "2026-03-29T03:00:00+02:00", "Auto Check at 3:00 AM", true},
    {"SpringWindowBeginningInTheSkippedHour", "2026-03-29T01:50:00+01:00", 30, 0, true, "02:15", "04:00",
     false, "", "2026-03-29T04:00:00+02:00", "Auto Check at 4:00 AM", true},
    {"AutumnIntervalIntoTheRepeatedHour", "2026-10-25T02:40:00+02:00", 30, 0, false, "", "", false, "",
     "2026-10-25T02:10:00+01:00", "Auto Check at 2:10 AM", false},
    {"AutumnWindowEndOnTheFirstPass", "2026-10-25T02:05:00+02:00", 15, 0, true, "01:30", "02:30", false, "",
     "2026-10-25T02:30:00+02:00", "Auto Check at 2:30 AM", true},
    {"AutumnWindowEndOnTheSecondPass", "2026-10-25T02:05:00+01:00", 15, 0, true, "01:30", "02:30", false, "",
     "2026-10-25T02:30:00+01:00", "Auto Check at 2:30 AM", true},
};

INSTANTIATE_TEST_SUITE_P(Rows, Schedule, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<ScheduleRow>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

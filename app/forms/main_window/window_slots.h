#pragma once
// The main window's numbered controls by name: the one-button bars of its
// tbrButtons array, the panels of its status bar and its pages (the fraMain
// frames and gCurrentPane).
#include <cstdint>

namespace forms {

// tbrButtons(i): each bar holds one button.
namespace bar {
inline constexpr int16_t kEmailHelp = 0;
inline constexpr int16_t kStopRetrieval = 1;
inline constexpr int16_t kStartEmailClient = 2;
inline constexpr int16_t kCheckAll = 3;
inline constexpr int16_t kClose = 4;
inline constexpr int16_t kAccountsHelp = 5;
inline constexpr int16_t kSaveAccount = 6;
inline constexpr int16_t kCancelAccount = 7;
inline constexpr int16_t kRulesHelp = 8;
inline constexpr int16_t kSaveRules = 9;
inline constexpr int16_t kCancelRules = 10;
inline constexpr int16_t kOptionsHelp = 11;
inline constexpr int16_t kSaveOptions = 12;
inline constexpr int16_t kCancelOptions = 13;
inline constexpr int16_t kPauseStartUp = 14;
inline constexpr int16_t kLast = kPauseStartUp;
}  // namespace bar

// StatusBar's panels, left to right.
namespace panel {
inline constexpr int kResult = 1;    // the account's result, or what the program is doing
inline constexpr int kNewCount = 2;  // the new messages' picture and count
inline constexpr int kStatus = 3;    // when the account was checked, or a check's progress
inline constexpr int kAutoCheck = 4;
inline constexpr int kClock = 5;
}  // namespace panel

// The pages, in the order of their buttons: fraMain(i), gCurrentPane.
namespace page {
inline constexpr int16_t kEmail = 0;
inline constexpr int16_t kAccounts = 1;
inline constexpr int16_t kRules = 2;
inline constexpr int16_t kOptions = 3;
}  // namespace page

}  // namespace forms

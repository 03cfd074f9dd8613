#include "app/general/check_status.h"

namespace modGeneral {

QString gAppName;
std::array<QString, 4> gPaneName;
int16_t gCurrentPane = 0;

bool gLoading = false;
bool gUserStop = false;
bool gStartUpDone = false;
bool gStartUpPaused = false;
bool gTestingAccount = false;
bool gNoCheckDeferred = false;
bool gSoundsOn = true;
bool gConnected = false;
bool gMenuHooked = false;

QDateTime gNextCheckStamp;
QDateTime gNextCheckStampSaved;
QString gAutoCheckText;
QString gAutoCheckTextSaved;
int16_t gIntervalMinutes = 0;

int16_t gCurrentMsg = 0;
int16_t gPrevAccount = 0;
QString gSortKey;
QString gSortKeyPrev;

int16_t gTotalMsgCount = 0;
int16_t gTotalNewCount = 0;
int32_t gReceivedCount = 0;
QString gCheckSummary;
int16_t gSummaryLines = 0;
QString gIncompleteList;

bool gShowingFirstUse = false;
bool gShowingRuleReport = false;

}  // namespace modGeneral

#include "app/general/check_status.h"

namespace modGeneral {

QString gAppName;
std::array<QString, 4> gPaneName;
int16_t gCurrentPane = 0;

bool gLoading = false;
bool gSoundsOn = true;
bool gMenuHooked = false;

int16_t gCurrentMsg = 0;
int16_t gPrevAccount = 0;
QString gSortKey;
QString gSortKeyPrev;

}  // namespace modGeneral

#pragma once
// A moment as the program writes it, in VB's date patterns ("h:mm AM/PM",
// "mmm d/yy"; see platform/text/vb_format.h), in local time.
#include <QDateTime>
#include <QString>
#include <string_view>

QString FormatDate(const QDateTime& moment, std::string_view pattern);

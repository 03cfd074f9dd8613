#include "app/check/stored_message.h"

#include <cmath>
#include <utility>

#include "app/accounts/account_table.h"

namespace modCheck {

int64_t SizeInKb(int32_t bytes) {
    // nearbyint rounds half to even under the default rounding mode.
    return static_cast<int64_t>(std::nearbyint(bytes / 1000.0));
}

QString CleanFrom(const QString& from) {
    QString text = from;
    text.replace(QLatin1Char('&'), QLatin1String("and"));
    text.remove(QLatin1Char('"'));
    return text;
}

QString CleanTo(const QString& to) {
    QString text = to;
    text.remove(QLatin1Char('"'));
    return text.isEmpty() ? QStringLiteral("Undisclosed-Recipient") : text;
}

modGeneral::StoredMessage ToStoredMessage(DownloadedMessage message) {
    modGeneral::StoredMessage stored;
    stored.Size = SizeInKb(message.size);
    stored.From = CleanFrom(message.from);
    stored.To = CleanTo(message.to);
    stored.Subject = std::move(message.subject);
    stored.Date = message.date;
    stored.Body = std::move(message.body);
    stored.File = std::move(message.file);
    modGeneral::SetPlainText(stored, std::move(message.plainText));
    stored.Uid = std::move(message.uid);
    stored.Attach = message.attachments > 0;
    stored.AttachNames = std::move(message.attachmentNames);
    return stored;
}

bool LooksCutShort(const DownloadedMessage& message) {
    return message.from.isEmpty() && message.to.isEmpty() && SizeInKb(message.size) < 2;
}

int16_t MarkNewMessages(int16_t a) {
    modGeneral::AccountMessages& row = modGeneral::AccountRow(a);
    const int16_t count = modAccounts::gAccounts[a].MsgCount;
    // Each message the last check saw answers for one message now: of two
    // alike, one more than before is new.
    modGeneral::SeenMessages last = std::move(row.LastSeen);
    modGeneral::SeenMessages seen;
    int16_t fresh = 0;
    for (int m = 1; m <= count; ++m) {
        modGeneral::StoredMessage& message = modGeneral::Msg(a, static_cast<int16_t>(m));
        const QString key = modGeneral::SeenKey(message);
        auto found = last.find(key);
        message.New = found == last.end() || found.value() == 0;
        if (message.New)
            ++fresh;
        else
            --found.value();
        ++seen[key];
    }
    row.LastSeen = std::move(seen);
    return fresh;
}

}  // namespace modCheck

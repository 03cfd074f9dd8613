// The Options page's field handlers: each records its field into the
// pending option value, keeps related fields consistent and runs the change
// check, which enables Save and Cancel while anything differs.
#include <QRegularExpression>
#include <vector>

#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/window_slots.h"
#include "app/forms/options/options_page.h"
#include "app/general/check_status.h"
#include "app/options/menu_theme.h"
#include "app/options/option_values.h"
#include "app/options/options_edit.h"

using namespace frmMainElements;  // tbrClient(tbrClient::kAccount)

using namespace modOptions;

namespace {

using Controls = OptionsPage::Controls;

// The check boxes that only record their value.
struct CheckField {
    vb::CheckBox& box;
    int16_t* edit;
};
std::vector<CheckField> CheckFields(Controls& c) {
    return {
        {c.chkRunStartUp, &gEditOpt.RunStartUp},
        {c.chkEmailCheckStartUp, &gEditOpt.EmailCheckStartUp},
        {c.chkMinimizeStartUp, &gEditOpt.MinimizeStartUp},
        {c.chkUseInterval, &gEditOpt.UseInterval},
        {c.chkNoCheck, &gEditOpt.NoCheck},
        {c.chkShowEmailMsgBox, &gEditOpt.ShowEmailMsgBox},
        {c.chkShowNewOnly, &gEditOpt.ShowNewOnly},
        {c.chkRestoreColWidth, &gEditOpt.RestoreColWidth},
        {c.chkFromToolTips, &gEditOpt.FromToolTips},
        {c.chkToToolTips, &gEditOpt.ToToolTips},
        {c.chkSubjectToolTips, &gEditOpt.SubjectToolTips},
        {c.chkMessageSort, &gEditOpt.MessageSort},
        {c.chkCloseButton, &gEditOpt.CloseButton},
        {c.chkQuickCheck, &gEditOpt.QuickCheck},
        {c.chkDeleteConfirmation, &gEditOpt.DeleteConfirmation},
        {c.chkSuppressConnectErrors, &gEditOpt.SuppressConnectErrors},
        {c.chkSuppressRetrieveErrors, &gEditOpt.SuppressRetrieveErrors},
        {c.chkPlaySound, &gEditOpt.PlaySound},
    };
}

// The option-button groups that only record the chosen index.
struct ChoiceField {
    vb::ControlArray<vb::OptionButton>& group;
    int16_t* edit;
};
std::vector<ChoiceField> ChoiceFields(Controls& c) {
    return {
        {c.optShowEmail, &gEditOpt.ShowEmail},
        {c.optRunSize, &gEditOpt.RunSize},
        {c.optApplyStyle, &gEditOpt.ApplyStyle},
        {c.optSortColumn, &gEditOpt.SortColumn},
    };
}

// Number fields: what an empty field shows, and the largest value.
struct NumberField {
    vb::TextBox& box;
    const char* emptyText;
    int max;
    int16_t* edit;
};
std::vector<NumberField> NumberFields(Controls& c) {
    return {
        {c.txtMsgBoxTime, "0", 59, &gEditOpt.MsgBoxTime},
        {c.txtStartUpDelay, "0", 59, &gEditOpt.StartUpDelay},
        {c.txtConnectTimeOut, "1", 120, &gEditOpt.ConnectTimeOut},
        {c.txtHours, "0", 12, &gEditOpt.Hours},
    };
}

// Corrects box's text towards a whole number in min..max: only digits are
// kept, an empty field shows emptyText, a value above max shows max, one
// below min shows min. Writing the text runs the box's change handler again,
// so false is returned when the text was rewritten and that run has
// recorded it.
bool NumberInRange(vb::TextBox& box, const QString& emptyText, int min, int max) {
    QString text = box.Text();
    text.remove(QRegularExpression(QStringLiteral("[^0-9]")));
    if (text.isEmpty()) text = emptyText;
    const int value = text.toInt();
    if (value > max)
        text = QString::number(max);
    else if (value < min)
        text = QString::number(min);
    if (text == box.Text()) return true;
    box.SetText(text);
    return false;
}

// "hh:mm" with hours 00..23 and minutes 00..59.
bool IsTime(const QString& text) {
    static const QRegularExpression time(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    return time.match(text).hasMatch();
}

QString TwoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

}  // namespace

void OptionsPage::WireOptionFields() {
    WirePageCommands();
    WireCheckFields();
    WireChoiceFields();
    WireNumberFields();
    WireNoCheckTimes();
    WirePathFields();
}

void OptionsPage::WirePageCommands() {
    c_.TreeView.Click = [this] { TreeView_Click(); };
    commands_.Add(u"tbrButtons", forms::bar::kOptionsHelp, u"Help", [this](int16_t) { ShowOptionsHelp(); });
    // The page's own Save and Cancel: the edits become the live options, or
    // the page shows the live ones again.
    commands_.Add(u"tbrButtons", forms::bar::kSaveOptions, u"SaveOptions",
                  [](int16_t) { modOptions::SaveOptions(); });
    commands_.Add(u"tbrButtons", forms::bar::kCancelOptions, u"Cancel", [this](int16_t) {
        modOptions::DisplayOptions();
        c_.TreeView.SetFocus();
    });
}

void OptionsPage::WireCheckFields() {
    for (const CheckField& f : CheckFields(c_)) {
        vb::CheckBox& box = f.box;
        box.Click = [&box, edit = f.edit] {
            *edit = static_cast<int16_t>(box.Value());
            CheckOptionsChanged();
        };
    }
    c_.chkButtonStyle.Click = [this] {
        gEditOpt.ButtonStyle = static_cast<int16_t>(c_.chkButtonStyle.Value());
        const bool raised = gEditOpt.ButtonStyle == 1;
        // The example bar shows the style the box chooses.
        c_.tbrOptMisc(tbrOptMisc::kExample).SetStyle(raised ? 0 : 1);
        EnableApplyStyle(raised);
        CheckOptionsChanged();
    };
}

void OptionsPage::WireChoiceFields() {
    for (const ChoiceField& f : ChoiceFields(c_)) {
        f.group.Wire(&vb::OptionButton::Click, [edit = f.edit](int index) {
            *edit = static_cast<int16_t>(index);
            CheckOptionsChanged();
        });
    }
    c_.opt3DTheme.Wire(&vb::OptionButton::Click, [this](int index) {
        gEditOpt.DTheme = static_cast<int16_t>(index);
        const bool user = c_.opt3DTheme(6).Value();
        for (vb::Label* box : {&c_.lbl3DTopColour, &c_.lbl3DMiddleColour, &c_.lbl3DBottomColour})
            box->SetEnabled(user);
        c_.lblMenuColours(6).SetVisible(user);
        SetPresetMenuColours();
        CheckOptionsChanged();
    });
    c_.optSortOrder.Wire(&vb::OptionButton::Click, [this](int index) {
        gEditOpt.SortOrder = static_cast<int16_t>(index);
        c_.imgSort.SetPicture(index + 1 <= c_.imlSortOrder.Count() ? c_.imlSortOrder.Picture(index + 1)
                                                                   : QPixmap());
        CheckOptionsChanged();
    });
}

void OptionsPage::WireNumberFields() {
    for (const NumberField& f : NumberFields(c_)) {
        vb::TextBox& box = f.box;
        const int min = &box == &c_.txtConnectTimeOut ? 1 : 0;
        box.Change = [this, &box, f, min] {
            if (!NumberInRange(box, QString::fromLatin1(f.emptyText), min, f.max)) return;
            *f.edit = static_cast<int16_t>(box.Text().toInt());
            if (&box == &c_.txtHours) KeepIntervalInRange();
            CheckOptionsChanged();
        };
    }
    c_.txtMinutes.Change = [this] {
        // The interval stays within 0:01 and 12:00.
        const int min = gEditOpt.Hours == 0 ? 1 : 0;
        const int max = gEditOpt.Hours == 12 ? 0 : 59;
        if (!NumberInRange(c_.txtMinutes, QString::number(min), min, max)) return;
        gEditOpt.Minutes = static_cast<int16_t>(c_.txtMinutes.Text().toInt());
        CheckOptionsChanged();
    };
}

void OptionsPage::WireNoCheckTimes() {
    c_.txtNoCheckTime.Wire(&vb::TextBox::Change, [this](int i) {
        // A time being typed counts once it is whole; until then the
        // pending time stays the last whole one.
        const QString text = c_.txtNoCheckTime(i).Text().trimmed();
        if (IsTime(text)) gEditOpt.NoCheckTime[i] = text;
        CheckOptionsChanged();
    });
    c_.txtNoCheckTime.Wire(&vb::TextBox::Click, [this](int i) { NoCheckTime_Click(i); });
    c_.updNoCheck.Wire(&vb::UpDown::Change, [this](int k) { NoCheck_Change(k); });
}

void OptionsPage::WirePathFields() {
    // The mail-client button and the tray entry keep showing the saved
    // default, the one they start, until the new path is saved.
    c_.txtDefaultClient.Change = [this] {
        gEditOpt.DefaultClient = c_.txtDefaultClient.Text();
        CheckOptionsChanged();
    };
    c_.txtDefaultSound.Change = [this] {
        gEditOpt.DefaultSound = c_.txtDefaultSound.Text();
        CheckOptionsChanged();
    };
}

void OptionsPage::KeepIntervalInRange() {
    // Hours 0 needs at least a minute, hours 12 allows none.
    const int hours = gEditOpt.Hours;
    c_.updMinutes.SetMin(hours == 0 ? 1 : 0);
    c_.updMinutes.SetMax(hours == 12 ? 0 : 59);
    if (hours == 0 && c_.txtMinutes.Text().toInt() == 0) c_.txtMinutes.SetText(QStringLiteral("1"));
    if (hours == 12 && c_.txtMinutes.Text() != QStringLiteral("0"))
        c_.txtMinutes.SetText(QStringLiteral("0"));
}

void OptionsPage::NoCheckTime_Click(int i) {
    vb::TextBox& field = c_.txtNoCheckTime(i);
    const bool hours = field.SelStart() < 3;
    field.SetSelStart(hours ? 0 : 3);
    field.SetSelLength(2);
    vb::UpDown& shown = c_.updNoCheck(hours ? i : i + 2);
    c_.updNoCheck(i).SetVisible(hours);
    c_.updNoCheck(i + 2).SetVisible(!hours);
    // The arrows step from what the field shows, not from a value left over
    // from before the field was typed in or the page was cancelled.
    const QString time = IsTime(field.Text().trimmed()) ? field.Text().trimmed() : gEditOpt.NoCheckTime[i];
    const int value = time.mid(hours ? 0 : 3, 2).toInt();
    if (value >= shown.Min() && value <= shown.Max() && value != shown.Value()) {
        syncingNoCheck_ = true;
        shown.SetValue(value);
        syncingNoCheck_ = false;
    }
}

void OptionsPage::NoCheck_Change(int k) {
    if (modGeneral::gLoading || syncingNoCheck_) return;
    const int i = k % 2;
    vb::TextBox& field = c_.txtNoCheckTime(i);
    field.SetFocus();
    const QString text = field.Text().trimmed();
    const QString time = IsTime(text) ? text : gEditOpt.NoCheckTime[i];
    const bool hours = k < 2;
    const QString value = TwoDigits(c_.updNoCheck(k).Value());
    field.SetText(hours ? value + QStringLiteral(":") + time.mid(3, 2)
                        : time.left(2) + QStringLiteral(":") + value);
    field.SetSelStart(hours ? 0 : 3);
    field.SetSelLength(2);
}

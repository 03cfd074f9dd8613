#pragma once
// A window for the option values to talk to: it stands in for every part
// of it, records what it is asked, in order, and answers with what a test
// sets.
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>
#include <tuple>

#include "app/options/option_values.h"
#include "app/options/options_view.h"

class FakeOptionsView : public modOptions::OptionsView,
                        public modOptions::ListSortView,
                        public modOptions::AutoCheckView,
                        public modOptions::TrayMenuView,
                        public modOptions::ToolbarStyleView,
                        public modOptions::MainWindowView {
public:
    QStringList calls;
    modOptions::MenuColours boxes;
    QSet<QString> usablePrograms;
    // The checks' record, which the options' save sets the schedule of.
    modGeneral::CheckRunState run;

    FakeOptionsView()
        : registrations_(
              modOptions::gOptionsView.Register(*this), modOptions::gListSortView.Register(*this),
              modOptions::gAutoCheckView.Register(*this), modOptions::gTrayMenuView.Register(*this),
              modOptions::gToolbarStyleView.Register(*this), modOptions::gMainWindowView.Register(*this)) {}
    // The calls whose text starts with prefix.
    QStringList Calls(const QString& prefix) const { return calls.filter(QRegularExpression("^" + prefix)); }

    void ShowOptionValues() override { calls << "ShowOptionValues"; }
    void ShowOptionDescriptions() override { calls << "ShowOptionDescriptions"; }
    void EnableOptionsSave(bool changed) override { calls << QString("EnableOptionsSave %1").arg(changed); }
    modOptions::MenuColours MenuColourBoxes() const override { return boxes; }
    void PaintMenuColourBoxes(const modOptions::MenuColours& c) override {
        boxes = c;
        calls << QString("PaintMenuColourBoxes %1 %2 %3").arg(c.top).arg(c.middle).arg(c.bottom);
    }
    void FocusOptionsTree() override { calls << "FocusOptionsTree"; }
    void ShowSortOrder(int16_t order) override { calls << QString("SortOrder %1").arg(order); }
    bool IsUsableProgram(const QString& path) const override { return usablePrograms.contains(path); }
    void SetTrayAutoCheckCaption(const QString& caption) override { calls << "TrayAutoCheck " + caption; }
    void SetTraySoundsCaption(const QString& caption) override { calls << "TraySounds " + caption; }
    // The timers follow the option: recorded as the state they were set to.
    void ApplyCheckTimers() override { calls << QString("Timers %1").arg(modOptions::gOpt.UseInterval == 1); }
    void SetNextAutoCheckTime() override { calls << "SetNextAutoCheckTime"; }
    void ShowAutoCheckText(const QString& text) override { calls << "Panel4 " + text; }
    modGeneral::CheckRunState& Record() override { return run; }
    void ShowSortColumnIcon(const QString& key, const QString& icon) override {
        calls << QString("SortIcon %1 %2").arg(key, icon);
    }
    void SortAndFillMessageList() override { calls << "SortAndFill"; }
    void LoadMailClientIcon(const QString& path, int16_t index) override {
        calls << QString("LoadMailClientIcon %1 %2").arg(path).arg(index);
    }
    void SetMailClientButton(int16_t index) override {
        calls << QString("SetMailClientButton %1").arg(index);
    }
    void RefreshMenus() override { calls << "RefreshMenus"; }
    void SetToolbarStyle(modOptions::ToolbarGroup group, int16_t flat) override {
        calls << QString("Toolbar %1 %2").arg(QChar("ABC"[static_cast<int>(group)])).arg(flat);
    }
    void ReportOptionsFailure(const QString& title, const QString& text) override {
        calls << "Report " + title + ": " + text;
    }

private:
    std::tuple<
        ViewSlot<modOptions::OptionsView>::Registration, ViewSlot<modOptions::ListSortView>::Registration,
        ViewSlot<modOptions::AutoCheckView>::Registration, ViewSlot<modOptions::TrayMenuView>::Registration,
        ViewSlot<modOptions::ToolbarStyleView>::Registration,
        ViewSlot<modOptions::MainWindowView>::Registration>
        registrations_;
};

#pragma once
// The program's main window. Its designed controls come from frm_main.form;
// the data modules reach it only through the views it registers.
#include "app/forms/frm_main_design.h"
#include "app/forms/session_startup_entry.h"
#include "app/options/options_view.h"
#include "app/options/run_at_startup.h"
#include "app/rules/rule_set.h"
#include "platform/ui/form.h"

class frmMain : public vb::Form,
                public frmMainDesign,
                private modRules::RulesView,
                private modOptions::OptionsView {
public:
    frmMain();

    // ---- menus ----
    // The tray and message menus get their captions, pictures and colours
    // (the first step of the load).
    void SubClassMenuXP();
    // The menus let go of their pictures and colours (the unload, when
    // gMenuHooked is set).
    void ReleaseMenuXP();

    // ---- options ----
    // The tool bars of the three style groups, 1 = flat, 0 = raised; groups
    // A and B move to top 138 twips when flat, 120 when raised.
    void SetToolbarStyleA(int16_t flat);
    void SetToolbarStyleB(int16_t flat);
    void SetToolbarStyleC(int16_t flat);

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    void ShowRulesFileName(const QString& caption) override;

    // ---- options ----
    void ShowOptionValues() override;
    void ShowOptionDescriptions() override;
    void EnableOptionsSave(bool changed) override;
    modOptions::MenuColours MenuColourBoxes() const override;
    void PaintMenuColourBoxes(const modOptions::MenuColours& colours) override;
    void FocusOptionsTree() override;
    bool IsUsableProgram(const QString& path) const override;
    void SetTrayAutoCheckCaption(const QString& caption) override;
    void SetTraySoundsCaption(const QString& caption) override;
    void SetAutoCheckTimers(bool useInterval) override;
    void SetNextAutoCheckTime() override;
    void ShowAutoCheckText(const QString& text) override;
    void ShowSortColumnIcon(const QString& key, const QString& icon) override;
    void SortAndFillMessageList() override;
    void LoadMailClientIcon(const QString& path, int16_t index) override;
    void SetMailClientButton(int16_t index) override;
    void RefreshMenus() override;
    void SetToolbarStyle(modOptions::ToolbarGroup group, int16_t flat) override;
    void ReportOptionsFailure(const QString& title, const QString& text) override;
    // The colour dialog, from gPickedColour back into gPickedColour.
    void PickMenuColour();
    // A menu colour box was clicked: its colour and the edit colour follow the pick.
    void MenuColourBox_Click(vb::Label& box, int32_t& editColour);
    void WireOptionsControls();

    forms::SessionStartupEntry sessionEntry_;
    ViewSlot<modOptions::OptionsView>::Registration optionsView_;
    ViewSlot<modOptions::StartupEntry>::Registration startupEntry_;

    // Held while the window is loaded; a window destroyed without its Unload
    // (the application ending) drops it with its members.
    ViewSlot<modRules::RulesView>::Registration rulesView_;
};

#pragma once
// The main window's Rules page: the rules list and the rule editor with its
// description lines, the rules file's commands (import, rename) and the rule
// report after a check. Every edit goes to the edit set; the live set follows
// only when the rules file is written.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/rules/rules_follow_accounts.h"
#include "app/rules/rule_set.h"
#include "platform/ui/form.h"

namespace forms {
class MainWindowLink;
}  // namespace forms

// Its controls are those the window's description marks "for RulesPage",
// reached by their designed names.
class RulesPage : public forms::RulesFollowAccounts,
                  private modRules::RulesView,
                  private frmMainDesign::RulesPageControls {
public:
    // What the page asks of the window it sits in.
    class Host {
    public:
        // The page bar follows the page's pending edits.
        virtual void UpdatePageBar() = 0;
        // Runs dialog, owned by the window, with no check starting meanwhile.
        virtual void RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) = 0;

    protected:
        ~Host() = default;
    };

    // Takes the Rules page's controls of design, the window that owns them
    // (the owner of the page's dialogs) and what the page's child windows
    // are given, and registers the page's commands.
    RulesPage(frmMainDesign& design, vb::Form& window, forms::MainWindowLink& children,
              forms::CommandKeys& commands, Host& host);
    RulesPage(const RulesPage&) = delete;
    RulesPage& operator=(const RulesPage&) = delete;

    // The rules file's name is shown on the page from the window's load to
    // its unload; the unload also closes the rule report and the rules file
    // name window.
    void Load();
    void Unload();

    // Once at load: the account, Where, condition and Boolean lists, the
    // rules file read into the live set, the first rule shown.
    void InitRules();
    // Discards every rule edit: the edit set from the live set, the list and
    // the current rule shown again, Save and Cancel off.
    void ResetRulesEditor();
    // The page switch and the return from retrieval mode: the saved rules
    // shown again when rules exist, unless edits are pending.
    void ShowSavedRules();
    void AddRule();
    // Asks, removes the current rule and writes the rules file at once.
    void DeleteRule();
    // Writes the rules file when the current rule has a name and a line.
    void SaveRuleChanges();
    // Moves the current rule up (-1) or down (1) in the list.
    void MoveRule(int16_t offset);
    // Follows the edits: Save and Cancel on and the page buttons off while
    // the edit set differs from the live set; the notification controls.
    void CheckRulesChanged();
    void EnableRuleControls(int16_t count);
    // The rule frame's caption and colour for an enabled value (1 = enabled).
    void ShowRuleEnabledStatus(int16_t enabled);
    // The editor empty: no rule, no lines, the defaults.
    void ClearRuleEditor();
    // "All Accounts" and accounts 1 to accountCount; the shown rule keeps its account.
    void FillRuleAccountList(int16_t accountCount) override;
    // Rule number rule of the edit set in every control of the page; 0 clears the editor.
    void ShowRule(int16_t rule);
    void UpdateRuleDescription();
    void ClearRuleDescription();
    void UndoRuleUpdate();
    void RedoRuleUpdate();
    void FillWhereList();
    // The conditions of a Where, its criteria hint, and a condition kept
    // when the new Where has it too.
    void SetConditionList(const QString& where);
    void FillBooleanList();

    // After every check run, with the accounts it checked: opens the rule
    // report for them when the rules marked messages and the report is
    // wanted (modRules::RuleReportWanted), unless one is open already.
    void CheckRuleReport(const std::vector<int16_t>& checked) override;
    // Imports the rules of a file the user chooses (tbrRules "RulesImport").
    void ImportRules();
    // Opens the rules file name window (tbrRules "RulesRename").
    void RenameRulesFile();

private:
    void ShowRulesFileName(const QString& caption) override;

    // The page's commands and control events, in named steps.
    void WireRulesPage();
    void WireRuleCommands();
    void WireRuleList();
    void WireRuleFields();
    void WireRuleNotification();
    void WireRuleLineChoices();
    void WireRulesFile();
    // The list and the notification values follow the user only once the
    // window has loaded, no rule is being shown and rules exist.
    bool RuleChoosing() const;
    // The page's handlers change the edit set only for a user's change to
    // the shown rule.
    bool RuleEditable() const;

    // The list, the current rule and the buttons from the edit set as it
    // stands (no edit discarded).
    void ShowEditRules();
    // The Save and Cancel buttons and the page buttons for gRulesChanged.
    void ShowRulesChangedState();
    // The account combo shows account, even one that is not in the account list.
    void ShowRuleAccount(const QString& account);
    // Description line number line (0: the defaults) in the line controls.
    void ShowRuleLine(int16_t line);
    // The joined lines and the "n of 10 Entries" label.
    void ShowRuleLines();
    // Update needs a rule, a condition and a complete criteria.
    void EnableRuleUpdate();
    // The rules file could not be written: says so; the edits stay pending.
    void ReportRulesWriteFailure();
    // The rule report and the rules file name window close with the window.
    void UnloadRuleWindows();

    vb::Form& window_;
    forms::MainWindowLink& children_;
    forms::CommandKeys& commands_;
    Host& host_;
    // Held while the window is loaded; a window destroyed without its Unload
    // (the application ending) drops it with the page.
    ViewSlot<modRules::RulesView>::Registration rulesView_;
};

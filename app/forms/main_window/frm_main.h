#pragma once
// The program's main window. Its designed controls come from frm_main.form;
// the data modules reach it only through the views it registers.
#include <QDateTime>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "app/accounts/account_operations.h"
#include "app/accounts/account_table.h"
#include "app/forms/accounts/accounts_page.h"
#include "app/forms/checks/check_runs.h"
#include "app/forms/checks/checks_paused.h"
#include "app/forms/checks/component_events.h"
#include "app/forms/checks/operation_scope.h"
#include "app/forms/checks/server_session.h"
#include "app/forms/email/email_page.h"
#include "app/forms/main_window/child_window_link.h"
#include "app/forms/main_window/command_keys.h"
#include "app/forms/main_window/frm_main_design.h"
#include "app/forms/main_window/layout.h"
#include "app/forms/main_window/pickers.h"
#include "app/forms/options/options_page.h"
#include "app/forms/rules/rules_page.h"
#include "app/forms/tray/tray_commands.h"
#include "app/general/message_ref.h"
#include "app/options/options_view.h"
#include "platform/com/com_ptr.h"
#include "platform/ui/form.h"
#include "platform/ui/list_view.h"

class frmMain : public vb::Form,
                private frmMainDesign,
                private RulesPage::Host,
                private OptionsPage::Host,
                private Pickers::Host,
                private forms::EmailTabClick,
                private TrayCommands::Host,
                private AccountsPage::Host,
                private forms::OperationWindow,
                private modOptions::MainWindowView {
public:
    frmMain();

    // The designed controls, for driving the window as its user does (the
    // tests, the benchmarks). The program's own code reaches a control only
    // through the window or the page that owns it.
    frmMainDesign& controls() { return *this; }

    // ---- load and shutdown ----
    // Set by the tray menu's quit command; a close with "CloseButton" on
    // then ends the program instead of going to the tray.
    bool mQuitting = false;

    // ---- control enabling ----
    // The working state with at least one account, else the "no account" state.
    void EnableMainControls() override;
    void DisableEmailControls() override;

    // ---- retrieval mode ----
    // enable false enters retrieval mode (the Email page in front, page
    // buttons, tool bars, tab strips and tray commands disabled, the Stop
    // button shown when showStop); true leaves it and brings the user's page
    // back. Every server operation calls it before and after, with the same
    // showStop.
    void SetRetrievalMode(bool enable, bool showStop) override;
    // Brings pane to the front, re-selecting the current account's tab; does
    // nothing while the Email page is the user's page or a connection test runs.
    void ShowCurrentPane(int16_t pane);
    // The page bar is usable only while no page holds unsaved edits (account,
    // rules or options) and no server operation runs: leaving a page must
    // never cost its edits. Every page calls it when its edits change.
    void UpdatePageBar() override;

    // ---- tray and commands ----
    // The tray icon and menu, the tool bars' command keys (which every page
    // registers into) and the owner-drawn menus.
    TrayCommands& tray() { return tray_; }

private:
    TrayCommands tray_{*this, *this, *this, checks_};

public:
    // What the child windows are given: the pages they act on, which are
    // declared below it.
    forms::MainWindowLink& childWindows() { return children_; }

private:
    forms::ChildWindowLink children_{*this, TabStripEmail, email_, rules_, checks_};
    forms::CheckPauses& Checks() override { return checks_; }
    // The sessions with the mail servers, which the checks and the deletions
    // on the server both run.
    forms::ServerSession session_{*this, *this};

public:
    // The page switch of the main tool bar: the page, its account tab and
    // banner, and the "no account" banner over the first three pages.
    void SwitchPane(int16_t pane) override;
    // pane in front with its banner, its account tab re-selected (the Rules
    // page shows the saved rules unless edits are pending), every other page
    // hidden.
    void ShowPage(int16_t pane) override;
    // The Email tab strip chose an account: its client button and its list,
    // unless it is the account the list shows already.
    void TabStripEmail_Click() override;
    // Chooses account's tab on the Email tab strip, which then acts as for
    // the user's click.
    void SelectEmailTab(int16_t account) { TabStripEmail.Select(account); }

    // ---- quit ----
    // The session ends (a signal or the session manager): the same quit, with
    // every open modal window closed unanswered first, since no one is left
    // to answer it.
    void EndSession();

    // ---- mail-client button ----
    // Stores the icon of the program at path under "MailClient" & number in
    // imlPopMenu and imlClientButtons, replacing an older one: the program's
    // own icon at 16 by 16, or the "FolderX" picture when it has none.
    // Number 0 is the default client, 1 and up the accounts' own.
    void LoadMailClientIcon(const QString& path, int16_t number) override;
    // Points the start button, the tray entry and the Test buttons at the
    // picture of number, or at the "no client" pictures for -1.
    void SetMailClientButton(int16_t number) override;

protected:
    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

private:
    // The steps of the load, in its order.
    // The component object, whose notifications the window hears; without
    // it the program cannot start.
    void CreateComponentObject();
    // The account count and the options from the settings, the sort.
    void LoadStoredOptions();
    // Every stored account with its tabs, or the "no account" state.
    void LoadAccounts();
    void LoadAccountAtStart(int16_t i, const QDateTime& now);
    void ResetRunState();
    void ShowMailClientButtons();
    void ShowEmailPage();
    bool mQuitPending = false;
    bool mEndingSession = false;
    // The quit, once no server operation runs and no modal window waits.
    void QuitWhenIdle() override;
    // The Size command: the size and place the load gave the window.
    void RestoreStartSize() override;
    void ShowOptionsPanel(int node) override;
    bool mInRetrieval = false;
    // Shutdown: everything the load set up is undone, each step whatever
    // the one before it did.
    void ShutDown();
    // Every image list filled with its pictures (the window's construction).
    void FillPictures();

    // ---- options ----
    // What the option values ask of the window itself: whether the mail
    // client can start, and the failure boxes.
    bool IsUsableProgram(const QString& path) const override;
    void ReportOptionsFailure(const QString& title, const QString& text) override;
    // Each part of the window registers the views the options drive, for
    // the time the window is loaded.
    void RegisterViews();
    void ReleaseViews();
    ViewSlot<modOptions::MainWindowView>::Registration windowView_;
    // What the Options page asks of the window.
    void RunDialogWithChecksPaused(const std::function<void(QWidget* owner)>& dialog) override;
    void UnloadWindow() override;
    // Wires itself into the command keys of tray_, declared above it.
    OptionsPage options_{*this, tray_.Commands(), *this};
    // The client and sound pickers of the Options and Accounts pages, wired
    // the same way.
    Pickers pickers_{*this, tray_.Commands(), *this};

public:
    OptionsPage& options() { return options_; }
    Pickers& pickers() { return pickers_; }

    // ---- email page ----
public:
    // The message list, its pointer events, the message menu and deletion.
    EmailPage& email() { return email_; }

private:
    // Wires itself into the command keys of tray_, declared above it.
    EmailPage email_{*this, *this, session_, children_, *this, tray_.Commands(), *this, checks_};

    // ---- layout ----
public:
    // The layout at load and at each resize, and the list's column widths.
    MainLayout& layout() { return layout_; }

protected:
    // Minimised: the window goes into the tray. Normal or maximised: the
    // layout follows the change in size.
    void Form_Resize() override;

private:
    // Wires its column reset into the command keys of tray_, declared above it.
    MainLayout layout_{*this, *this, tray_.Commands()};

    // ---- rules page ----
public:
    RulesPage& rules() { return rules_; }

private:
    // Wires itself into the command keys of tray_, declared above it.
    RulesPage rules_{*this, *this, children_, tray_.Commands(), *this};

    // ---- checks ----
public:
    // The account check, the check runs, their schedule and timers.
    CheckRuns& checks() { return checks_; }

private:
    // Wires itself into the command keys of tray_; the pages it asks are
    // declared above it, so each is built before it and gone after it.
    CheckRuns checks_{*this,  *this,  session_, children_,        tray_.Status(),
                      email_, rules_, *this,    tray_.Commands(), *this};

    // ---- accounts page ----
public:
    AccountsPage& accounts() { return accounts_; }

private:
    // Wires itself into the command keys of tray_; the pages it asks are
    // declared above it.
    AccountsPage accounts_{*this, tray_.Status(),   email_, rules_, checks_, checks_.Record(),
                           *this, tray_.Commands(), *this};
};

#pragma once
// What the Email page and the checks ask of the main window after they have
// moved the Email tab strip themselves.
namespace forms {

class EmailTabClick {
public:
    // The message list shows the account the Email tab strip chose.
    virtual void TabStripEmail_Click() = 0;

protected:
    ~EmailTabClick() = default;
};

}  // namespace forms

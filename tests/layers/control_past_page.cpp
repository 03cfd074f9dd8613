// Must not compile: a page reaches only the controls the window's description
// gives it; the Accounts page's name field is not the Email page's.
#include "app/forms/email/email_page.h"

void SetNameFromTheEmailPage(EmailPage::Controls& controls) {
    controls.txtAcntName.SetText(QStringLiteral("x"));
}

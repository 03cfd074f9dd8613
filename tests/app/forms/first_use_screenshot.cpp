// Shows the first-use window on a real (virtual) X display and saves a
// picture of it for a person to look at.
#include "app/forms/first_use/frm_first_use.h"
#include "tests/app/forms/screenshot_main.h"

int main(int argc, char** argv) {
    return ScreenshotMain(argc, argv, [](const char* out) {
        frmFirstUse& form = vb::Forms::Get<frmFirstUse>();
        form.Show();
        Settle(400);
        return SaveWindowPicture(form, out);
    });
}

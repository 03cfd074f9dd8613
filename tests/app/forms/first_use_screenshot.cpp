// Shows the first-use window on a real (virtual) X display and saves a
// picture of it for a person to look at.
#include "app/forms/frm_first_use.h"
#include "screenshot_program.h"

int main(int argc, char** argv) {
    return RunScreenshotProgram(argc, argv, [](const char* out) {
        frmFirstUse& form = vb::Forms::Get<frmFirstUse>();
        form.Show();
        return test_support::SaveSettledScreenshot(form, out);
    });
}

#include "platform/ui/msg_box.h"

#include <gtest/gtest.h>

#include "platform/ui/common_dialog.h"
#include "platform/ui/modal_windows.h"
#include "platform/ui/vb_error.h"

namespace {

struct StyleCase {
    const char* name;
    int style;
    std::vector<int> answers;
    int byDefault;
};

TEST(MsgBox, ButtonSetsGiveTheirAnswersAndDefault) {
    const StyleCase cases[] = {
        {"ok", vb::vbOKOnly | vb::vbInformation, {vb::vbOK}, vb::vbOK},
        {"ok cancel", vb::vbOKCancel, {vb::vbOK, vb::vbCancel}, vb::vbOK},
        {"abort retry ignore",
         vb::vbAbortRetryIgnore | vb::vbDefaultButton3,
         {vb::vbAbort, vb::vbRetry, vb::vbIgnore},
         vb::vbIgnore},
        {"yes no cancel", vb::vbYesNoCancel | vb::vbCritical, {vb::vbYes, vb::vbNo, vb::vbCancel}, vb::vbYes},
        {"yes no, second default",
         vb::vbYesNo | vb::vbCritical | vb::vbDefaultButton2,
         {vb::vbYes, vb::vbNo},
         vb::vbNo},
        {"retry cancel", vb::vbRetryCancel, {vb::vbRetry, vb::vbCancel}, vb::vbRetry},
        {"third default of two buttons", vb::vbYesNo | vb::vbDefaultButton3, {vb::vbYes, vb::vbNo}, vb::vbNo},
    };
    for (const StyleCase& c : cases) {
        EXPECT_EQ(vb::MsgBoxAnswers(c.style), c.answers) << c.name;
        EXPECT_EQ(vb::MsgBoxDefaultAnswer(c.style), c.byDefault) << c.name;
    }
}

TEST(MsgBox, AnswerValuesAreTheOriginalOnes) {
    EXPECT_EQ(vb::vbOK, 1);
    EXPECT_EQ(vb::vbCancel, 2);
    EXPECT_EQ(vb::vbYes, 6);
    EXPECT_EQ(vb::vbNo, 7);
    EXPECT_EQ(vb::vbYesNo | vb::vbCritical, 20);  // the style the deletion question uses
}

TEST(MsgBox, ScriptedAnswersAreGivenInOrderAndCallsRecorded) {
    vb::ScriptedMsgBoxes script;
    script.Answer(vb::vbNo);
    script.Answer(vb::vbCancel);
    EXPECT_EQ(vb::MsgBox("Delete?\r\n\r\nSure?", vb::vbYesNo | vb::vbCritical, "Veltrane - Ready"), vb::vbNo);
    EXPECT_EQ(vb::MsgBox("Save?", vb::vbYesNoCancel, "Changes Not Saved!"), vb::vbCancel);
    // Nothing left in the queue: the default button answers.
    EXPECT_EQ(vb::MsgBox("Done", vb::vbInformation, "Veltrane - Info"), vb::vbOK);
    ASSERT_EQ(script.Calls().size(), 3u);
    EXPECT_EQ(script.Calls()[0].prompt, "Delete?\r\n\r\nSure?");
    EXPECT_EQ(script.Calls()[0].title, "Veltrane - Ready");
    EXPECT_EQ(script.Calls()[0].buttons, 20);
    EXPECT_EQ(script.Calls()[1].title, "Changes Not Saved!");
    EXPECT_EQ(script.Unused(), 0u);
    EXPECT_TRUE(script.Mismatched().empty());
}

TEST(MsgBox, AnAnswerTheButtonsCannotGiveIsReported) {
    vb::ScriptedMsgBoxes script;
    script.Answer(vb::vbYes);
    EXPECT_EQ(vb::MsgBox("Only OK here", vb::vbOKOnly, "t"), vb::vbOK);
    ASSERT_EQ(script.Mismatched().size(), 1u);
    EXPECT_EQ(script.Mismatched()[0].prompt, "Only OK here");
}

TEST(MsgBox, NestedScriptsRestoreTheOuterOne) {
    vb::ScriptedMsgBoxes outer;
    outer.Answer(vb::vbNo);
    {
        vb::ScriptedMsgBoxes inner;
        inner.Answer(vb::vbYes);
        EXPECT_EQ(vb::MsgBox("inner", vb::vbYesNo, "t"), vb::vbYes);
    }
    EXPECT_EQ(vb::MsgBox("outer", vb::vbYesNo, "t"), vb::vbNo);
    EXPECT_EQ(outer.Calls().size(), 1u);
}

TEST(MsgBox, WhileTheProgramEndsNothingIsShownAndTheAnswerDoesLeast) {
    struct Case {
        const char* name;
        int style;
        int least;
    };
    const Case cases[] = {
        {"ok", vb::vbOKOnly | vb::vbExclamation, vb::vbOK},
        {"ok cancel, ok default", vb::vbOKCancel, vb::vbCancel},
        {"yes no, yes default", vb::vbYesNo | vb::vbCritical, vb::vbNo},
        {"yes no cancel", vb::vbYesNoCancel, vb::vbCancel},
        {"abort retry ignore", vb::vbAbortRetryIgnore, vb::vbAbort},
        {"retry cancel", vb::vbRetryCancel, vb::vbCancel},
    };
    vb::ScriptedMsgBoxes script;
    script.Answer(vb::vbYes);
    {
        const vb::ProgramEnding ending;
        EXPECT_TRUE(vb::ProgramEnding::Active());
        // Off screen an unscripted box would stop the test: none is shown, and
        // the script is not asked either.
        for (const Case& c : cases) EXPECT_EQ(vb::MsgBox(c.name, c.style, "t"), c.least) << c.name;
        vb::CommonDialog dialog;
        dialog.FileName = "kept.txt";
        EXPECT_FALSE(dialog.ShowOpen(nullptr));
        EXPECT_FALSE(dialog.ShowSave(nullptr));
        EXPECT_EQ(dialog.FileName, "kept.txt");
        dialog.CancelError = true;
        try {
            dialog.ShowColor(nullptr);
            ADD_FAILURE() << "the colour dialog was not cancelled";
        } catch (const vb::VbError& e) {
            EXPECT_EQ(e.Number(), vb::cdlCancel);
        }
        EXPECT_TRUE(script.Calls().empty());
    }
    EXPECT_FALSE(vb::ProgramEnding::Active());
    EXPECT_EQ(vb::MsgBox("after the end's watch", vb::vbYesNo, "t"), vb::vbYes);
    EXPECT_EQ(script.Calls().size(), 1u);
}

TEST(MsgBoxDeathTest, AnUnscriptedBoxOffScreenStopsTheTestInsteadOfWaiting) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(vb::MsgBox("nobody answers", vb::vbYesNo, "t"),
                 "MsgBox t: nobody answers: shown without a scripted");
    vb::CommonDialog dialog;
    EXPECT_DEATH(dialog.ShowOpen(nullptr), "Open dialog: shown without a scripted answer");
    EXPECT_DEATH(dialog.ShowColor(nullptr), "Colour dialog: shown without a scripted answer");
}

}  // namespace

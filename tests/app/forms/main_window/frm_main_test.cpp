// The main window shows what the data modules announce.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/forms/main_window/frm_main.h"
#include "app/rules/rule_set.h"
#include "platform/ui/forms.h"

TEST(FrmMain, RulesFileNameLabelFollowsTheRulesFileOnlyWhileLoaded) {
    const QString path = QDir::temp().filePath(QStringLiteral("MyRules.ini"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Rules]\r\nRuleCount=0\r\n");
    file.close();

    frmMain& form = vb::Forms::Get<frmMain>();  // the load reads the stored name
    modRules::gRulesFileName = QStringLiteral("MyRules.ini");
    modRules::ReadRulesFile(path);
    EXPECT_EQ(form.controls().lblRulesFileName.Caption(), QStringLiteral("FileName: MyRules.ini"));

    form.mQuitting = true;  // the close box alone would go to the tray
    ASSERT_TRUE(vb::Forms::Unload<frmMain>());
    EXPECT_EQ(modRules::gRulesView.Get(), nullptr) << "an unloaded window must not be reached";
    modRules::ReadRulesFile(path);  // must not touch the destroyed label
}

TEST(FrmMain, AWindowDestroyedWithoutUnloadIsNotReachedEither) {
    vb::Forms::Get<frmMain>();
    ASSERT_NE(modRules::gRulesView.Get(), nullptr);
    vb::Forms::End();  // as when the application object goes: no handler runs
    EXPECT_EQ(modRules::gRulesView.Get(), nullptr) << "the hook would reach a destroyed label";
}

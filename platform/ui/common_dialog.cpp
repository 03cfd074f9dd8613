#include "platform/ui/common_dialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>

#include "platform/ui/control.h"
#include "platform/ui/modal_windows.h"
#include "platform/ui/vb_error.h"

namespace vb {
namespace {

ScriptedDialogs* gScript = nullptr;

bool cancelled(bool cancelError) {
    if (cancelError) throw VbError(cdlCancel, "Cancel was selected.");
    return false;
}

QString startPath(const QString& dir, const QString& fileName) {
    if (fileName.isEmpty()) return dir;
    if (QDir::isAbsolutePath(fileName) || dir.isEmpty()) return fileName;
    return QDir(dir).filePath(fileName);
}

}  // namespace

QString CommonDialog::QtFilter(const QString& vbFilter) {
    const QStringList parts = vbFilter.split(QChar('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (patterns.isEmpty()) continue;
        patterns.replace(QChar(';'), QChar(' '));
        const QString tail = QStringLiteral("(%1)").arg(patterns);
        out << (desc.endsWith(tail) ? desc : (desc.isEmpty() ? tail : desc + QChar(' ') + tail));
    }
    return out.join(QStringLiteral(";;"));
}

bool CommonDialog::ShowFile(QWidget* owner, bool save) {
    if (ProgramEnding::Active()) return cancelled(CancelError);
    if (gScript) {
        const auto a =
            gScript->Respond({save ? DialogCall::Save : DialogCall::Open, InitDir, Filter, FileName, Color});
        if (a.cancel) return cancelled(CancelError);
        FileName = a.path;
        return true;
    }
    RefuseUnscripted(save ? QStringLiteral("Save dialog") : QStringLiteral("Open dialog"));
    const QString title = !DialogTitle.isEmpty() ? DialogTitle
                          : save                 ? QStringLiteral("Save As")
                                                 : QStringLiteral("Open");
    QFileDialog dlg(owner, title);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save)
        dlg.setOption(QFileDialog::DontConfirmOverwrite, (Flags & cdlOFNOverwritePrompt) == 0);
    else
        dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilter(QtFilter(Filter));
    if (!InitDir.isEmpty()) dlg.setDirectory(InitDir);
    if (!FileName.isEmpty()) dlg.selectFile(startPath(InitDir, FileName));
    const QStringList filters = dlg.nameFilters();
    if (FilterIndex >= 1 && FilterIndex <= filters.size()) dlg.selectNameFilter(filters[FilterIndex - 1]);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return cancelled(CancelError);
    FileName = dlg.selectedFiles().front();
    FilterIndex = static_cast<int>(filters.indexOf(dlg.selectedNameFilter())) + 1;
    return true;
}

bool CommonDialog::ShowColor(QWidget* owner) {
    if (ProgramEnding::Active()) return cancelled(CancelError);
    if (gScript) {
        const auto a = gScript->Respond({DialogCall::Color, InitDir, Filter, FileName, Color});
        if (a.cancel) return cancelled(CancelError);
        Color = a.color;
        return true;
    }
    RefuseUnscripted(QStringLiteral("Colour dialog"));
    const QColor start = (Flags & cdlCCRGBInit) ? ToQColor(Color) : QColor(Qt::white);
    const QColor chosen = QColorDialog::getColor(start, owner, DialogTitle);
    if (!chosen.isValid()) return cancelled(CancelError);
    Color = FromQColor(chosen);
    return true;
}

ScriptedDialogs::ScriptedDialogs() : previous_(gScript) { gScript = this; }

ScriptedDialogs::~ScriptedDialogs() { gScript = previous_; }

ScriptedDialogs::Answer ScriptedDialogs::Respond(const DialogCall& call) {
    calls_.push_back(call);
    if (WhileShown) WhileShown(call);
    if (answers_.empty()) return Answer{QString(), 0, true};
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

}  // namespace vb

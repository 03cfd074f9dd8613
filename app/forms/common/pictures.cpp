#include "app/forms/common/pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <algorithm>
#include <array>

#include "platform/store/program_folder.h"

namespace forms {

namespace {

// The fallback's frame colour, looked for by IsFallbackPicture.
constexpr QRgb kFallbackColour = qRgb(0xE0, 0x10, 0x10);

QPixmap FallbackPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setPen(QPen(QColor(kFallbackColour), std::max(1, size / 8)));
    p.drawRect(picture.rect().adjusted(0, 0, -1, -1));
    p.drawLine(0, 0, size - 1, size - 1);
    p.drawLine(size - 1, 0, 0, size - 1);
    return picture;
}

QString PictureFile(const QString& name) {
    return QDir(PictureFolder()).filePath(name + QStringLiteral(".svg"));
}

// imlTrayIcons by position: the six account colour rings, the program icon
// and its no-connection and checking-off states, single digits 0-9, units
// 0-9, tens 1-9, the over-99 mark, the base.
constexpr std::array<PictureEntry, 40> kTray{{
    {"", "TrayColour1"},      {"", "TrayColour2"}, {"", "TrayColour3"}, {"", "TrayColour4"},
    {"", "TrayColour5"},      {"", "TrayColour6"}, {"", "TrayNormal"},  {"", "TrayNoConnection"},
    {"", "TrayAutoCheckOff"}, {"", "TrayDigit0"},  {"", "TrayDigit1"},  {"", "TrayDigit2"},
    {"", "TrayDigit3"},       {"", "TrayDigit4"},  {"", "TrayDigit5"},  {"", "TrayDigit6"},
    {"", "TrayDigit7"},       {"", "TrayDigit8"},  {"", "TrayDigit9"},  {"", "TrayUnits0"},
    {"", "TrayUnits1"},       {"", "TrayUnits2"},  {"", "TrayUnits3"},  {"", "TrayUnits4"},
    {"", "TrayUnits5"},       {"", "TrayUnits6"},  {"", "TrayUnits7"},  {"", "TrayUnits8"},
    {"", "TrayUnits9"},       {"", "TrayTens1"},   {"", "TrayTens2"},   {"", "TrayTens3"},
    {"", "TrayTens4"},        {"", "TrayTens5"},   {"", "TrayTens6"},   {"", "TrayTens7"},
    {"", "TrayTens8"},        {"", "TrayTens9"},   {"", "TrayOver99"},  {"", "TrayBase"},
}};

constexpr PictureEntry kPopMenu[] = {
    {"Show", "Show"},
    {"CheckAll", "CheckAll"},
    {"Gears", "Gears"},
    {"About", "About"},
    {"Help", "Help"},
    {"NewMessage", "NewMessage"},
    {"MenuColours", "MenuColours"},
    {"Updates", "Updates"},
    {"Quit", "Quit"},
    {"Preview", "Preview"},
    {"Delete", "Delete"},
    {"Reply", "Reply"},
    {"Open", "Open"},
    {"AutoCheckOn", "AutoCheckOn"},
    {"AutoCheckOff", "AutoCheckOff"},
    {"SoundOn", "SoundOn"},
    {"SoundOff", "SoundOff"},
    {"Folder", "Folder"},
    {"FolderX", "FolderX"},
    {"MailClient0", "MailClient0"},
};
constexpr PictureEntry kClientButtons[] = {{"Browse", "Browse"}, {"Test", "Test"}, {"Folder", "Folder"}};
constexpr PictureEntry kTabIcons[] = {
    {"MailNo", "MailNo"},
    {"MailYes", "MailYes"},
    {"MailError", "MailError"},
    {"MailNoDisabled", "MailNoDisabled"},
    {"MailYesDisabled", "MailYesDisabled"},
    {"MailErrorDisabled", "MailErrorDisabled"},
    {"MailSpin1", "MailSpin1"},
    {"MailSpin2", "MailSpin2"},
    {"MailSpin3", "MailSpin3"},
    {"MailSpin4", "MailSpin4"},
    {"MailSpin5", "MailSpin5"},
    {"MailSpin6", "MailSpin6"},
    {"MailSpin7", "MailSpin7"},
    {"MailSpin8", "MailSpin8"},
};
constexpr PictureEntry kListViewIcons[] = {
    {"Normal", "ListNormal"}, {"New", "ListNew"},
    {"Attach", "ListAttach"}, {"AttachNew", "ListAttachNew"},
    {"Spam", "ListSpam"},     {"SpamNew", "ListSpamNew"},
    {"Delete", "ListDelete"}, {"DeleteAttach", "ListDeleteAttach"},
};
constexpr PictureEntry kColumnHeader[] = {
    {"Ascending", "HeaderAscending"}, {"Descending", "HeaderDescending"}, {"Blank", "Blank"}};
// 1: the pointer is over the tab row; 2: anywhere else over the strip.
constexpr PictureEntry kDragIcons[] = {{"", "DragOverTabs"}, {"", "DragElsewhere"}};
constexpr PictureEntry kOptions[] = {
    {"StartUp", "StartUp"},          {"Auto Check", "AutoCheck"},        {"Defaults", "Defaults"},
    {"Menu Colours", "MenuColours"}, {"Miscellaneous", "Miscellaneous"}, {"About", "About"},
};
constexpr PictureEntry kMainIcons[] = {
    {"Email", "Email"},     {"Accounts", "Accounts"}, {"Rules", "Rules"},
    {"Options", "Options"}, {"Quit", "Quit"},         {"Size", "Size"},
};
constexpr PictureEntry kButtons[] = {
    {"Help", "Help"}, {"Stop", "Stop"},     {"CheckAll", "CheckAll"}, {"Close", "Close"},
    {"Save", "Save"}, {"Cancel", "Cancel"}, {"Pause", "Pause"},
};
// Image 1 shows ascending order, image 2 descending.
constexpr PictureEntry kSortOrder[] = {{"", "SortAscending"}, {"", "SortDescending"}};
constexpr PictureEntry kEmailToolBar[] = {
    {"EmailPreview", "EmailPreview"}, {"EmailDelete", "EmailDelete"}, {"EmailSpam", "EmailSpam"},
    {"EmailReply", "EmailReply"},     {"EmailOpen", "EmailOpen"},     {"EmailNew", "EmailNew"},
    {"EmailCheck", "EmailCheck"},
};
constexpr PictureEntry kAcntsToolBar[] = {
    {"AcntAdd", "AcntAdd"}, {"AcntDelete", "AcntDelete"}, {"AcntTest", "AcntTest"}};
constexpr PictureEntry kRulesToolBar[] = {
    {"RulesAdd", "RulesAdd"},
    {"RulesDelete", "RulesDelete"},
    {"RulesImport", "RulesImport"},
    {"RulesRename", "RulesRename"},
};
constexpr PictureEntry kColourToolBar[] = {{"Browse", "BrowseColour"}};
constexpr PictureEntry kMoveButtons[] = {
    {"Backward", "Backward"}, {"Forward", "Forward"}, {"Up", "Up"}, {"Down", "Down"}};
constexpr PictureEntry kRuleUpdate[] = {
    {"Update", "Update"}, {"Clear", "Clear"}, {"Undo", "Undo"}, {"Redo", "Redo"}};
constexpr PictureEntry kSoundToolBar[] = {{"Browse", "Browse"}, {"Test", "Test"}};
constexpr PictureEntry kOptMisc[] = {
    {"RestoreColWidth", "RestoreColWidth"}, {"SelectAll", "SelectAll"}, {"SelectNone", "SelectNone"}};
// "Update" here looks for updates of the program, not a rule description.
constexpr PictureEntry kOptAbout[] = {{"ReadMe", "ReadMe"}, {"Update", "Updates"}};
constexpr PictureEntry kPreview[] = {
    {"Save", "Save"},     {"Print", "Print"},       {"Reply", "Reply"},
    {"Delete", "Delete"}, {"Open", "Open"},         {"Envelope", "Envelope"},
    {"Exit", "Exit"},     {"Previous", "Backward"}, {"Next", "Forward"},
};
constexpr PictureEntry kOkButton[] = {{"OK", "OK"}};
// The report's two tabs show images 1 and 2.
constexpr PictureEntry kRuleReport[] = {{"Delete", "RuleDelete"},
                                        {"Spam", "RuleSpam"},
                                        {"Timer", "Timer"},
                                        {"DeleteNow", "DeleteNow"},
                                        {"Exit", "Exit"}};
constexpr PictureEntry kRuleFileButtons[] = {{"Save", "Save"}, {"Cancel", "Cancel"}};

}  // namespace

QString PictureFolder() {
    return QDir(QString::fromStdString(platform::store::InstallDataFolder().string()))
        .filePath(QStringLiteral("icons"));
}

QPixmap Picture(const QString& name, int size) {
    QSvgRenderer renderer(PictureFile(name));
    if (!renderer.isValid()) return FallbackPicture(size);
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(0, 0, size, size));
    p.end();
    return QPixmap::fromImage(image);
}

bool PictureExists(const QString& name) { return QFile::exists(PictureFile(name)); }

bool IsFallbackPicture(const QPixmap& picture) {
    const QImage image = picture.toImage();
    return !image.isNull() && image.pixel(image.width() / 2, 0) == kFallbackColour &&
           image.pixel(image.width() / 2, image.height() / 2) == kFallbackColour;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48}) icon.addPixmap(Picture(QStringLiteral("TrayNormal"), size));
    return icon;
}

void UseProgramIcon() { QApplication::setWindowIcon(ProgramIcon()); }

QPixmap DisabledPicture(const QPixmap& picture) {
    QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(row[x]);
            const int light = grey + (255 - grey) * 45 / 100;
            row[x] = qRgba(light, light, light, qAlpha(row[x]));
        }
    }
    return QPixmap::fromImage(image);
}

std::span<const PictureEntry> PicturesOf(PictureSet set) {
    switch (set) {
        case PictureSet::TrayIcons:
            return kTray;
        case PictureSet::PopMenu:
            return kPopMenu;
        case PictureSet::ClientButtons:
            return kClientButtons;
        case PictureSet::TabIcons:
            return kTabIcons;
        case PictureSet::ListViewIcons:
            return kListViewIcons;
        case PictureSet::ListViewColumnHeader:
            return kColumnHeader;
        case PictureSet::DragIcons:
            return kDragIcons;
        case PictureSet::Options:
            return kOptions;
        case PictureSet::MainIcons:
            return kMainIcons;
        case PictureSet::Buttons:
            return kButtons;
        case PictureSet::SortOrder:
            return kSortOrder;
        case PictureSet::EmailToolBar:
            return kEmailToolBar;
        case PictureSet::AcntsToolBar:
            return kAcntsToolBar;
        case PictureSet::RulesToolBar:
            return kRulesToolBar;
        case PictureSet::ColourToolBar:
            return kColourToolBar;
        case PictureSet::MoveButtons:
            return kMoveButtons;
        case PictureSet::RuleUpdateToolBar:
            return kRuleUpdate;
        case PictureSet::SoundToolBar:
            return kSoundToolBar;
        case PictureSet::OptMiscToolBar:
            return kOptMisc;
        case PictureSet::OptAboutToolBar:
            return kOptAbout;
        case PictureSet::Preview:
            return kPreview;
        case PictureSet::OkButton:
            return kOkButton;
        case PictureSet::RuleReport:
            return kRuleReport;
        case PictureSet::RuleFileButtons:
            return kRuleFileButtons;
    }
    return {};
}

void FillImageList(vb::ImageList& list, PictureSet set, int size, bool disabled) {
    for (const PictureEntry& entry : PicturesOf(set)) {
        const QPixmap picture = Picture(QString::fromLatin1(entry.file), size);
        list.Add(disabled ? DisabledPicture(picture) : picture, QString::fromLatin1(entry.key));
    }
}

QPixmap ComposeCountPicture(vb::ImageList& trayIcons, int count, int colourIndex) {
    constexpr int kDigits = 10, kUnits = 20, kTens = 29, kOver99 = 39, kBase = 40, kTemporary = 41;
    int under = kBase;
    int over = kOver99;
    if (count <= 9) {
        over = kDigits + std::max(count, 0);
    } else if (count <= 99) {
        under = kUnits + count % 10;
        over = kTens + count / 10;
    }
    trayIcons.Add(trayIcons.Overlay(under, over), QString(), kTemporary);
    // The temporary image goes again whatever the colour step does.
    struct RemoveTemporary {
        vb::ImageList& list;
        ~RemoveTemporary() { list.Remove(kTemporary); }
    } cleanup{trayIcons};
    if (colourIndex < 1 || colourIndex > kTrayAccountColours) return trayIcons.Picture(kTemporary);
    return trayIcons.Overlay(kTemporary, colourIndex);
}

}  // namespace forms

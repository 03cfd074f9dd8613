// The program's pictures: every image list finds its pictures in the data
// folder, a missing picture shows, and the tray count picture is built from
// the right pieces.
#include <gtest/gtest.h>

#include <QImage>
#include <QSet>

#include "app/forms/common/pictures.h"

namespace {

using forms::PictureSet;

constexpr PictureSet kAllSets[] = {
    PictureSet::TrayIcons,      PictureSet::PopMenu,           PictureSet::ClientButtons,
    PictureSet::TabIcons,       PictureSet::ListViewIcons,     PictureSet::ListViewColumnHeader,
    PictureSet::DragIcons,      PictureSet::Options,           PictureSet::MainIcons,
    PictureSet::Buttons,        PictureSet::SortOrder,         PictureSet::EmailToolBar,
    PictureSet::AcntsToolBar,   PictureSet::RulesToolBar,      PictureSet::ColourToolBar,
    PictureSet::MoveButtons,    PictureSet::RuleUpdateToolBar, PictureSet::SoundToolBar,
    PictureSet::OptMiscToolBar, PictureSet::OptAboutToolBar,   PictureSet::Preview,
    PictureSet::OkButton,       PictureSet::RuleReport,        PictureSet::RuleFileButtons,
};

int OpaquePixels(const QPixmap& picture) {
    const QImage image = picture.toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 0;
    return n;
}

TEST(Pictures, EverySetFindsADrawnPictureForEachImage) {
    for (const PictureSet set : kAllSets) {
        QSet<QString> keys;
        for (const forms::PictureEntry& entry : forms::PicturesOf(set)) {
            const QString file = QString::fromLatin1(entry.file);
            SCOPED_TRACE(file.toStdString());
            ASSERT_TRUE(forms::PictureExists(file));
            const QPixmap picture = forms::Picture(file, 16);
            EXPECT_FALSE(forms::IsFallbackPicture(picture)) << "the file does not render";
            if (file != QStringLiteral("Blank")) {
                EXPECT_GT(OpaquePixels(picture), 8) << "nothing drawn";
            }
            const QString key = QString::fromLatin1(entry.key).toLower();
            EXPECT_TRUE(key.isEmpty() || !keys.contains(key)) << "a key twice in one list";
            keys.insert(key);
        }
    }
}

TEST(Pictures, ImageListsHoldTheirKeysAtTheRequestedSize) {
    struct Case {
        PictureSet set;
        int count;
        const char* key;
        int position;
    } const cases[] = {
        {PictureSet::TrayIcons, 40, "", 0},
        {PictureSet::TabIcons, 14, "MailSpin8", 14},
        {PictureSet::ListViewIcons, 8, "DeleteAttach", 8},
        {PictureSet::PopMenu, 20, "MailClient0", 20},
        {PictureSet::Options, 6, "Menu Colours", 4},
        {PictureSet::RuleReport, 5, "Spam", 2},
    };
    for (const Case& c : cases) {
        vb::ImageList list;
        forms::FillImageList(list, c.set, 24);
        EXPECT_EQ(list.Count(), c.count);
        EXPECT_EQ(list.Picture(1).size(), QSize(24, 24));
        if (*c.key) {
            EXPECT_EQ(list.IndexOf(QString::fromLatin1(c.key)), c.position) << c.key;
        }
    }
}

TEST(Pictures, AMissingPictureShowsTheFallbackAtItsSize) {
    const QPixmap picture = forms::Picture(QStringLiteral("NoSuchPicture"), 20);
    EXPECT_FALSE(forms::PictureExists(QStringLiteral("NoSuchPicture")));
    EXPECT_EQ(picture.size(), QSize(20, 20));
    EXPECT_TRUE(forms::IsFallbackPicture(picture));
    EXPECT_FALSE(forms::IsFallbackPicture(forms::Picture(QStringLiteral("Help"), 20)));
}

TEST(Pictures, DisabledPicturesAreGreyAndKeepTheirShape) {
    const QPixmap normal = forms::Picture(QStringLiteral("Quit"), 16);
    const QImage grey = forms::DisabledPicture(normal).toImage();
    const QImage source = normal.toImage();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb p = grey.pixel(x, y);
            ASSERT_EQ(qAlpha(p), qAlpha(source.pixel(x, y)));
            if (qAlpha(p) == 255) {
                ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
            }
        }
    }
}

// A tray list whose image i marks only pixel i, so a composite tells which
// images it was built from.
vb::ImageList MarkedTrayList() {
    vb::ImageList list;
    for (int i = 1; i <= 40; ++i) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        image.setPixel(i % 16, i / 16, qRgba(0, 0, 0, 255));
        list.Add(QPixmap::fromImage(image));
    }
    return list;
}

QList<int> MarksOf(const QPixmap& picture) {
    const QImage image = picture.toImage();
    QList<int> marks;
    for (int i = 0; i < 256; ++i)
        if (qAlpha(image.pixel(i % 16, i / 16)) > 0) marks.push_back(i);
    return marks;
}

TEST(Pictures, CountPictureIsBuiltFromTheDigitsBaseAndColour) {
    struct Case {
        const char* name;
        int count;
        int colour;
        QList<int> images;
    } const cases[] = {
        {"zero", 0, 5, {5, 10, 40}},
        {"single digit", 7, 1, {1, 17, 40}},
        {"ten", 10, 6, {6, 20, 30}},
        {"two digits", 42, 2, {2, 22, 33}},
        {"ninety-nine", 99, 3, {3, 29, 38}},
        {"over ninety-nine", 100, 4, {4, 39, 40}},
        {"far over", 32767, 4, {4, 39, 40}},
        {"negative shows zero", -3, 5, {5, 10, 40}},
        {"colour outside the palette: no ring", 5, 0, {15, 40}},
        {"colour past the palette: no ring", 5, 7, {15, 40}},
    };
    for (const Case& c : cases) {
        vb::ImageList list = MarkedTrayList();
        EXPECT_EQ(MarksOf(forms::ComposeCountPicture(list, c.count, c.colour)), c.images) << c.name;
        EXPECT_EQ(list.Count(), 40) << c.name << ": the temporary image stays";
    }
}

}  // namespace

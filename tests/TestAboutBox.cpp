#include "TFormFixture.h"

#include "about/AboutButtonFace.h"
#include "about/InternetLinks.h"
#include "about/TFormAboutOstrel.h"
#include "controls/TOEButton.h"
#include "registry/OERegistry.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QTest>
#include <QTimer>

namespace {

class TAboutTest : public TFormFixture {
protected:
    void SetUp() override
    {
        TFormFixture::SetUp();
        InternetLinks::SetLinkOpener([this](const QByteArray &link) {
            if (failOpening)
                throw std::runtime_error("No handler for this link");
            opened << link;
        });
    }
    void TearDown() override
    {
        InternetLinks::SetLinkOpener(nullptr);
        TFormFixture::TearDown();
    }

    void StoreCredits(const char *name, const QString &value)
    {
        WriteRegistry(HKEY_CURRENT_USER, TFormAboutOstrel::CreditsKey, name, TRegistryValue::Text(value));
    }
    std::unique_ptr<TFormAboutOstrel> Box(const QString &notice = QString())
    {
        return CreateFormAboutOstrel(nullptr, dialogs, folder.path(), "Ostrel Media Player", "Limited Edition",
                                                  "Release 2.2.5", "Copyright (C) 2026 Ostrel Software", notice);
    }
    void Click(TOEButton *button) { button->OnClick(button); }

    QList<QByteArray> opened;
    bool failOpening = false;
};

TEST_F(TAboutTest, OverriddenSettersAreWhatSetTheTexts)
{
    struct TBox : TFormAboutOstrel {
        using TFormAboutOstrel::TFormAboutOstrel;
        void SetVersion(const QString &text) override { TFormAboutOstrel::SetVersion(text + " (own build)"); }
    };
    const auto box = CreateFormAboutOstrel<TBox>(nullptr, dialogs, folder.path(), "Ostrel Media Player", "Limited Edition",
                                                 "Release 2.2.5", "Copyright (C) 2026 Ostrel Software", "");
    EXPECT_EQ(box->Version(), "Release 2.2.5 (own build)");
    EXPECT_EQ(box->ProgramName(), "Ostrel Media Player");
}

TEST_F(TAboutTest, TextsAreCentredOverTheWholeClientArea)
{
    auto box = Box();
    EXPECT_EQ(box->windowTitle(), "About Ostrel");
    EXPECT_EQ(box->size(), QSize(510, 303));
    EXPECT_EQ(box->ProgramName(), "Ostrel Media Player");
    EXPECT_EQ(box->Edition(), "Limited Edition");
    EXPECT_EQ(box->Version(), "Release 2.2.5");
    EXPECT_EQ(box->Copyright(), "Copyright (C) 2026 Ostrel Software");
    EXPECT_EQ(box->NoticeText(), "");
    const QList<QPair<QLabel *, int>> tops = {{box->lblProgram, 13}, {box->lblEdition, 56}, {box->lblVersion, 88},
                                              {box->lblCopyright, 131}, {box->lblFhGText, 168}};
    for (const auto &[label, top] : tops) {
        EXPECT_EQ(label->x(), 2) << label->objectName().toStdString();
        EXPECT_EQ(label->width(), 506) << label->objectName().toStdString();
        EXPECT_EQ(label->y(), top) << label->objectName().toStdString();
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 255, 0));
    }
    EXPECT_EQ(box->lblProgram->font().pixelSize(), 37);
    EXPECT_TRUE(box->lblProgram->font().bold());
    EXPECT_TRUE(box->lblCopyright->font().italic());
    EXPECT_EQ(box->lblFhGText->height(), 38);
    EXPECT_EQ(box->Image->geometry(), QRect(0, 0, 510, 303));
    EXPECT_EQ(box->pbCredits->geometry(), QRect(64, 208, 401, 33));
    EXPECT_EQ(box->OEButton4->Picture().size(), QSize(108, 25));
}

TEST_F(TAboutTest, ALongNoticeKeepsItsHeight)
{
    auto box = Box(QString(400, QLatin1Char('w')).replace(QRegularExpression("(w{20})"), "\\1 "));
    EXPECT_EQ(box->lblFhGText->height(), 38);
    EXPECT_EQ(box->lblFhGText->width(), 506);
    box->SetProgramName("Other");
    EXPECT_EQ(box->lblProgram->x(), 2);
    EXPECT_EQ(box->ProgramName(), "Other");
}

TEST_F(TAboutTest, WithoutCreditsValuesTheLogoFileAndTheHomePageServe)
{
    auto bare = Box();
    EXPECT_TRUE(bare->pbCredits->isEnabled());
    EXPECT_TRUE(bare->pbCredits->Picture().isNull());
    Click(bare->pbCredits);
    EXPECT_EQ(opened, QList<QByteArray>({"https://www.ostrel.example/"}));

    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(folder.path() + "/ostrel.bmp"));
    QDir::setCurrent(QDir::rootPath()); // the picture is found in the folder given, not beside the process
    auto withLogo = Box();
    EXPECT_EQ(withLogo->pbCredits->Picture().size(), QSize(40, 20));
    EXPECT_TRUE(withLogo->pbCredits->Center());
}

TEST_F(TAboutTest, AnEmptyLogoDisablesTheCreditsButton)
{
    StoreCredits("logo", "");
    auto box = Box();
    EXPECT_FALSE(box->pbCredits->isEnabled());
}

TEST_F(TAboutTest, ALogoThatIsNoPictureLeavesTheButtonEnabledAndBlank)
{
    StoreCredits("logo", folder.path() + "/missing.png");
    StoreCredits("homepage", "https://credits.ostrel.example/page");
    auto box = Box();
    EXPECT_TRUE(box->pbCredits->isEnabled());
    EXPECT_TRUE(box->pbCredits->Picture().isNull());
    Click(box->pbCredits);
    EXPECT_EQ(opened, QList<QByteArray>({"https://credits.ostrel.example/page"}));
}

TEST_F(TAboutTest, CreditsLinksAreReadAfreshAndCutAt355Bytes)
{
    auto box = Box();
    StoreCredits("homepage", "");
    Click(box->pbCredits);
    StoreCredits("homepage", "https://x.example/" + QString(400, QLatin1Char('a')));
    Click(box->pbCredits);
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QByteArray());
    EXPECT_EQ(opened[1].size(), 355);
    EXPECT_TRUE(opened[1].startsWith("https://x.example/aaa"));
}

TEST_F(TAboutTest, TheOtherButtons)
{
    auto box = Box();
    box->show();
    Click(box->pbHomepage);
    Click(box->pbEmail);
    EXPECT_EQ(opened, QList<QByteArray>({"https://www.ostrel.example/", "mailto:support@ostrel.example"}));
    failOpening = true;
    Click(box->pbEmail);
    EXPECT_EQ(dialogs.Errors, QStringList({"No handler for this link"}));
    EXPECT_TRUE(box->isVisible());
    Click(box->OEButton4);
    EXPECT_FALSE(box->isVisible());
}

TEST_F(TAboutTest, HelpAboutShowsTheBoxModallyAndDestroysItAfterwards)
{
    auto form = CreateFormMediaPlayer();
    QString shownTitle, shownProgram;
    QPointer<QWidget> shown;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<TFormAboutOstrel *>(shown.data())) {
            shownTitle = box->windowTitle();
            shownProgram = box->ProgramName();
            box->OEButton4Click(box);
        }
    });
    form->miAbout->trigger();
    EXPECT_EQ(shownTitle, "About Ostrel");
    EXPECT_EQ(shownProgram, "Ostrel Media Player");
    EXPECT_TRUE(shown.isNull());
}

TEST_F(TAboutTest, F1OpensTheHelpFileWhenThereIsOne)
{
    auto form = CreateFormMediaPlayer();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::keyClick(form.get(), Qt::Key_F1);
    EXPECT_TRUE(opened.isEmpty());
    QFile help(folder.path() + "/OEMMPLAY.HLP");
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    QTest::keyClick(form.get(), Qt::Key_F1);
    form->FSaveDialog.RequestHelp();
    EXPECT_EQ(opened.size(), 2);
    EXPECT_TRUE(opened.value(0).endsWith("/OEMMPLAY.HLP"));
    EXPECT_TRUE(opened.value(0).startsWith("file://"));
}

TEST(AboutButtonFace, IsDrawnAtThePixelRatioWithTrueTransparencyAndNoLightSpecks)
{
    for (qreal ratio : {1.0, 2.0}) {
        const QImage face = AboutButtonFace("Homepage", TAboutButtonMark::None, ratio);
        EXPECT_EQ(face.size(), QSize(int(108 * ratio), int(25 * ratio))) << ratio;
        EXPECT_EQ(face.devicePixelRatio(), ratio);
        const QImage plain = face.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(plain.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(plain.pixel(0, plain.height() - 1)), 0);
        EXPECT_EQ(plain.pixel(plain.width() / 2, int(4 * ratio)), qRgb(0xb4, 0xb4, 0xb4)) << "the plate";
        int partlyCovered = 0;
        int inked = 0;
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                const QRgb pixel = plain.pixel(x, y);
                if (qAlpha(pixel) == 0)
                    continue;
                // Nothing lighter than the plate: a blend with a white surround shows as specks.
                EXPECT_LE(qGray(pixel), 0xb4) << ratio << " at " << x << "," << y;
                partlyCovered += qAlpha(pixel) < 255;
                inked += qGray(pixel) < 0x30;
            }
        }
        EXPECT_GT(partlyCovered, 0) << "smooth edges";
        EXPECT_GT(inked, int(60 * ratio * ratio)) << "the caption";
    }
}

} // namespace

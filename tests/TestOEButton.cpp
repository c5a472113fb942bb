#include "controls/TOEButton.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        parent.resize(200, 100);
        parent.setContentsMargins(2, 2, 2, 2);
        band = new TOEButton(&parent);
        band->SetAlign(alClient);
        band->SetStretch(true);
        button = new TOEButton(&parent);
        button->SetBounds(10, 8, 42, 43);
        button->OnClick = [this](QObject *sender) {
            ++clicks;
            positionDuringClick = button->pos();
            EXPECT_EQ(sender, button);
        };
        parent.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    }

    QWidget parent;
    TOEButton *band;
    TOEButton *button;
    int clicks = 0;
    QPoint positionDuringClick;
};

TEST_F(TButtonTest, LeftPressSinksTheButtonAndReleaseLiftsIt)
{
    EXPECT_EQ(button->size(), QSize(42, 43));
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(button->pos(), QPoint(11, 9));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_EQ(button->pos(), QPoint(10, 8));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(positionDuringClick, QPoint(11, 9)); // the click runs while the button is down
}

TEST_F(TButtonTest, ReleaseOutsideRaisesNoClickButLiftsTheButton)
{
    QTest::mousePress(button, Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(120, 60));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->pos(), QPoint(10, 8));
}

TEST_F(TButtonTest, RightPressMovesTheButtonWithoutAClick)
{
    QTest::mousePress(button, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(button->pos(), QPoint(11, 9));
    QTest::mouseRelease(button, Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_EQ(button->pos(), QPoint(10, 8));
    EXPECT_EQ(clicks, 0);
}

TEST_F(TButtonTest, DoubleClickGivesOneClick)
{
    // What the platform delivers for a double click: press, release, double click, release.
    const QPoint at(20, 20);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const bool down = type != QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                          down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(button, &event);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->pos(), QPoint(10, 8));
}

TEST_F(TButtonTest, HiddenButtonTakesNoClick)
{
    button->hide();
    QTest::mouseClick(&parent, Qt::LeftButton, {}, QPoint(30, 30));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->pos(), QPoint(10, 8));
}

TEST_F(TButtonTest, AlignedBandStaysInPlaceWhenPressed)
{
    EXPECT_EQ(band->geometry(), QRect(2, 2, 196, 96));
    QTest::mousePress(band, Qt::LeftButton, {}, QPoint(150, 70));
    EXPECT_EQ(band->geometry(), QRect(2, 2, 196, 96));
    QTest::mouseRelease(band, Qt::LeftButton, {}, QPoint(150, 70));
    EXPECT_EQ(band->geometry(), QRect(2, 2, 196, 96));
    parent.resize(300, 120);
    EXPECT_EQ(band->geometry(), QRect(2, 2, 296, 116));
}

TEST_F(TButtonTest, OverriddenPressPictureIsWhatGetsWired)
{
    struct TStillButton : TOEButton {
        using TOEButton::TOEButton;
        int presses = 0;
        void PressPicture(TOEButton *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) override { ++presses; }
        void ReleasePicture(TOEButton *, Qt::MouseButton, Qt::KeyboardModifiers, int, int) override {}
    };
    auto *still = new TStillButton(&parent);
    still->SetBounds(100, 8, 42, 43);
    still->show();
    QTest::mouseClick(still, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(still->presses, 1);
    EXPECT_EQ(still->pos(), QPoint(100, 8));
}

TEST(ButtonPainting, TransparentColourIsTheBottomLeftPixel)
{
    QWidget parent;
    parent.resize(50, 50);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::red);
    parent.setPalette(palette);
    parent.setAutoFillBackground(true);
    auto *button = new TOEButton(&parent);
    button->SetBounds(0, 0, 42, 43);
    QImage face(41, 41, QImage::Format_RGB32);
    face.fill(Qt::white);
    face.setPixel(20, 20, qRgb(100, 100, 100));
    button->SetPicture(face);
    button->SetTransparent(true);
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(20, 20)), QColor(100, 100, 100));
    EXPECT_EQ(QColor(shot.pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(shot.pixel(41, 42)), QColor(Qt::red)); // outside the 41 x 41 picture
    button->SetTransparent(false);
    EXPECT_EQ(QColor(parent.grab().toImage().pixel(5, 5)), QColor(Qt::white));
}

TEST(ButtonPainting, CentredPictureOffsetsRoundTowardZero)
{
    QWidget parent;
    parent.resize(20, 20);
    parent.setAutoFillBackground(true);
    QPalette palette = parent.palette();
    palette.setColor(QPalette::Window, Qt::black);
    parent.setPalette(palette);
    auto *button = new TOEButton(&parent);
    button->SetBounds(0, 0, 11, 11);
    QImage dot(2, 2, QImage::Format_RGB32);
    dot.fill(Qt::green);
    button->SetPicture(dot);
    button->SetCenter(true);
    const QImage shot = parent.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(4, 4)), QColor(Qt::green)); // (11 - 2) / 2 = 4
    EXPECT_EQ(QColor(shot.pixel(3, 3)), QColor(Qt::black));
    EXPECT_EQ(QColor(shot.pixel(6, 6)), QColor(Qt::black));
}

} // namespace

#include "window/TNowPlayingBar.h"

#include "controls/TJumpSlider.h"
#include "desktop/TPlayerControl.h"
#include "window/NowPlayingText.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <cmath>
#include <limits>

TNowPlayingBar::TNowPlayingBar(TPlayerControl &player, QWidget *parent)
    : QWidget(parent), player_(player), titleLabel_(new QLabel(this)), time_(new QLabel(this)),
      position_(new TJumpSlider(this)), volume_(new TJumpSlider(this))
{
    setObjectName(QStringLiteral("NowPlaying"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 0); // the volume's handle clear of the window's edge
    layout->setSpacing(6);
    titleLabel_->setObjectName(QStringLiteral("NowPlayingTitle"));
    titleLabel_->setMinimumWidth(40);
    titleLabel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    titleLabel_->installEventFilter(this);
    time_->setObjectName(QStringLiteral("NowPlayingTime"));
    position_->setObjectName(QStringLiteral("PositionSlider"));
    position_->setAccessibleName(QStringLiteral("Position"));
    position_->setSingleStep(PositionStepMs);
    position_->setPageStep(PositionStepMs);
    volume_->setObjectName(QStringLiteral("VolumeSlider"));
    volume_->setAccessibleName(QStringLiteral("Volume"));
    volume_->setSingleStep(5);
    volume_->setPageStep(10);
    volume_->setTracking(true); // heard while it moves
    volume_->setFixedWidth(60);
    // What plays takes every width the time and the sliders leave.
    position_->setMinimumWidth(60);
    position_->SetPreferredWidth(160);
    layout->addWidget(titleLabel_, 1);
    layout->addWidget(time_);
    layout->addWidget(position_);
    layout->addWidget(volume_);

    connect(position_, &TJumpSlider::Chosen, this, [this](int milliseconds) { player_.SeekTo(milliseconds); });
    connect(volume_, &TJumpSlider::Chosen, this, [this](int percent) { player_.SetVolume(percent / 100.0); });
}

void TNowPlayingBar::Refresh()
{
    const bool open = player_.MediumOpen();
    const TPlayerControl::TTrackTags tags = player_.Tags();
    const QByteArray entry = player_.CurrentEntry().value_or(QByteArray());
    const QString title = NowPlayingText::Title(tags.Title, tags.Artist, entry);
    if (title != title_) {
        title_ = title;
        tags_ = tags;
        entry_ = entry;
        ShowTitle();
    }
    const qint64 length = open ? player_.LengthMs() : 0;
    const qint64 position = open ? player_.PositionMs() : 0;
    time_->setText(open ? NowPlayingText::Progress(position, length) : QString());
    const bool seekable = open && length > 0;
    const int end = seekable ? int(std::min<qint64>(length, std::numeric_limits<int>::max())) : 0;
    position_->setEnabled(seekable);
    position_->Show(int(std::min<qint64>(position, end)), 0, end);
    volume_->Show(int(std::lround(player_.Volume() * 100)), 0, 100);
}

void TNowPlayingBar::SetTextColours(const QColor &background, const QColor &text)
{
    for (QLabel *label : {titleLabel_, time_}) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, background);
        palette.setColor(QPalette::WindowText, text);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
    }
}

QString TNowPlayingBar::TimeText() const
{
    return time_->text();
}

bool TNowPlayingBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == titleLabel_ && event->type() == QEvent::Resize)
        ShowTitle();
    return QWidget::eventFilter(watched, event);
}

void TNowPlayingBar::ShowTitle()
{
    titleLabel_->setText(
        NowPlayingText::Fitted(tags_.Title, tags_.Artist, entry_, titleLabel_->fontMetrics(), titleLabel_->width()));
    titleLabel_->setToolTip(title_);
}

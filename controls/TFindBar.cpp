#include "controls/TFindBar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStyle>
#include <QToolButton>

TFindBar::TFindBar(QWidget *parent)
    : QWidget(parent), field_(new QLineEdit(this)), count_(new QLabel(this)), close_(new QToolButton(this))
{
    setObjectName(QStringLiteral("FindBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(4);
    auto *label = new QLabel(QStringLiteral("&Find:"), this);
    label->setBuddy(field_);
    field_->setObjectName(QStringLiteral("FindField"));
    field_->setAccessibleName(QStringLiteral("Find"));
    field_->installEventFilter(this);
    count_->setObjectName(QStringLiteral("FindCount"));
    close_->setObjectName(QStringLiteral("FindClose"));
    close_->setAccessibleName(QStringLiteral("Close"));
    close_->setToolTip(QStringLiteral("Close"));
    close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close_->setAutoRaise(true);
    close_->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(label);
    layout->addWidget(field_, 1);
    layout->addWidget(count_);
    layout->addWidget(close_);
    connect(field_, &QLineEdit::textChanged, this, &TFindBar::QueryChanged);
    connect(close_, &QToolButton::clicked, this, &TFindBar::CloseAsked);
    hide();
}

QString TFindBar::Query() const
{
    return field_->text();
}

void TFindBar::Open()
{
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void TFindBar::Close()
{
    hide();
    field_->clear();
}

void TFindBar::ShowCount(int shown, int total)
{
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    count_->setText(QStringLiteral("%1 of %2").arg(grouped.toString(shown), grouped.toString(total)));
}

QString TFindBar::CountText() const
{
    return count_->text();
}

bool TFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != field_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        emit MoveAsked(key);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit ChooseAsked();
        return true;
    case Qt::Key_Escape:
        emit CloseAsked();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}

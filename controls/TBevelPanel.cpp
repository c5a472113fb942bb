#include "controls/TBevelPanel.h"

#include <QPainter>
#include <qdrawutil.h>

TBevelPanel::TBevelPanel(QWidget *parent)
    : QWidget(parent)
{
    setContentsMargins(2, 2, 2, 2);
    setAutoFillBackground(true);
}

void TBevelPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 1);
    qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), true, 1);
}

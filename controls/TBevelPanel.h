#pragma once

#include <QWidget>

// A panel framed by a raised outer and a lowered inner bevel, one pixel each.
class TBevelPanel : public QWidget {
    Q_OBJECT

public:
    explicit TBevelPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

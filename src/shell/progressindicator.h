#pragma once

// The spinner of the refresh header: the toolkit's busy indicator at 32 by 32,
// centred at the top of its parent when it starts.

#include <qprogressindicator.h>

class ProgressIndicator : public QProgressIndicator
{
    Q_OBJECT
public:
    explicit ProgressIndicator(QWidget *parent = nullptr);

protected:
    QPoint startPosition() const override;
};

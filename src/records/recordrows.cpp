#include "recordrows.h"

RecordRows::RecordRows(int spacing, QWidget *parent)
    : QWidget(parent)
    , spacing(spacing)
{}

void RecordRows::clear()
{
    for (QWidget *row : qAsConst(m_rows)) {
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    rowHeight = 0;
}

void RecordRows::append(QWidget *row)
{
    row->setParent(this);
    rowHeight = qMax(rowHeight, row->height());
    m_rows.append(row);
}

void RecordRows::finish()
{
    // No spacing below the last row. Rows beyond the tallest a widget may be stay out of
    // sight rather than drawn over others.
    const qint64 height = qint64(rowHeight + spacing) * m_rows.size() - spacing;
    setFixedHeight(int(qBound<qint64>(0, height, QWIDGETSIZE_MAX)));
    placeRows();
}

void RecordRows::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (width() != placedWidth)
        placeRows();
}

void RecordRows::placeRows()
{
    placedWidth = width();
    const int pitch = rowHeight + spacing;
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows.at(i)->setGeometry(0, i * pitch, placedWidth, m_rows.at(i)->height());
}

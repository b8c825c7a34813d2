#include "recordrows.h"

#include <QEvent>

RecordRows::RecordRows(int spacing, QWidget *parent)
    : QWidget(parent)
    , spacing(spacing)
{}

void RecordRows::setViewport(QWidget *view)
{
    if (!view || !view->isAncestorOf(this))
        return;
    viewport = view;
    // A scroll moves a widget between this one and the viewport; a resize of the
    // viewport shows more or fewer rows.
    for (QWidget *w = parentWidget(); w; w = w->parentWidget()) {
        w->installEventFilter(this);
        if (w == view)
            break;
    }
    showRowsInView();
}

void RecordRows::clear()
{
    for (QWidget *row : qAsConst(m_rows)) {
        row->hide();
        row->deleteLater();
    }
    m_rows.clear();
    rowHeight = 0;
    shownFirst = shownEnd = 0;
}

void RecordRows::append(QWidget *row)
{
    // Hidden before it has a parent, a row costs nothing when the list is shown.
    row->hide();
    row->setParent(this);
    rowHeight = qMax(rowHeight, row->height());
    m_rows.append(row);
}

void RecordRows::finish()
{
    // No spacing below the last row. Rows beyond the tallest a widget may be stay out of
    // sight rather than drawn over others. A minimum height of exactly QWIDGETSIZE_MAX
    // counts as none, which would leave the whole list blank.
    const qint64 height = qint64(rowHeight + spacing) * m_rows.size() - spacing;
    setFixedHeight(int(qBound<qint64>(0, height, QWIDGETSIZE_MAX - 1)));
    placeRows();
    showRowsInView();
}

void RecordRows::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (width() != placedWidth)
        placeRows();
    showRowsInView();
}

void RecordRows::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    showRowsInView();
}

bool RecordRows::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
        showRowsInView();
    return QWidget::eventFilter(watched, event);
}

void RecordRows::placeRows()
{
    placedWidth = width();
    const int pitch = rowHeight + spacing;
    for (int i = 0; i < m_rows.size(); ++i)
        m_rows.at(i)->setGeometry(0, i * pitch, placedWidth, m_rows.at(i)->height());
}

void RecordRows::showRowsInView()
{
    int first = 0;
    int end = m_rows.size();
    const int pitch = rowHeight + spacing;
    if (viewport) {
        // The part of this widget the viewport shows; the rows are known by their place.
        const QRect seen = viewport->rect().translated(-mapTo(viewport, QPoint())).intersected(rect());
        if (seen.isEmpty() || pitch <= 0) {
            end = 0;
        } else {
            // Row i covers [i * pitch, i * pitch + rowHeight).
            first = qMin((qMax(0, seen.top() - rowHeight + 1) + pitch - 1) / pitch, m_rows.size());
            end = qMin(seen.bottom() / pitch + 1, m_rows.size());
        }
    }
    // Only the rows that leave or enter the band are touched.
    for (int i = shownFirst; i < shownEnd; ++i) {
        if (i < first || i >= end)
            m_rows.at(i)->hide();
    }
    for (int i = first; i < end; ++i) {
        if (i < shownFirst || i >= shownEnd)
            m_rows.at(i)->show();
    }
    shownFirst = first;
    shownEnd = end;
}

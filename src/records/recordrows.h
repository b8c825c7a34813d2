#pragma once

// The rows of a list page, one below the other and as wide as this widget: row i
// at i times the row height and the spacing. The rows are placed by their index
// rather than by a layout, which stops growing at 524,287 pixels and would then
// squeeze thousands of rows over each other. This widget is as tall as its rows
// need; the rows are placed when the list is complete and again only when the
// width changes.
//
// Only the rows that meet the viewport they are seen through are visible widgets;
// the others stay hidden until a scroll or a resize brings them into view. Every
// visible widget is weighed against all its visible siblings when the window is
// drawn, so tens of thousands of visible rows would take time quadratic in their
// number. The hidden rows keep their widgets and their state.

#include <QList>
#include <QPointer>
#include <QWidget>

class RecordRows : public QWidget
{
    Q_OBJECT
public:
    explicit RecordRows(int spacing, QWidget *parent = nullptr);

    const QList<QWidget *> &rows() const { return m_rows; }

    // The scroll area's viewport that shows this widget, an ancestor of it. Without
    // one every row is shown.
    void setViewport(QWidget *viewport);

    // Takes every row away (deleted later from the event loop).
    void clear();
    // Takes the row hidden; finish() shows it if it is in view.
    void append(QWidget *row);
    // Takes the height of the rows, places them and shows those in view.
    void finish();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeRows();
    void showRowsInView();

    QList<QWidget *> m_rows;
    QPointer<QWidget> viewport;
    int spacing = 0;
    int rowHeight = 0;
    int placedWidth = -1;
    // The rows [shownFirst, shownEnd) are shown, the others hidden.
    int shownFirst = 0;
    int shownEnd = 0;
};

#pragma once

// The rows of a list page, one below the other and as wide as this widget: row i
// at i times the row height and the spacing. The rows are placed by their index
// rather than by a layout, which stops growing at 524,287 pixels and would then
// squeeze thousands of rows over each other. This widget is as tall as its rows
// need; the rows are placed when the list is complete and again only when the
// width changes.

#include <QList>
#include <QWidget>

class RecordRows : public QWidget
{
    Q_OBJECT
public:
    explicit RecordRows(int spacing, QWidget *parent = nullptr);

    const QList<QWidget *> &rows() const { return m_rows; }

    // Takes every row away (deleted later from the event loop).
    void clear();
    void append(QWidget *row);
    // Takes the height of the rows and places them.
    void finish();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeRows();

    QList<QWidget *> m_rows;
    int spacing = 0;
    int rowHeight = 0;
    int placedWidth = -1;
};

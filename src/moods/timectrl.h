#pragma once

// A duration as minutes and seconds: two integer fields side by side with a
// colon between them. Each number is kept at 59 or below while it is typed, and a
// number left empty becomes "0" when its editing ends. The value lives only in the
// two texts.

#include <QWidget>

class QtMaterialLabel;
class QtMaterialLineEdit;

class TimeCtrl : public QWidget
{
    Q_OBJECT
public:
    TimeCtrl();

    // "%d:%d" of the two fields read as numbers (text that is not a number reads
    // as 0), without leading zeros: "1:30", "0:5".
    QString getText() const;
    // Reads "%d:%d" from text (a missing number stays 0: "" gives 0 and 0, "7"
    // gives 7 and 0) and writes each number into its field, where the typing
    // rule holds it at 59.
    void setText(QString text);

    QtMaterialLineEdit *minutesField() const { return m_minutes; }
    QtMaterialLineEdit *secondsField() const { return m_seconds; }

signals:
    void timeCtrlValueChanged();

private slots:
    void textChanged(const QString &text);
    void editingFinished();

private:
    QtMaterialLineEdit *m_minutes;
    QtMaterialLabel *m_colon;
    QtMaterialLineEdit *m_seconds;
};

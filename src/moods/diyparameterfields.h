#pragma once

// The type and parameter fields of the DIY command editor: the Type box and the
// rows Prm1 to Prm4, each a caption, a control (line edit, combo box, and in Prm2
// a slider, in Prm3 a minutes-and-seconds field) and a hint. For the selected
// type and the choices of the earlier columns, each column shows the bytes of the
// command under edit in its own kind of control, with entries from the command
// vocabulary, a hint and an upper bound on typed numbers. Reading the controls
// back gives the command's type and parameter bytes (encodeDiyCommand).
//
// The fields sit in a grid of three columns (caption, control, hint) with spacing
// 20: the Type box in row 3, Prm1 to Prm4 in rows 4 to 7. Rows 0 to 2 and from 8
// on are left to the editor page (command number, address, buttons) through
// grid(), so that every row lines up; row 9 takes the free height.

#include "moods/diycommandencoding.h"

#include <QWidget>

class QGridLayout;
class QLineEdit;
class QtMaterialComboBox;
class QtMaterialLabel;
class QtMaterialLineEdit;
class SliderCtrl;
class TimeCtrl;

class DiyParameterFields : public QWidget
{
    Q_OBJECT
public:
    explicit DiyParameterFields(QWidget *parent = nullptr);

    QGridLayout *grid() const { return m_grid; }

    // Shows a stored command: the Type box selects the entry of its type (by the
    // item of the lowest [index] with that value), then the four columns are set
    // up from left to right. A type that the box does not offer (117, 118, or one
    // without a row) shows no type; its type and parameter bytes are then kept
    // as they are until the user picks a type. Numbers show as stored, even above
    // the bounds that typing meets, so that showing a command never changes it.
    void showCommand(const DiyCommandBytes &command);
    // Fills the Type box with the command types (once when built). A box that
    // could not be filled whole (typesRead() false) offers types that are not
    // all there, and is to be filled again before a command is shown or made.
    void readTypes();
    bool typesRead() const { return m_typesRead; }
    // Begins a new command: all zero, the first type ("Invalid Switch"), empty
    // fields; Prm1 and Prm2 show their empty line edits.
    void clearCommand();

    // The command under edit, which the columns show.
    DiyCommandBytes commandUnderEdit() const { return m_command; }
    // The controls as they stand.
    DiyControls controls() const;
    // The shown command's type and parameter bytes as they are to be stored: the
    // encoding of the controls, or the kept bytes of a type the box does not offer.
    DiyCommandBytes commandBytes() const;
    // True while a shown type is not offered by the Type box and its bytes are kept.
    bool keepsStoredType() const { return m_keepType; }

    // Holds an address field (Subnet ID, Device ID) at 255 while it is typed.
    static void boundAddressField(QLineEdit *field);

    // Whether a combo box being filled by a column's set-up stays silent (the
    // later columns then follow explicitly) or reports its changes as the user's
    // do. The fields end the same either way; true by default.
    void setFillSignalsBlocked(bool blocked) { m_blockFills = blocked; }

    // The set-ups of the columns Prm1 to Prm4.
    void init5thColumn();
    void init6thColumn();
    void init7thColumn();
    void init8thColumn();

    // The [index] of the row whose item is the given text, 0 when none is.
    int getTypeIndex(const QString &item) const;
    int getPrm1Index(int policy, const QString &item) const;
    int getPrm2Index(int policy, const QString &item) const;
    int getPrm3Index(int policy, const QString &item) const;

    // The upper bound that typing meets in the Prm line edit of column (0 is Prm1)
    // for the current type and choices.
    int fieldBound(int column) const;

private slots:
    void textChanged(const QString &text);
    void comboBoxChange(int index);
    void valueChanged(int value);

private:
    int typeKey() const;
    void runColumns(int first);
    void resetColumn(int column);
    void setHint(int column, const QString &hint);
    void showCaption(int column);
    void showNumber(int column, int value, const QString &hint = QString());
    void showList(int column, const char *table, int policy, int value, const QString &hint = QString());
    void showFixed(int column, const char *first, const char *second, int value,
                   const QString &hint = QString());
    void fillCombo(int column, const QStringList &entries, int row);
    void showSlider();
    void showTime();
    void showDisabledText(const QString &text);
    void showAcFunction(int column, int function, int value);
    void panelControlColumn(int column);
    void audioPlayerColumn(int column);

    QGridLayout *m_grid;
    QtMaterialLabel *m_typeCaption;
    QtMaterialComboBox *m_type;
    QtMaterialLabel *m_caption[4];
    QtMaterialLineEdit *m_edit[4];
    QtMaterialComboBox *m_combo[4];
    QtMaterialLabel *m_hint[4];
    SliderCtrl *m_slider;
    TimeCtrl *m_time;

    DiyCommandBytes m_command;
    bool m_keepType = false;
    bool m_typesRead = false;
    bool m_blockFills = true;
    bool m_showingStored = false;
};

#pragma once

#include "qtmaterialautocomplete.h"
#include "qtmaterialtextfieldprivate.h"

#include <QPointer>
#include <QStringList>

class QVBoxLayout;
class QWidget;
class QtMaterialAutoCompleteStateMachine;

// Data of an auto-complete field: the menu of matches and its shadowed frame, both
// on the field's parent, the machine that opens and fades the menu, and the strings.
class QtMaterialAutoCompletePrivate : public QtMaterialTextFieldPrivate
{
    Q_DISABLE_COPY(QtMaterialAutoCompletePrivate)
    Q_DECLARE_PUBLIC(QtMaterialAutoComplete)

public:
    explicit QtMaterialAutoCompletePrivate(QtMaterialAutoComplete *q);
    ~QtMaterialAutoCompletePrivate() override;

    void init();

    // Guarded: they belong to the parent, which may go before the field.
    QPointer<QWidget> menu;
    QPointer<QWidget> frame;
    QtMaterialAutoCompleteStateMachine *menuStateMachine = nullptr;
    QVBoxLayout *menuLayout = nullptr;
    QStringList dataSource;
    int maxWidth = 0;
};

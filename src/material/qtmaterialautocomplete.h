#pragma once

#include "qtmaterialtextfield.h"

#include <QStringList>

class QtMaterialAutoCompletePrivate;

// A text field that offers completions from a list of strings. While the user
// edits, the matches show in a menu of flat buttons right below the field, which
// fades out when one of them is picked. Menu and frame lie on the field's parent.
class QtMaterialAutoComplete : public QtMaterialTextField
{
    Q_OBJECT

public:
    explicit QtMaterialAutoComplete(QWidget *parent = nullptr);
    ~QtMaterialAutoComplete() override;

    void setDataSource(const QStringList &data);

public slots:
    // Filters the data source by the trimmed text and shows the matches; runs on
    // the user's edits only, not on setText().
    void updateResults(const QString &text);

signals:
    void itemSelected(QString);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Q_DISABLE_COPY(QtMaterialAutoComplete)
    Q_DECLARE_PRIVATE(QtMaterialAutoComplete)
};

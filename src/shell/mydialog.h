#pragma once

// Base of every page, dialog and message box: the page id and title, a snackbar
// of its own for short texts, the dark background, and startRefresh().

#include <QDialog>
#include <QString>

class QtMaterialSnackbar;

class MyDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MyDialog(QWidget *parent = nullptr);
    MyDialog(const QString &id, const QString &name, QWidget *parent = nullptr);
    ~MyDialog() override;

    QString getId() const { return id; }
    QString getName() const { return name; }
    void setName(const QString &newName) { name = newName; }

    // Starts the page's device polling; pages without devices keep this empty one.
    virtual void startRefresh();

    QtMaterialSnackbar *snackbar() const { return m_snackbar; }

signals:
    void signalsInformation(QString info);

private slots:
    void slotsInformation(QString info);

protected:
    // Escape closes a dialog of its own, never a page or tab shown inside another window.
    void keyPressEvent(QKeyEvent *event) override;

    // Set while a subclass fills its own controls; its change handlers return at once.
    bool loading = false;

private:
    void init();

    QtMaterialSnackbar *m_snackbar = nullptr;
    QString id;
    QString name;
};

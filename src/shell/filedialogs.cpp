#include "filedialogs.h"

#include <QFileDialog>

namespace {

FileDialogAnswerer &answerer()
{
    static FileDialogAnswerer a;
    return a;
}

} // namespace

QString askOpenFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter)
{
    if (answerer())
        return answerer()(FileDialogKind::Open, caption, dir);
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString askSaveFileName(QWidget *parent, const QString &caption, const QString &dir,
                        const QString &filter)
{
    if (answerer())
        return answerer()(FileDialogKind::Save, caption, dir);
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

void answerFileDialogsWith(FileDialogAnswerer a)
{
    answerer() = std::move(a);
}
